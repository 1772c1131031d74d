#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>

#include "config/uMultilanguage.h"
#include "prefs/uFormatElements.h"
#include "support/uHelp.h"
#include "support/uTools.h"

namespace {

const std::filesystem::path kSource = QUORVEL_SOURCE_DIR;

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ShippedTranslation, HasEveryKeyTheProgramAsksForAndIsOffered) {
  TMultiLanguage german(TMultiLanguage::TNoRegistry{});
  german.LoadFromText(ReadAll(kSource / "src/resources/deutsch.lng"));
  const std::regex call(R"re(GetText\(\s*"([A-Z_0-9]+)")re");
  int calls = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kSource / "src")) {
    const auto ext = entry.path().extension();
    if (ext != ".cpp" && ext != ".h") continue;
    const std::string text = ReadAll(entry.path());
    for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it, ++calls)
      EXPECT_NE(german.GetText((*it)[1].str(), "\x01missing"), "\x01missing") << (*it)[1];
  }
  EXPECT_GE(calls, 10);  // the scan itself found the calls
  // Every caption of a window and text of a control in the resources, by its number,
  // written there or named in the identifiers' header.
  std::map<std::string, std::string> numbers;
  const std::string ids = ReadAll(kSource / "src/resources/uResourceIds.h");
  const std::regex define(R"re(#define (ID[CD]_\w+) (\d+))re");
  for (std::sregex_iterator it(ids.begin(), ids.end(), define), end; it != end; ++it)
    numbers[(*it)[1].str()] = (*it)[2].str();
  const std::regex part(
      R"re((?:^|\n)\s*(?:(?:[A-Z]+TEXT|[A-Z]*BUTTON|GROUPBOX|CONTROL)\s+"([^"]*)",\s*(\w+)|(\w+) DIALOGEX[^\n]*\n(?:[^\n]*\n){0,3}?CAPTION "([^"]*)"))re");
  const std::regex letters("[A-Za-z]");
  int parts = 0;
  const std::string rc = ReadAll(kSource / "src/resources/quorvel.rc");
  for (std::sregex_iterator it(rc.begin(), rc.end(), part), end; it != end; ++it, ++parts) {
    const bool caption = (*it)[3].matched;
    const std::string text = caption ? (*it)[4].str() : (*it)[1].str();
    const std::string id = caption ? (*it)[3].str() : (*it)[2].str();
    const std::string tag = numbers.contains(id) ? numbers[id] : id;
    if (!std::regex_search(text, letters)) continue;
    EXPECT_NE(german.GetText(tag, "\x01missing"), "\x01missing") << tag << " " << text;
  }
  EXPECT_GE(parts, 100);
  // Window parts are keyed by their numbers: a column and a hint, too.
  TTranslatable column{TComponentKind::ListView, 5103, {}, {}, {"GMT", "Name", "Description", "x"}};
  german.TranslateComponent(column);
  EXPECT_EQ(column.columns[3], "Datum und Uhrzeit");
  TTranslatable loop{TComponentKind::Button, 4022, "", "Loop", {}};
  german.TranslateComponent(loop);
  EXPECT_EQ(loop.hint, "Wiederholen");
  const auto entries = TMultiLanguage::ListLanguages((kSource / "src/resources/").string());
  EXPECT_EQ(std::count(entries.begin(), entries.end(), "Deutsch (Quorvel-Team) [deutsch.lng]"), 1);
}

}  // namespace

namespace {

std::string HtmlEscaped(const std::string& text) {
  std::string escaped;
  for (const char c : text)
    escaped += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  return escaped;
}

void CollectElements(const std::vector<TFormatElement>& items, std::vector<std::string>& out) {
  for (const TFormatElement& item : items) {
    if (item.kind == TFormatElement::TKind::Insert) out.push_back(item.inserts);
    CollectElements(item.items, out);
  }
}

TEST(ShippedHelp, EachPageDescribesEveryWindowAndElementAndStandsAlone) {
  // Every window's section, named by its template in the identifiers' header.
  std::vector<std::string> sections = {"getting-started", "displays", "format",  "events",
                                       "chimes",          "hot-keys", "presets", "translations",
                                       "command-line",    "settings"};
  const std::string ids = ReadAll(kSource / "src/resources/uResourceIds.h");
  const std::regex dialog(R"re(#define IDD_(\w+) (\d+))re");
  for (std::sregex_iterator it(ids.begin(), ids.end(), dialog), end; it != end; ++it) {
    std::string anchor = LowerAscii((*it)[1].str());
    std::replace(anchor.begin(), anchor.end(), '_', '-');
    EXPECT_EQ(HelpSectionOf(std::stoi((*it)[2].str())), anchor);
    sections.push_back(anchor);
  }
  EXPECT_GE(sections.size(), 40u);
  std::vector<std::string> elements;
  CollectElements(FormatElementMenu(), elements);
  EXPECT_GE(elements.size(), 35u);
  const std::regex link(R"re(href="([^"]*)")re");
  for (const char* name : {"help_en.htm", "help_de.htm"}) {
    SCOPED_TRACE(name);
    const std::string page = ReadAll(kSource / "src/help" / name);
    ASSERT_GT(page.size(), 20'000u);
    for (const std::string& section : sections)
      EXPECT_NE(page.find("id=\"" + section + "\""), std::string::npos) << section;
    for (const std::string& element : elements)
      EXPECT_NE(page.find("<code>" + HtmlEscaped(element) + "</code>"), std::string::npos)
          << element;
    int links = 0;
    for (std::sregex_iterator it(page.begin(), page.end(), link), end; it != end; ++it, ++links) {
      const std::string target = (*it)[1].str();
      ASSERT_TRUE(target.starts_with("#")) << target;  // nothing outside the page
      EXPECT_NE(page.find("id=\"" + target.substr(1) + "\""), std::string::npos) << target;
    }
    EXPECT_GE(links, 40);
    for (const char* outside : {"<script", "src=", "http:", "https:", "url("})
      EXPECT_EQ(page.find(outside), std::string::npos) << outside;
  }
  EXPECT_EQ(HelpSectionOf(1), "getting-started");  // a window the help does not know
}

TEST(ShippedHelp, PagesOpenAtTheirSectionThroughAFileAddress) {
  const std::pair<std::pair<const char*, const char*>, const char*> cases[] = {
      {{"C:\\Program Files\\Quorvel\\help_en.htm", "prefs-chime-page"},
       "file:///C:/Program%20Files/Quorvel/help_en.htm#prefs-chime-page"},
      {{"D:\\M\xC3\xBCller #1\\help_de.htm", ""}, "file:///D:/M%C3%BCller%20%231/help_de.htm"},
  };
  for (const auto& [given, expected] : cases)
    EXPECT_EQ(HelpAddress(given.first, given.second), expected);
}

}  // namespace
