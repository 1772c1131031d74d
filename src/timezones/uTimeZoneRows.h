#pragma once

#include <cstdint>
#include <string>

#include "support/uDateTime.h"

class TTimeZone;
class TTimeZones;

// The texts of the time-zone picker's rows.

// The standard offset east of UTC of a bias in minutes west ("+05:30" for -330);
// empty for 0. Daylight time does not count.
std::string ZoneOffsetText(std::int32_t bias);
// A zone's display name without the "(UTC+01:00) " prefix the system writes.
std::string ZoneDescription(const std::string& displayName);
// The zone's local date and time at a UTC moment, in the locale's short forms.
std::string ZoneDateTimeText(const TTimeZones& zones, const TTimeZone& zone,
                             const TSystemTime& utc);
