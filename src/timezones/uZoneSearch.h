#pragma once

#include <string>
#include <string_view>
#include <vector>

class TTimeZone;
class TTimeZones;

// Text as the zone search compares it: lower case and without marks ("Köln" as "koln");
// bytes that are not UTF-8 stay as they are.
std::string FoldForSearch(std::string_view text);

// A zone the search found, and the place it was found by: a city, a country or an IANA name;
// empty when the zone's own names matched or nothing was searched.
struct TZoneMatch {
  const TTimeZone* zone = nullptr;
  std::string place;
};

// The zones whose own names, cities, countries or IANA names contain the search, case and
// marks aside. Zones found by their own names come first, then those found by a city, a
// country, an IANA name; each group in catalogue order. An empty search finds every zone.
std::vector<TZoneMatch> SearchZones(const TTimeZones& zones, std::string_view search);

// The row of the list of matches that holds the zone, or -1; the zone of a row, none outside.
int RowOfZone(const std::vector<TZoneMatch>& rows, const TTimeZone* zone);
const TTimeZone* ZoneOfRow(const std::vector<TZoneMatch>& rows, int row);

// A row's description with the place it was found by: "Pacific Time (US & Canada) - Seattle".
std::string DescriptionWithPlace(const std::string& description, const TZoneMatch& match);

// The zone of a key name or of an IANA name ("Asia/Kolkata"), either in any ASCII case;
// none for a name neither knows.
TTimeZone* FindZoneByName(const TTimeZones& zones, const std::string& name);
