#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/uDateTime.h"

class TTimeZone;

class TTimeZones;

enum class TTokenKind : std::uint8_t { Literal = 0, Element = 1, ZoneSwitch = 2, Error = 3 };

struct TDisplayFormatToken {
  TTokenKind kind = TTokenKind::Literal;
  // Literal: the text; element: its upper-case name with modifiers; switch: the zone's key name;
  // error: nothing (its text is looked up when evaluated, in the language of that moment).
  std::string text;
  friend bool operator==(const TDisplayFormatToken&, const TDisplayFormatToken&) = default;
};

// A parsed template of the display format language: literal text with
// elements such as "&ldate;" and zone switches such as <tz "Tokyo Standard Time">.
class TDisplayFormat {
 public:
  void Parse(const std::string& templateText);
  // The template's text at a UTC moment.
  std::string Evaluate(TDateTime utc);
  // Some element changes every second.
  bool NeedsSeconds() const;
  const std::vector<TDisplayFormatToken>& Tokens() const { return FTokens; }

  // The zone every evaluation starts in; none means local time.
  const TTimeZone* DefaultZone = nullptr;
  // The catalogue zone switches find their zones in; without one every switch is an error.
  const TTimeZones* Zones = nullptr;

 private:
  void SelectZone(const TTimeZone* zone);
  std::string ElementValue(const std::string& element) const;
  std::string TimeValue(const std::string& modifiers) const;

  std::vector<TDisplayFormatToken> FTokens;
  bool FTwelveHourLocale = false;
  TDateTime FGivenMoment = 0;
  TDateTime FZoneMoment = 0;
  int FDay = 0, FMonth = 0, FYear = 0, FHour = 0, FHour12 = 0, FMinute = 0, FSecond = 0;
  bool FPM = false;
  int FIsoDayOfWeek = 0;
  int FDayOfWeek = 0;
  int FDayOfYear = 0;
  int FDaysInYear = 0;
  int FDaysInMonth = 0;
  int FWeek = 0;
  TSystemTime FSystemTime;
  int FBeats = 0;
};

// The ISO 8601 week number of a date.
int IsoWeek(int year, unsigned month, unsigned day);
