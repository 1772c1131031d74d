#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>

#include "config/uMultilanguage.h"

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
