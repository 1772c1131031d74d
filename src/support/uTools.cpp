#include "support/uTools.h"

#include <algorithm>
#include <cctype>
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
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
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

namespace {

bool MatchesMask(const std::string& name, const std::string& mask) {
  // Iterative wildcard match: '*' any run, '?' one character.
  std::size_t n = 0, m = 0, star = std::string::npos, resume = 0;
  const auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || same(mask[m], name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      star = m++;
      resume = n;
    } else if (star != std::string::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

}  // namespace

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
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

bool PlaySoundFile(const std::string& file, bool loop) {
  std::error_code error;
  if (file.empty() || !std::filesystem::is_regular_file(PathFromUtf8(file), error)) return false;
  TSound* sound = Platform().sound;
  return sound && sound->PlayAsync(file, loop);
}

void StopSound() {
  if (TSound* sound = Platform().sound) sound->Purge();
}

void ListFiles(const std::string& folder, const std::string& mask, std::vector<std::string>& list) {
  std::error_code error;
  std::filesystem::directory_iterator it(PathFromUtf8(folder), error), end;
  for (; !error && it != end; it.increment(error)) {
    if (it->is_directory(error)) continue;
    const auto u8 = it->path().filename().u8string();
    const std::string name(u8.begin(), u8.end());
    if (MatchesMask(name, mask)) list.push_back(name);
  }
}

std::string WeekdayName(int day, bool abbreviated) {
  TLocale* locale = Platform().locale;
  return locale ? locale->DayName(std::clamp(day, 0, 6), abbreviated) : std::string();
}

std::optional<std::pair<std::size_t, std::size_t>> FormatElementAt(const std::string& text,
                                                                   std::size_t caret) {
  if (caret == 0 || caret > text.size()) return std::nullopt;
  std::size_t start = caret;
  char opener = 0;
  while (start > 0) {
    const char c = text[--start];
    if (c == ';' || c == '>') return std::nullopt;
    if (c == '&' || c == '<') {
      opener = c;
      break;
    }
  }
  if (!opener) return std::nullopt;
  // A doubled ampersand is a literal, not the start of an element.
  if (opener == '&' && start > 0 && text[start - 1] == '&') return std::nullopt;
  const char closer = opener == '&' ? ';' : '>';
  for (std::size_t i = caret; i < text.size(); ++i) {
    if (text[i] == opener) return std::nullopt;
    if (text[i] == closer) return std::make_pair(start, i);
  }
  return std::nullopt;
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
