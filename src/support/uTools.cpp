#include "support/uTools.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "support/uPlatform.h"

void KeepHalfInside(TRect& rect, const TRect& bounds) {
  const int w = std::max(rect.Width(), 2), h = std::max(rect.Height(), 2);
  const int hw = w / 2, hh = h / 2;
  // The far limits first, so the near ones win when the bounds are too small.
  int left = std::min(rect.left, bounds.right - hw);
  left = std::max(left, bounds.left - hw);
  int top = std::min(rect.top, bounds.bottom - hh);
  top = std::max(top, bounds.top - hh);
  rect = {left, top, left + w, top + h};
}

int RoundHalfEven(double x) {
  const double down = std::floor(x);
  const double rest = x - down;  // exact: x and its floor share the exponent range
  double r = down;
  if (rest > 0.5 || (rest == 0.5 && std::fmod(down, 2.0) != 0.0)) r = down + 1.0;
  return static_cast<int>(r);
}

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
  std::int32_t value = 0;
  // from_chars takes a minus but not a plus.
  if (text.starts_with('+') && !text.substr(1).starts_with('-')) text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

namespace {

// Each modifier and its bit in a stored shortcut.
constexpr std::pair<unsigned, std::uint32_t> kShortCutModifiers[] = {
    {ssShift, 0x2000}, {ssCtrl, 0x4000}, {ssAlt, 0x8000}};

}  // namespace

std::uint32_t MakeShortCut(const TShortCutParts& parts) {
  std::uint32_t shortcut = parts.key & 0xFF;
  for (const auto& [modifier, bit] : kShortCutModifiers)
    if (parts.shift & modifier) shortcut |= bit;
  return shortcut;
}

