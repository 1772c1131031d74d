#include "timezones/uTimeZones.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "config/uRegistryPaths.h"
#include "config/uVarnRegistry.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

namespace {

constexpr double kMinutesPerDay = 1440.0;

TDateTime TimeOfRule(const TSystemTime& rule) {
  return ((rule.wHour * 60.0 + rule.wMinute) * 60.0 + rule.wSecond + rule.wMilliseconds / 1000.0) /
         86400.0;
}

// The 44-byte TZI value: three biases, then the end and start rules.
void ReadTzi(TVarnRegistry& registry, TTimeZoneInformation& info) {
  std::uint8_t tzi[44] = {};
  registry.ReadBinaryData("TZI", tzi, sizeof(tzi));
  std::memcpy(&info.Bias, tzi, sizeof info.Bias);
  std::memcpy(&info.StandardBias, tzi + 4, sizeof info.StandardBias);
  std::memcpy(&info.DaylightBias, tzi + 8, sizeof info.DaylightBias);
  std::memcpy(&info.StandardDate, tzi + 12, sizeof info.StandardDate);
  std::memcpy(&info.DaylightDate, tzi + 28, sizeof info.DaylightDate);
}

}  // namespace

std::optional<TDateTime> TransitionDate(const TSystemTime& rule, int year) {
  if (rule.wMonth == 0 || rule.wMonth > 12) return std::nullopt;
  if (rule.wYear != 0) {
    if (rule.wYear != year || rule.wDay < 1 || rule.wDay > DaysInMonth(year, rule.wMonth))
      return std::nullopt;
    return DaysFromCivil(year, rule.wMonth, rule.wDay) + TimeOfRule(rule);
  }
  if (rule.wDay < 1 || rule.wDay > 5) return std::nullopt;
  const int target = rule.wDayOfWeek + 1;  // 1 Sunday .. 7 Saturday
  int day;
  if (rule.wDay <= 4) {
    const int first = static_cast<int>(WeekdayOfDays(DaysFromCivil(year, rule.wMonth, 1))) + 1;
    int d = target - first + 1;
    if (d < 1) d += 7;
    day = (rule.wDay - 1) * 7 + d;
  } else {  // 5: the last one of the month
    const int n = static_cast<int>(DaysInMonth(year, rule.wMonth));
    const int last = static_cast<int>(WeekdayOfDays(DaysFromCivil(year, rule.wMonth, n))) + 1;
    day = target - last + n;
    if (day > n) day -= 7;
  }
  return DaysFromCivil(year, rule.wMonth, static_cast<unsigned>(day)) + TimeOfRule(rule);
}

std::optional<TTransitions> GetTransitions(const TTimeZone& zone, int year) {
  const TTimeZoneInformation& info = zone.ZoneInformation;
  const auto start = TransitionDate(info.DaylightDate, year);
  const auto end = TransitionDate(info.StandardDate, year);
  if (!start || !end) return std::nullopt;
  return TTransitions{*start, *end, info.Bias + info.StandardBias, info.Bias + info.DaylightBias};
}

TDateTime ConvertUTC(const TTimeZone& zone, TDateTime utc) {
  const int year = DateTimeToSystemTime(utc).wYear;
  const auto t = GetTransitions(zone, year);
  if (!t) return utc - zone.ZoneInformation.Bias / kMinutesPerDay;
  // Compared in whole milliseconds: the same instant reached by different
  // arithmetic must not land on both sides of a change.
  const auto ms = [](TDateTime v) { return std::llround(v * 86400000.0); };
  const long long now = ms(utc);
  const long long startUtc = ms(t->start + t->standardOffset / kMinutesPerDay);
  const long long endUtc = ms(t->end + t->daylightOffset / kMinutesPerDay);
  bool inDaylight;
  if (startUtc < endUtc)
    inDaylight = now >= startUtc && now < endUtc;
  else
    inDaylight = !(now >= endUtc && now < startUtc);
  return utc - (inDaylight ? t->daylightOffset : t->standardOffset) / kMinutesPerDay;
}

int InternetTime(TDateTime utc) {
  // Normalised to whole milliseconds, so that a day's last instant counts as that day.
  const TDateTime t = SystemTimeToDateTime(DateTimeToSystemTime(utc + 1.0 / 24));
  return static_cast<int>(std::nearbyint((t - std::floor(t)) * 1000.0));
}

void TTimeZones::Load() {
  FZones.clear();
  TVarnRegistry registry;
  registry.SetRootKey(TRootKey::LocalMachine);
  std::vector<std::string> names;
  if (!registry.OpenKeyReadOnly(RegistryKeys::TimeZones)) return;
  registry.GetKeyNames(names);
  registry.CloseKey();
  for (const std::string& name : names) {
    FZones.push_back(std::make_unique<TTimeZone>());
    TTimeZone& zone = *FZones.back();
    if (!registry.OpenKeyReadOnly(std::string(RegistryKeys::TimeZones) + "\\" + name)) continue;
    zone.DisplayName = registry.ReadString("Display");
    ReadTzi(registry, zone.ZoneInformation);
    zone.KeyName = name;
    zone.Index =
        registry.ValueExists("Index") ? registry.ReadInteger("Index") : -zone.ZoneInformation.Bias;
    registry.CloseKey();
  }
  std::stable_sort(FZones.begin(), FZones.end(),
                   [](const auto& a, const auto& b) { return a->Index < b->Index; });
}

TTimeZone* TTimeZones::FindZone(const std::string& keyName) const {
  for (const auto& zone : FZones)
    if (SameTextAscii(zone->KeyName, keyName)) return zone.get();
  return nullptr;
}

int TTimeZones::IndexOfZone(const std::string& keyName) const {
  for (std::size_t i = 0; i < FZones.size(); ++i)
    if (SameTextAscii(FZones[i]->KeyName, keyName)) return static_cast<int>(i);
  return -1;
}

TDateTime TTimeZones::ZoneTime(const TTimeZone& zone, TDateTime utc) const {
  if (const auto& convert = Platform().zoneTime)
    if (const auto local = convert(zone.ZoneInformation, DateTimeToSystemTime(utc)))
      return SystemTimeToDateTime(*local);
  return ConvertUTC(zone, utc);
}

TSystemTime TTimeZones::ZoneSystemTime(const TTimeZone& zone, const TSystemTime& utc) const {
  return DateTimeToSystemTime(ConvertUTC(zone, SystemTimeToDateTime(utc)));
}
