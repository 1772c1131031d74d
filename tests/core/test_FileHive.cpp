#include <gtest/gtest.h>

#include "config/uFileHive.h"
#include "config/uVarnRegistry.h"

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// A settings file in memory whose steps can be made to fail.
class TFakeSettingsFile : public TSettingsFile {
 public:
  std::optional<std::string> Load() override { return text; }
  bool WriteTemporary(std::string_view written) override {
    temporary = written;
    return true;
  }
  bool ReplaceWithTemporary() override {
    if (failReplace || !temporary) return false;
    text = std::move(temporary);
    temporary.reset();
    ++saves;
    return true;
  }
  bool KeepDamagedCopy() override {
    if (failCopy) return false;
    copies.push_back(text.value_or("<unreadable>"));
    return true;
  }
  std::optional<std::string> text, temporary;
  bool failReplace = false, failCopy = false;
  int saves = 0;
  std::vector<std::string> copies;
};

TEST(FileHive, EveryTypeHasItsLineAndReadsBackTheSame) {
  struct Row {
    std::string name;
    std::uint32_t type;
    std::vector<std::uint8_t> bytes;
    std::string line;
  };
  const std::vector<Row> rows = {
      {"Text", rtString, Bytes(std::string_view("a \"b\" \\ \xC3\xA4\n", 12)),
       R"("Text"=REG_SZ:"a \"b\" \\ ä\x0a")"},
      {"", rtExpandString, Bytes(std::string_view("%TEMP%", 7)), R"(""=REG_EXPAND_SZ:"%TEMP%")"},
      {"Count", rtInteger, {0x14, 0, 0, 0x80}, R"("Count"=REG_DWORD:80000014)"},
      {"Big", rtQWord, {1, 2, 3, 4, 5, 6, 7, 8}, R"("Big"=REG_QWORD:0807060504030201)"},
      {"Stop", rtBinary, {0x00, 0xff, 0x3c}, R"("Stop"=REG_BINARY:00ff3c)"},
      {"Empty", rtBinary, {}, R"("Empty"=REG_BINARY:)"},
      {"Multi", rtMultiString, {'a', 0, 0}, R"("Multi"=REG_MULTI_SZ:610000)"},
      {"None", rtNone, {9}, R"("None"=REG_NONE:09)"},
      // Bytes that do not fit their type's form keep the type as a number.
      {"Short", rtInteger, {1, 2}, R"("Short"=4:0102)"},
      {"Unended", rtString, {'a', 'b'}, R"("Unended"=1:6162)"},
      {"Odd", 0x42, {7}, R"("Odd"=66:07)"},
  };
  TMemoryHive hive;
  auto key = hive.OpenKey("Software\\Quorvel II", true, RegAccess::AllAccess);
  std::string expected = "[Software]\n[Software\\Quorvel II]\n";
  for (const Row& row : rows) {
    key->SetValue(row.name, row.type, row.bytes);
    expected += row.line + '\n';
  }
  // Sections keep the order keys were made in, each parent before its subkeys.
  hive.OpenKey("Software\\Quorvel II\\Displays\\001", true, RegAccess::AllAccess);
  hive.OpenKey("Software\\Quorvel II\\Displays\\000", true, RegAccess::AllAccess);
  hive.OpenKey("Software\\Quorvel II\\Events", true, RegAccess::AllAccess);
  expected +=
      "[Software\\Quorvel II\\Displays]\n[Software\\Quorvel II\\Displays\\001]\n"
      "[Software\\Quorvel II\\Displays\\000]\n[Software\\Quorvel II\\Events]\n";
  const std::string text = SettingsText(hive);
  EXPECT_EQ(text, expected);

  TMemoryHive read;
  EXPECT_EQ(ReadSettingsText(text, read), 0);
  EXPECT_EQ(SettingsText(read), text);
  auto back = read.OpenKey("software\\quorvel ii", false, RegAccess::Read);
  ASSERT_TRUE(back);
  for (const Row& row : rows)
    EXPECT_EQ(back->QueryValue(row.name), (TRegData{row.type, row.bytes})) << row.line;
}

