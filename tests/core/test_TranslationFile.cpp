#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "config/uMultilanguage.h"

namespace {

const std::filesystem::path kSource = QUORVEL_SOURCE_DIR;

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every key the program's code asks the translation service for.
std::set<std::string> KeysInSource() {
  std::set<std::string> keys;
  const std::regex call(R"re(GetText\(\s*"([A-Z_0-9]+)")re");
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kSource / "src")) {
    const auto ext = entry.path().extension();
    if (ext != ".cpp" && ext != ".h") continue;
    const std::string text = ReadAll(entry.path());
    for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it)
      keys.insert((*it)[1]);
  }
  return keys;
}

TEST(ShippedTranslation, HasEveryKeyTheProgramAsksFor) {
  TMultiLanguage german(TMultiLanguage::TNoRegistry{});
  german.LoadFromText(ReadAll(kSource / "src/resources/deutsch.lng"));
  const std::set<std::string> keys = KeysInSource();
  ASSERT_GE(keys.size(), 10u);  // the scan itself found the calls
  for (const std::string& key : keys)
    EXPECT_NE(german.GetText(key, "\x01missing"), "\x01missing") << key;
  // Window parts are keyed by their numbers: a column and a hint, too.
  TTranslatable column{TComponentKind::ListView, 5103, {}, {}, {"GMT", "Name", "Description", "x"}};
  german.TranslateComponent(column);
  EXPECT_EQ(column.columns[3], "Datum und Uhrzeit");
  TTranslatable loop{TComponentKind::Button, 4022, "", "Loop", {}};
  german.TranslateComponent(loop);
  EXPECT_EQ(loop.hint, "Wiederholen");
}

TEST(ShippedTranslation, IsOfferedToTheUser) {
  const auto entries = TMultiLanguage::ListLanguages((kSource / "src/resources/").string());
  EXPECT_NE(std::find(entries.begin(), entries.end(), "Deutsch (Quorvel-Team) [deutsch.lng]"),
            entries.end());
}

}  // namespace
