#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "kinds/uDisplayDigital.h"
#include "support/uDateTime.h"

// When a unit of the counter is shown.
enum TUnitVisibility : std::uint8_t { uvAlways = 0, uvNever = 1, uvIfPositive = 2 };
// The units in their stored order.
enum TCountdownUnit : std::size_t { cuDays = 0, cuHours = 1, cuMinutes = 2, cuSeconds = 3 };
using TVisibility = std::array<std::uint8_t, 4>;

enum TCountdownMenuCommand : int {
  cmdCountdownToday = 1005,
  cmdCountdownAddDay = 1006,
  cmdCountdownAddWeek = 1007,
};

// The days, hours, minutes and seconds left until a local moment, inside a
// user's text; another text once the moment has come.
class TDisplayCountdown : public TDisplayDigital {
 public:
  TDisplayCountdown();
  TPainterClass GetPainterClass() const override;
  void SetDefaults() override;
  void UpdateNeedsSeconds() override;
  bool NeedsRepaint() override;
  std::optional<std::int64_t> NextRepaintWithinMinute(std::int64_t nowMs) override;
  void LoadFromRegistry(TVarnRegistry& registry, bool presetOnly) override;
  void SaveToRegistry(TVarnRegistry& registry, bool presetOnly) override;
  void BuildMenu(const TAddMenuItem& addItem) const override;
  void MenuCommand(int id) override;

  TDateTime FinalTime() const { return FFinalTime; }
  // Kept without its milliseconds; a moment outside the years 1 to 9999 is not taken.
  void SetFinalTime(TDateTime moment);
  // What the display shows now; clears the needs-seconds flag once the moment has come.
  std::string CurrentText();
  // The counter for a number of whole seconds (one more than the seconds left).
  std::string Counter(std::int64_t total) const;
  // At least one unit shown, every unit after a shown one shown, and every
  // unit after a hidden one hidden.
  void NormaliseVisibility();

  std::string CountdownText;
  std::string ZeroText;
  std::string DaysBefore, DaysAfter;
  std::string HoursBefore, HoursAfter;
  std::string MinutesBefore, MinutesAfter;
  std::string SecondsBefore, SecondsAfter;
  TVisibility Visibility{uvIfPositive, uvIfPositive, uvAlways, uvAlways};
  // Made by the timer command, which counts down on it again next time.
  bool CommandTimer = false;

 private:
  std::int64_t MillisecondsLeft() const;
  TDateTime FFinalTime = 0;
  std::int64_t FLastMinuteCount = -1;
};

class TPainterCountdown : public TPainterDigital {
 public:
  using TPainterDigital::TPainterDigital;
  void Prepare(TBitmap32& bitmap) override;
};
