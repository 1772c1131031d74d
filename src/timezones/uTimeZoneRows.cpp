#include "timezones/uTimeZoneRows.h"

#include <cstdio>
#include <cstdlib>

#include "support/uLocale.h"
#include "support/uPlatform.h"
#include "timezones/uTimeZones.h"

std::string ZoneOffsetText(std::int32_t bias) {
  if (bias == 0) return {};
  // In 64 bits: the most negative stored bias has no positive counterpart in 32.
  const long long minutes = std::llabs(static_cast<long long>(bias));
  char text[48];
  std::snprintf(text, sizeof(text), "%s%.2lld:%.2lld", bias < 0 ? "+" : "-", minutes / 60,
                minutes % 60);
  return text;
}

std::string ZoneDescription(const std::string& displayName) {
  const std::size_t end = displayName.find(") ");
  if (displayName.empty() || displayName.front() != '(' || end == std::string::npos)
    return displayName;
  return displayName.substr(end + 2);
}

std::string ZoneDateTimeText(const TTimeZones& zones, const TTimeZone& zone,
                             const TSystemTime& utc) {
  const TSystemTime local = zones.ZoneSystemTime(zone, utc);
  TLocale& locale = *Platform().locale;
  return locale.FormatDate(local, false) + " " + locale.FormatTime(local, TimeFlags::NoSeconds);
}