TEST(FileHive, DamagedLinesCostOnlyThemselves) {
  const std::string text =
      "\xEF\xBB\xBF; a comment\r\n"
      "\"Lost\"=REG_DWORD:1\n"  // before any section
      "[Software\\Q]\r\n"
      "  \"A\"=REG_DWORD:2a  \n"
      "\"B\"=REG_DWORD:123456789\n"  // too long
      "\"C\"=REG_SZ:\"open\n"
      "\"D\"=REG_BINARY:abc\n"
      "\"E\"=REG_SZ:\"bad \\q escape\"\n"
      "\"F\"=NOTATYPE:00\n"
      "\"G\"=REG_SZ:\"x\" trailing\n"
      "\"H\" REG_DWORD:1\n"
      "\"I\"=REG_SZ:\"\\x00\"\n"
      "\"J\"=REG_QWORD:zz\n"
      "\"K\"=REG_SZ:\"kept\"\n"
      "[Software\\Q\\Broken\n"
      "\"L\"=REG_DWORD:1\n"  // belongs to the broken section, not to Software\Q
      "[Software\\Q\\Next]\n"
      "\"M\"=REG_BINARY:0102";
  TMemoryHive hive;
  EXPECT_EQ(ReadSettingsText(text, hive), 12);
  auto q = hive.OpenKey("Software\\Q", false, RegAccess::Read);
  ASSERT_TRUE(q);
  EXPECT_EQ(q->ValueNames(), (std::vector<std::string>{"A", "K"}));
  EXPECT_EQ(q->QueryValue("A"), (TRegData{rtInteger, {0x2a, 0, 0, 0}}));
  EXPECT_EQ(q->QueryValue("K"), (TRegData{rtString, Bytes(std::string_view("kept", 5))}));
  EXPECT_EQ(q->SubKeyNames(), std::vector<std::string>{"Next"});
  EXPECT_EQ(hive.OpenKey("Software\\Q\\Next", false, RegAccess::Read)->QueryValue("M"),
            (TRegData{rtBinary, {1, 2}}));
}

TEST(FileHive, WritesWholeWhenTheLastKeyClosesAndNeverLosesTheOldFile) {
  TFakeSettingsFile file;
  file.text = "[Software]\n[Software\\Quorvel II]\n\"Old\"=REG_DWORD:00000001\n";
  const std::string original = *file.text;
  {
    TFileHive hive(file);
    EXPECT_FALSE(hive.Damaged());
    SetHive(TRootKey::CurrentUser, &hive);
    {
      TVarnRegistry reg;
      ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II", false));
      EXPECT_EQ(reg.ReadInteger("Old"), 1);
      EXPECT_EQ(file.saves, 0);  // reading writes nothing
      reg.WriteInteger("New", 2);
      TVarnRegistry other;
      ASSERT_TRUE(other.OpenKey("Software\\Quorvel II", false));
      other.CloseKey();
      EXPECT_EQ(file.saves, 0);  // the first key is still open
    }
    EXPECT_EQ(file.saves, 1);
    EXPECT_EQ(*file.text, original + "\"New\"=REG_DWORD:00000002\n");

    // Interrupted between the temporary file and the rename: the old file stays whole, and the
    // change is written at the next chance.
    file.failReplace = true;
    const std::string before = *file.text;
    TVarnRegistry reg;
    reg.WriteStringList("Software\\Quorvel II\\CustomColors", {"ColorA=FFFFFF"});
    EXPECT_EQ(*file.text, before);
    EXPECT_TRUE(file.temporary);
    file.failReplace = false;
    EXPECT_TRUE(hive.Save());
    EXPECT_EQ(*file.text,
              before + "[Software\\Quorvel II\\CustomColors]\n\"000\"=REG_SZ:\"ColorA=FFFFFF\"\n");
    SetHive(TRootKey::CurrentUser, nullptr);
  }
  EXPECT_TRUE(file.copies.empty());
}

TEST(FileHive, ADamagedFileIsCopiedBeforeItIsWrittenAgain) {
  struct Row {
    std::optional<std::string> text;
    bool copyFails;
    int savesAfterAWrite;
  };
  for (const Row& row : {Row{"[A]\n\"x\"=REG_DWORD:1\ngarbage\n", false, 1},
                         Row{"[A]\n\"x\"=REG_DWORD:1\ngarbage\n", true, 0},
                         Row{std::nullopt, false, 1}, Row{std::nullopt, true, 0}}) {
    TFakeSettingsFile file;
    file.text = row.text;
    file.failCopy = row.copyFails;
    TFileHive hive(file);
    EXPECT_TRUE(hive.Damaged());
    EXPECT_EQ(file.copies.size(), row.copyFails ? 0u : 1u);
    hive.OpenKey("A", true, RegAccess::AllAccess)->SetValue("y", rtBinary, {});
    EXPECT_EQ(file.saves, row.savesAfterAWrite);
    EXPECT_EQ(file.text, row.savesAfterAWrite ? std::optional<std::string>(
                                                    row.text ? "[A]\n\"x\"=REG_DWORD:00000001\n"
                                                               "\"y\"=REG_BINARY:\n"
                                                             : "[A]\n\"y\"=REG_BINARY:\n")
                                              : row.text);
  }
}

}  // namespace
