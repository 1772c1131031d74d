#include "config/uMultilanguage.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "config/uRegistryPaths.h"
#include "config/uVarnRegistry.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

namespace {

const TMultiLanguage* gInstalled = nullptr;

constexpr std::size_t kHeaderBytes = 1023;

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t extra = 0;
    if (c >= 0xC2 && c <= 0xDF)
      extra = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      extra = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      extra = 3;
    else if (c >= 0x80)
      return false;
    if (s.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

std::string Latin1ToUtf8(std::string_view s) {
  std::string out;
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool IsIgnoredLine(std::string_view line) {
  if (!line.empty() && line.front() == ';') return true;
  return std::all_of(line.begin(), line.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string ReadFilePrefix(const std::filesystem::path& path, std::size_t limit) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(limit, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

// The text after marker up to the next CR LF; empty when no CR LF follows.
std::string HeaderField(const std::string& header, const std::string& marker) {
  const std::size_t at = header.find(marker);
  if (at == std::string::npos) return {};
  const std::size_t start = at + marker.size();
  const std::size_t end = header.find("\r\n", start);
  return end == std::string::npos ? std::string() : header.substr(start, end - start);
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string DecodeTextFile(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  const auto& convert = Platform().ansiToUtf8;
  return convert ? convert(bytes) : Latin1ToUtf8(bytes);
}

TMultiLanguage::TMultiLanguage() {
  bool found = false;
  try {
    TVarnRegistry registry;
    if (registry.OpenKey(RegistryKeys::Product, false) && registry.ValueExists("Language")) {
      SetLanguage(registry.ReadString("Language"));
      found = true;
    }
  } catch (const ERegistryException&) {
    // A damaged choice counts as none.
  }
  if (found) return;
  // The installer's choice: an install for all users writes it to the machine's key, an
  // install for one user to that user's.
  for (const TRootKey root : {TRootKey::LocalMachine, TRootKey::CurrentUser}) {
    try {
      TVarnRegistry registry;
      registry.SetRootKey(root);
      // Read-only: full access to the machine's keys is refused to ordinary users.
      if (registry.OpenKeyReadOnly(RegistryKeys::Uninstall) && registry.ValueExists("Language")) {
        SetLanguage(registry.ReadString("Language"));
        return;
      }
    } catch (const ERegistryException&) {
      // A damaged choice counts as none.
    }
  }
}

void TMultiLanguage::SetLanguage(const std::string& name) {
  FLanguageName = name.empty() ? "english" : name;
  LoadLanguage();
}

void TMultiLanguage::LoadLanguage() {
  FTranslations.reset();
  if (FLanguageName.empty() || FLanguageName == "english") return;
  // A language name is a plain file name; anything that could leave the folder is refused.
  if (FLanguageName.find_first_of("\\/:") != std::string::npos) return;
  const std::filesystem::path file = PathFromUtf8(ProgramFolder() + FLanguageName + ".lng");
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return;
  try {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return;
    LoadFromText(bytes);
  } catch (...) {
    FTranslations.reset();  // unreadable: the built-in English
  }
}

void TMultiLanguage::LoadFromText(std::string_view contents) {
  const std::string text = DecodeTextFile(contents);
  std::vector<std::pair<std::string, std::string>> lines;
  std::size_t start = 0;
  while (true) {  // up to the line that ends the text
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string_view line(text.data() + start, end - start);
    const std::size_t equals = line.find('=');
    if (!IsIgnoredLine(line) && equals != std::string_view::npos)
      lines.emplace_back(LowerAscii(std::string(line.substr(0, equals))),
                         std::string(line.substr(equals + 1)));
    if (end == text.size()) break;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  FTranslations = std::move(lines);
}

std::string TMultiLanguage::Lookup(const std::string& key, bool referenced) const {
  if (!FTranslations) return {};
  const std::string lower = LowerAscii(key);
  const auto it =
      std::lower_bound(FTranslations->begin(), FTranslations->end(), lower,
                       [](const auto& line, const std::string& k) { return line.first < k; });
  if (it == FTranslations->end() || it->first != lower) return {};
  std::string text = ReplaceAll(it->second, "\\n", "\r\n");
  if (!referenced && text.size() >= 3 && text.front() == '$') return Lookup(text.substr(1), true);
  return text;
}

std::string TMultiLanguage::GetText(const std::string& key, const std::string& def) const {
  std::string text = Lookup(key, false);
  return text.empty() ? def : text;
}

void TMultiLanguage::TranslateCaption(int tag, std::string& caption) const {
  if (FTranslations) caption = GetText(std::to_string(tag), caption);
}

void TMultiLanguage::TranslateComponent(TTranslatable& c) const {
  if (!FTranslations || c.tag == 0 || c.tag > 9999) return;
  const std::string k = std::to_string(c.tag);
  const auto translate = [&](const std::string& key, std::string& text) {
    if (text.empty()) return;
    if (std::string t = GetText(key, ""); !t.empty()) text = t;
  };
  switch (c.kind) {
    case TComponentKind::Action: {
      const std::string oldCaption = c.caption;
      if (!c.caption.empty()) {
        if (std::string t = GetText(k, ""); !t.empty()) {
          c.caption = t;
          if (c.hint == oldCaption) {
            c.hint = t;
            return;
          }
        }
      }
      translate(k + "(hint)", c.hint);
      return;
    }
    case TComponentKind::Button:
      translate(k, c.caption);
      translate(k + "(hint)", c.hint);
      return;
    case TComponentKind::Header:
    case TComponentKind::ListView:
      for (std::size_t i = 0; i < c.columns.size(); ++i)
        translate(k + "[" + std::to_string(i) + "]", c.columns[i]);
      return;
    default:
      translate(k, c.caption);
      return;
  }
}

std::vector<std::string> TMultiLanguage::ListLanguages(const std::string& folder) {
  std::vector<std::string> files, entries;
  ListFiles(folder, ".lng", files);
  for (const std::string& file : files) {
    const std::string header = ReadFilePrefix(PathFromUtf8(folder + file), kHeaderBytes);
    if (header.empty() || header.find("LANGUAGE=") == std::string::npos ||
        header.find("Quorvel") == std::string::npos)
      continue;
    const std::string name = DecodeTextFile(HeaderField(header, "LANGUAGE="));
    std::string by = Trim(DecodeTextFile(HeaderField(header, "TRANSLATION_BY=")));
    if (!by.empty()) by = "(" + by + ") ";
    entries.push_back(name + " " + by + "[" + file + "]");
  }
  // As a reader orders them: "español" before "Français".
  TLocale* locale = Platform().locale;
  std::sort(entries.begin(), entries.end(), [locale](const std::string& a, const std::string& b) {
    return locale ? locale->CompareText(a, b) < 0 : a < b;
  });
  entries.insert(entries.begin(), "(English) [built-in]");
  return entries;
}

std::string TMultiLanguage::LanguageOfEntry(const std::string& entry) {
  const std::size_t open = entry.rfind('[');
  const std::size_t close = entry.rfind(".lng]");
  if (open == std::string::npos || close == std::string::npos || close < open) return "english";
  return entry.substr(open + 1, close - open - 1);
}

const TMultiLanguage& MultiLanguage() {
  static const TMultiLanguage builtIn{TMultiLanguage::TNoRegistry{}};
  return gInstalled ? *gInstalled : builtIn;
}

TInstalledLanguage::TInstalledLanguage(const TMultiLanguage& language) : FPrevious(gInstalled) {
  gInstalled = &language;
}

TInstalledLanguage::~TInstalledLanguage() { gInstalled = FPrevious; }

std::string GetText(const std::string& key, const std::string& def) {
  return MultiLanguage().GetText(key, def);
}
