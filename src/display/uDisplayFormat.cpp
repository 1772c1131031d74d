#include "display/uDisplayFormat.h"

#include <cmath>
#include <cstdio>

#include "config/uMultilanguage.h"
#include "support/uPlatform.h"
#include "support/uTools.h"
#include "timezones/uTimeZones.h"
#include "timezones/uZoneSearch.h"

namespace {

// What a part of a template that cannot be read shows instead.
std::string ErrorText() {
  std::string text(1, ' ');
  text.append(GetText("TOKEN_ERROR", "!ERROR!")).push_back(' ');
  return text;
}

std::string Digits(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof(text), "%.*d", width, value);
  return text;
}

}  // namespace

int IsoWeek(int year, unsigned month, unsigned day) {
  const std::int32_t days = DaysFromCivil(year, month, day);
  const int isoDow = static_cast<int>((WeekdayOfDays(days) + 6) % 7) + 1;  // Monday 1
  // The week belongs to the year of its Thursday.
  const std::int32_t thursday = days - isoDow + 4;
  const TCivilDate t = CivilFromDays(thursday);
  return (thursday - DaysFromCivil(t.year, 1, 1)) / 7 + 1;
}

void TDisplayFormat::Parse(const std::string& text) {
  FTokens.clear();
  std::string literal;
  const auto flush = [&] {
    if (!literal.empty()) FTokens.push_back({TTokenKind::Literal, literal});
    literal.clear();
  };
  // The next closing character of each kind, remembered so that a long text
  // full of unclosed openers is still read in one pass.
  std::size_t nextSemicolon = 0, nextGreater = 0;
  const auto closing = [&](char closer, std::size_t& cached, std::size_t from) {
    if (cached != std::string::npos && cached < from) cached = text.find(closer, from);
    return cached;
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c != '&' && c != '<') {
      literal += c;
      ++i;
      continue;
    }
    const std::size_t close =
        c == '&' ? closing(';', nextSemicolon, i + 1) : closing('>', nextGreater, i + 1);
    std::string name;
    if (close == std::string::npos) {
      ++i;
    } else {
      name = text.substr(i + 1, close - i - 1);
      i = close + 1;
    }
    flush();
    name = UpperAscii(name);
    if (c == '&') {
      FTokens.push_back({TTokenKind::Element, name});
      continue;
    }
    const auto [keyword, rest] = SplitAtFirstSpace(name);
    if (keyword == "TZ")
      FTokens.push_back({TTokenKind::ZoneSwitch, rest});
    else
      FTokens.push_back({TTokenKind::Error, ""});
  }
  flush();
}

bool TDisplayFormat::NeedsSeconds() const {
  for (const TDisplayFormatToken& token : FTokens) {
    if (token.kind != TTokenKind::Element) continue;
    const auto [keyword, modifiers] = SplitAtFirstSpace(token.text);
    if (keyword == "S" || keyword == "SS" ||
        (keyword == "TIME" && modifiers.find("-S") != std::string::npos))
      return true;
  }
  return false;
}

void TDisplayFormat::SelectZone(const TTimeZone* zone) {
  if (zone && Zones) {
    FZoneMoment = Zones->ZoneTime(*zone, FGivenMoment);
    FSystemTime = DateTimeToSystemTime(FZoneMoment);
  } else {
    FSystemTime = Platform().clock->LocalNow();
    FZoneMoment = SystemTimeToDateTime(FSystemTime);
  }
  FDay = FSystemTime.wDay;
  FMonth = FSystemTime.wMonth;
  FYear = FSystemTime.wYear;
  FHour = FSystemTime.wHour;
  FMinute = FSystemTime.wMinute;
  FSecond = FSystemTime.wSecond;
  FPM = FHour >= 12;
  FHour12 = FHour % 12 == 0 ? 12 : FHour % 12;
  const std::int32_t days =
      DaysFromCivil(FYear, static_cast<unsigned>(FMonth), static_cast<unsigned>(FDay));
  FDayOfWeek = static_cast<int>(WeekdayOfDays(days)) + 1;
  FIsoDayOfWeek = FDayOfWeek == 1 ? 7 : FDayOfWeek - 1;
  FDayOfYear = days - DaysFromCivil(FYear, 1, 1) + 1;
  FDaysInYear = IsLeapYear(FYear) ? 366 : 365;
  FDaysInMonth = static_cast<int>(DaysInMonth(FYear, static_cast<unsigned>(FMonth)));
  FWeek = IsoWeek(FYear, static_cast<unsigned>(FMonth), static_cast<unsigned>(FDay));
  FBeats = InternetTime(FGivenMoment);
}