TShortCutParts SplitShortCut(std::uint32_t shortcut) {
  TShortCutParts parts;
  parts.key = shortcut & 0xFF;
  for (const auto& [modifier, bit] : kShortCutModifiers)
    if (shortcut & bit) parts.shift |= modifier;
  return parts;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::string FormatInteger(std::string_view format, std::int32_t value) {
  std::string text;
  bool filled = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char next = i + 1 < format.size() ? format[i + 1] : '\0';
    if (format[i] == '%' && next == '%') {
      text += '%';
      ++i;
    } else if (format[i] == '%' && next == 'd' && !filled) {
      text += std::to_string(value);
      filled = true;
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool SameTextAscii(std::string_view a, std::string_view b) {
  return a.size() == b.size() && UpperAscii(std::string(a)) == UpperAscii(std::string(b));
}

std::string LineBreaksToTags(const std::string& text) { return ReplaceAll(text, "\r\n", "&br;"); }

std::string TagsToLineBreaks(const std::string& text) { return ReplaceAll(text, "&br;", "\r\n"); }

std::pair<std::string, std::string> SplitAtFirstSpace(const std::string& text) {
  const std::size_t space = text.find(' ');
  if (space == std::string::npos) return {text, {}};
  std::string tail = text.substr(space + 1);
  if (tail.size() > 1 && tail.front() == '"' && tail.back() == '"')
    tail = tail.substr(1, tail.size() - 2);
  return {text.substr(0, space), tail};
}

TPoint FitOnMonitor(TPoint desired, TPoint size, const TRect& work) {
  constexpr int kMargin = 16;
  TPoint r = desired;
  r.x = std::min(r.x, work.right - size.x - kMargin);
  r.x = std::max(r.x, work.left + kMargin);
  r.y = std::min(r.y, work.bottom - size.y - kMargin);
  r.y = std::max(r.y, work.top + kMargin);
  return r;
}

TPoint FitOnMonitor(TPoint desired, TPoint size, TPoint reference) {
  TDesktop* desktop = Platform().desktop;
  return desktop ? FitOnMonitor(desired, size, desktop->WorkAreaNear(reference)) : desired;
}

TPoint CentredOver(const TRect& owner, TPoint size) {
  const TPoint centre{owner.left + owner.Width() / 2, owner.top + owner.Height() / 2};
  return FitOnMonitor({centre.x - size.x / 2, centre.y - size.y / 2}, size, centre);
}

namespace {

std::int64_t CoveredArea(const TRect& window, const std::vector<TRect>& obstacles) {
  std::int64_t area = 0;
  for (const TRect& o : obstacles)
    if (window.Intersects(o))
      area += std::int64_t{std::min(window.right, o.right) - std::max(window.left, o.left)} *
              (std::min(window.bottom, o.bottom) - std::max(window.top, o.top));
  return area;
}

}  // namespace

TPoint AsideFrom(TPoint desired, TPoint size, const std::vector<TRect>& obstacles) {
  constexpr int kGap = 8;
  // The desired place, and beside each obstacle on each of its four sides.
  std::vector<TPoint> places{desired};
  for (const TRect& o : obstacles) {
    places.push_back({o.left - size.x - kGap, desired.y});
    places.push_back({o.right + kGap, desired.y});
    places.push_back({desired.x, o.top - size.y - kGap});
    places.push_back({desired.x, o.bottom + kGap});
  }
  TPoint best = FitOnMonitor(desired, size, desired);
  std::int64_t bestCover = -1, bestDistance = 0;
  for (const TPoint& place : places) {
    const TPoint at = FitOnMonitor(place, size, desired);
    const std::int64_t cover = CoveredArea({at.x, at.y, at.x + size.x, at.y + size.y}, obstacles);
    const std::int64_t dx = at.x - desired.x, dy = at.y - desired.y;
    const std::int64_t distance = dx * dx + dy * dy;
    if (bestCover < 0 || cover < bestCover || (cover == bestCover && distance < bestDistance)) {
      best = at;
      bestCover = cover;
      bestDistance = distance;
    }
  }
  return best;
}

std::string EscapeAccessKeys(const std::string& text) { return ReplaceAll(text, "&", "&&"); }

char AccessKeyOf(const std::string& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return UpperAscii(text.substr(i + 1, 1))[0];
    ++i;  // "&&" is a plain "&"
  }
  return 0;
}

std::vector<std::string> WithAccessKeys(const std::vector<std::string>& texts, std::string taken) {
  std::vector<std::string> result;
  for (const std::string& text : texts) {
    std::string shown = EscapeAccessKeys(text);
    const auto free = std::find_if(shown.begin(), shown.end(), [&](char c) {
      const char upper = UpperAscii(std::string(1, c))[0];
      return upper >= 'A' && upper <= 'Z' && taken.find(upper) == std::string::npos;
    });
    if (free != shown.end()) {
      taken += UpperAscii(std::string(1, *free));
      shown.insert(free, '&');
    }
    result.push_back(std::move(shown));
  }
  return result;
}

bool SoundFileExists(const std::string& file) {
  std::error_code error;
  return !file.empty() && std::filesystem::is_regular_file(PathFromUtf8(file), error);
}

bool PlaySoundFile(const std::string& file, bool loop) {
  if (!SoundFileExists(file)) return false;
  TSound* sound = Platform().sound;
  return sound && sound->PlayAsync(file, loop);
}

std::string SoundOrShipped(const std::string& file, const std::string& shipped) {
  if (!file.empty()) return file;
  const std::string folder = ProgramFolder();
  if (folder.empty()) return file;
  // The folder's own separator, so the name works on the file system the program file is on.
  const std::string candidate = folder + "Sounds" + folder.back() + shipped;
  return SoundFileExists(candidate) ? candidate : file;
}

void StopSound() {
  if (TSound* sound = Platform().sound) sound->Purge();
}

void ListFiles(const std::string& folder, std::string_view extension,
               std::vector<std::string>& list) {
  std::error_code error;
  std::filesystem::directory_iterator it(PathFromUtf8(folder), error), end;
  for (; !error && it != end; it.increment(error)) {
    if (it->is_directory(error)) continue;
    const auto u8 = it->path().filename().u8string();
    const std::string name(u8.begin(), u8.end());
    if (name.size() > extension.size() &&
        SameTextAscii(std::string_view(name).substr(name.size() - extension.size()), extension))
      list.push_back(name);
  }
}

std::string WeekdayName(int day, bool abbreviated) {
  TLocale* locale = Platform().locale;
  return locale ? locale->DayName(std::clamp(day, 0, 6), abbreviated) : std::string();
}

std::optional<std::pair<std::size_t, std::size_t>> FormatElementAt(const std::string& text,
                                                                   std::size_t caret) {
  // The nearest opener before the caret, unless an element ends in between.
  const std::size_t start = caret == 0 ? std::string::npos : text.find_last_of("&<;>", caret - 1);
  if (start == std::string::npos || text[start] == ';' || text[start] == '>') return std::nullopt;
  const char opener = text[start];
  // A doubled ampersand is a literal, not the start of an element.
  if (opener == '&' && start > 0 && text[start - 1] == '&') return std::nullopt;
  const std::size_t end = text.find_first_of(opener == '&' ? "&;" : "<>", caret);
  if (end == std::string::npos || text[end] == opener) return std::nullopt;
  return std::make_pair(start, end);
}

TSystemTime ReadUtcTime() { return Platform().clock->UtcNow(); }

TSystemTime ReadLocalTime() { return Platform().clock->LocalNow(); }

std::filesystem::path PathFromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string ProgramFolder() {
  const std::string& file = Platform().programFile;
  const std::size_t slash = file.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

std::string TVersionInfo::MajorMinor() const {
  return Valid ? std::to_string(Major) + "." + std::to_string(Minor) : "?";
}

std::string TVersionInfo::ReleaseBuild() const {
  return Valid ? std::to_string(Release) + "." + std::to_string(Build) : "?";
}

std::string TVersionInfo::Text() const {
  if (!Valid) return "unable to get version info";
  std::string remark;
  const std::pair<unsigned, const char*> words[] = {
      {0x2, "preview"}, {0x1, "debug"}, {0x8, "private"}, {0x20, "special build"}};
  for (const auto& [flag, word] : words)
    if (Flags & flag) remark += (remark.empty() ? "" : ", ") + std::string(word);
  std::string text = MajorMinor() + "." + ReleaseBuild();
  if (!remark.empty()) text += " (" + remark + ")";
  return text;
}

std::vector<std::string> QuotedList(const std::string& text) {
  std::vector<std::string> items;
  std::size_t at = 0;
  while ((at = text.find('"', at)) != std::string::npos) {
    const std::size_t end = text.find('"', at + 1);
    if (end == std::string::npos) break;
    items.push_back(text.substr(at + 1, end - at - 1));
    at = end + 1;
  }
  return items;
}
