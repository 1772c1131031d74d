#include "timezones/uZoneSearch.h"

#include <algorithm>
#include <optional>

#include "support/uTools.h"
#include "timezones/uTimeZones.h"
#include "timezones/uZoneTable.h"

namespace {

// How a zone was found, best first.
enum class TMatchRank { OwnName, City, Country, IanaName };

struct TUtf8Char {
  char32_t codePoint;  // kNotUtf8 for a byte that begins no valid sequence
  std::size_t length;
};

constexpr char32_t kNotUtf8 = 0x110000;

TUtf8Char DecodeAt(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  std::size_t extra;
  char32_t value;
  if (lead < 0x80) return {lead, 1};
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    value = lead & 0x07;
  } else {
    return {kNotUtf8, 1};
  }
  if (text.size() - at <= extra) return {kNotUtf8, 1};
  for (std::size_t i = 1; i <= extra; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {kNotUtf8, 1};
    value = (value << 6) | (byte(i) & 0x3F);
  }
  return {value, extra + 1};
}

const char* FoldedLetter(char32_t codePoint) {
  const auto table = FoldedLetterTable();
  const auto found = std::lower_bound(
      table.begin(), table.end(), codePoint,
      [](const TFoldedLetter& letter, char32_t c) { return letter.codePoint < c; });
  return found != table.end() && found->codePoint == codePoint ? found->folded : nullptr;
}

// The names of a "|" list, one after the other.
std::vector<std::string_view> NamesIn(std::string_view list) {
  std::vector<std::string_view> names;
  while (!list.empty()) {
    const std::size_t end = std::min(list.find('|'), list.size());
    names.push_back(list.substr(0, end));
    list.remove_prefix(std::min(end + 1, list.size()));
  }
  return names;
}

// The name of a list that contains the search; one that begins with it before others.
std::optional<std::string> PlaceIn(const char* list, const std::string& search) {
  std::optional<std::string> inside;
  for (const std::string_view name : NamesIn(list)) {
    const std::size_t at = FoldForSearch(name).find(search);
    if (at == 0) return std::string(name);
    if (at != std::string::npos && !inside) inside = std::string(name);
  }
  return inside;
}

const TZoneNames* NamesOfZone(const std::string& keyName) {
  for (const TZoneNames& names : ZoneNameTable())
    if (SameTextAscii(names.keyName, keyName)) return &names;
  return nullptr;
}

struct TRankedMatch {
  TMatchRank rank;
  TZoneMatch match;
};

std::optional<TRankedMatch> MatchZone(const TTimeZone& zone, const std::string& search) {
  if (FoldForSearch(zone.DisplayName).find(search) != std::string::npos ||
      FoldForSearch(zone.KeyName).find(search) != std::string::npos)
    return TRankedMatch{TMatchRank::OwnName, {&zone, {}}};
  const TZoneNames* names = NamesOfZone(zone.KeyName);
  if (!names) return std::nullopt;
  for (const auto& [rank, list] : {std::pair{TMatchRank::City, names->cities},
                                   {TMatchRank::Country, names->countries},
                                   {TMatchRank::IanaName, names->ianaNames}})
    if (auto place = PlaceIn(list, search)) return TRankedMatch{rank, {&zone, std::move(*place)}};
  return std::nullopt;
}

std::string_view TrimmedBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string FoldForSearch(std::string_view text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    const TUtf8Char c = DecodeAt(text, at);
    if (c.codePoint >= 'A' && c.codePoint <= 'Z')
      folded += static_cast<char>(c.codePoint - 'A' + 'a');
    else if (const char* letter = FoldedLetter(c.codePoint))
      folded += letter;
    else
      folded.append(text.substr(at, c.length));
    at += c.length;
  }
  return folded;
}

std::vector<TZoneMatch> SearchZones(const TTimeZones& zones, std::string_view search) {
  const std::string folded = FoldForSearch(TrimmedBlanks(search));
  std::vector<TRankedMatch> found;
  for (std::size_t i = 0; i < zones.Count(); ++i) {
    if (folded.empty())
      found.push_back({TMatchRank::OwnName, {&zones[i], {}}});
    else if (auto match = MatchZone(zones[i], folded))
      found.push_back(std::move(*match));
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.rank < b.rank; });
  std::vector<TZoneMatch> matches;
  matches.reserve(found.size());
  for (TRankedMatch& m : found) matches.push_back(std::move(m.match));
  return matches;
}

int RowOfZone(const std::vector<TZoneMatch>& rows, const TTimeZone* zone) {
  const auto found = std::find_if(rows.begin(), rows.end(),
                                  [zone](const TZoneMatch& row) { return row.zone == zone; });
  return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
}

const TTimeZone* ZoneOfRow(const std::vector<TZoneMatch>& rows, int row) {
  return row >= 0 && static_cast<std::size_t>(row) < rows.size()
             ? rows[static_cast<std::size_t>(row)].zone
             : nullptr;
}

std::string DescriptionWithPlace(const std::string& description, const TZoneMatch& match) {
  return match.place.empty() ? description : description + " - " + match.place;
}

TTimeZone* FindZoneByName(const TTimeZones& zones, const std::string& name) {
  if (TTimeZone* zone = zones.FindZone(name)) return zone;
  for (const TZoneNames& names : ZoneNameTable())
    for (const std::string_view iana : NamesIn(names.ianaNames))
      if (SameTextAscii(iana, name)) return zones.FindZone(names.keyName);
  return nullptr;
}
