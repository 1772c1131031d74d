#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/uDateTime.h"

class TTimeZone {
 public:
  TTimeZoneInformation ZoneInformation;
  std::string DisplayName;
  std::int32_t Index = 0;
  std::string KeyName;
};

// The daylight-saving period of a zone in one year, in local times, with the
// offsets (minutes west of UTC) of both seasons.
struct TTransitions {
  TDateTime start = 0;
  TDateTime end = 0;
  std::int32_t standardOffset = 0;
  std::int32_t daylightOffset = 0;
};

// The date and time at which a rule applies in a year, or nothing.
std::optional<TDateTime> TransitionDate(const TSystemTime& rule, int year);
std::optional<TTransitions> GetTransitions(const TTimeZone& zone, int year);
// The zone's local time at a UTC instant, by the zone's own rule.
TDateTime ConvertUTC(const TTimeZone& zone, TDateTime utc);
// Internet time in beats (0 to 1000) of a UTC instant.
int InternetTime(TDateTime utc);

// The system's time-zone catalogue, sorted by each zone's index.
class TTimeZones {
 public:
  // Reads the catalogue from the machine's registry. A damaged value stops the
  // load with the registry error; the zones read before it are kept.
  void Load();
  TTimeZone* FindZone(const std::string& keyName) const;
  int IndexOfZone(const std::string& keyName) const;
  // The platform's conversion when it has one, else ConvertUTC.
  TDateTime ZoneTime(const TTimeZone& zone, TDateTime utc) const;
  TSystemTime ZoneSystemTime(const TTimeZone& zone, const TSystemTime& utc) const;

  std::size_t Count() const { return FZones.size(); }
  TTimeZone& operator[](std::size_t i) const { return *FZones[i]; }

 private:
  std::vector<std::unique_ptr<TTimeZone>> FZones;
};