std::string TDisplayFormat::Evaluate(TDateTime utc) {
  FGivenMoment = utc;
  TLocale* locale = Platform().locale;
  FTwelveHourLocale = locale && locale->TwelveHour();
  SelectZone(DefaultZone);
  std::string out;
  for (const TDisplayFormatToken& token : FTokens) {
    switch (token.kind) {
      case TTokenKind::Literal:
        out += token.text;
        break;
      case TTokenKind::Element:
        out += ElementValue(token.text);
        break;
      case TTokenKind::ZoneSwitch: {
        if (token.text.empty()) {
          SelectZone(nullptr);
          break;
        }
        const TTimeZone* zone = Zones ? FindZoneByName(*Zones, token.text) : nullptr;
        SelectZone(zone);
        if (!zone) out += ErrorText();
        break;
      }
      case TTokenKind::Error:
        out += ErrorText();
        break;
    }
  }
  return out;
}

std::string TDisplayFormat::TimeValue(const std::string& modifiers) const {
  unsigned flags = 0;
  if (modifiers.find("-S") == std::string::npos) flags |= TimeFlags::NoSeconds;
  if (modifiers.find("-NM") != std::string::npos) flags |= TimeFlags::NoMinutesOrSeconds;
  if (modifiers.find("-NAP") != std::string::npos) flags |= TimeFlags::NoTimeMarker;
  if (modifiers.find("-24") != std::string::npos) flags |= TimeFlags::Force24Hour;
  return Platform().locale ? Platform().locale->FormatTime(FSystemTime, flags) : std::string();
}

std::string TDisplayFormat::ElementValue(const std::string& element) const {
  if (element.empty()) return "&";
  if (element == "LT") return "<";
  if (element == "GT") return ">";
  const auto [keyword, modifiers] = SplitAtFirstSpace(element);
  TLocale* locale = Platform().locale;
  const int mondayFirst = (FDayOfWeek + 5) % 7;
  if (keyword == "D") return std::to_string(FDay);
  if (keyword == "DD") return Digits(FDay, 2);
  if (keyword == "$D") return locale ? locale->DayName(mondayFirst, true) : "";
  if (keyword == "$DD") return locale ? locale->DayName(mondayFirst, false) : "";
  if (keyword == "M") return std::to_string(FMonth);
  if (keyword == "MM") return Digits(FMonth, 2);
  if (keyword == "$M") return locale ? locale->MonthName(FMonth, true) : "";
  if (keyword == "$MM") return locale ? locale->MonthName(FMonth, false) : "";
  if (keyword == "YY") return Digits(FYear % 100, 2);
  if (keyword == "YYYY") return Digits(FYear, 4);
  if (keyword == "H" || keyword == "HH") {
    int hour = FTwelveHourLocale ? FHour12 : FHour;
    if (modifiers == "-12") hour = FHour12;
    if (modifiers == "-24") hour = FHour;
    return keyword == "H" ? std::to_string(hour) : Digits(hour, 2);
  }
  if (keyword == "N") return std::to_string(FMinute);
  if (keyword == "NN") return Digits(FMinute, 2);
  if (keyword == "S") return std::to_string(FSecond);
  if (keyword == "SS") return Digits(FSecond, 2);
  if (keyword == "AP") return locale ? locale->TimeMarker(FPM) : "";
  if (keyword == "WEEK") return std::to_string(FWeek);
  if (keyword == "DOW") return std::to_string(FIsoDayOfWeek);
  if (keyword == "DOWS") return std::to_string(FDayOfWeek);
  if (keyword == "DOY") return std::to_string(FDayOfYear);
  if (keyword == "DIY") return std::to_string(FDaysInYear);
  if (keyword == "DIM") return std::to_string(FDaysInMonth);
  if (keyword == "SDATE") return locale ? locale->FormatDate(FSystemTime, false) : "";
  if (keyword == "LDATE") return locale ? locale->FormatDate(FSystemTime, true) : "";
  if (keyword == "TIME") return TimeValue(modifiers);
  if (keyword == "SWATCH") return Digits(FBeats, 3);
  return ErrorText();
}
