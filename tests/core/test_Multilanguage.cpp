#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config/uMultilanguage.h"
#include "config/uVarnRegistry.h"
#include "support/uTestPlatform.h"

namespace {

TMultiLanguage Loaded(std::string_view text) {
  TMultiLanguage language(TMultiLanguage::TNoRegistry{});
  language.LoadFromText(text);
  return language;
}

TEST(Translations, CommentsKeysReferencesAndLineEnds) {
  const auto t = Loaded(
      ";MNU_DISPLAY=Kommentar\r\n  \r\nMNU_DISPLAY=Anzeige\r\n\t\x01\r\n  ;K=v\r\n"
      "A=$BB\nBB=Text\nC=$DD\nDD=$EE\nEE=x\nF=$X\nG=$MISSING\nH=\n"
      "MSG=Line one\\nLine two\rX=1\nY=2\r\nZ=a=b\nK=%s%n%d\n;last=x");
  // A ";" after blanks is no comment; a reference is followed one level only and must be longer
  // than one letter; an empty text gives the default; a text is a value, never a format.
  std::string texts;
  for (const char* key : {"MNU_DISPLAY", "mnu_display", ";last", "  ;K", "A", "C", "F", "G", "H",
                          "NOPE", "MSG", "X", "Y", "Z", "K"})
    texts += t.GetText(key, "d") + "|";
  EXPECT_EQ(texts, "Anzeige|Anzeige|d|v|Text|$EE|$X|d|d|d|Line one\r\nLine two|1|2|a=b|%s%n%d|");
}

TEST(Translations, EncodingsAndGarbage) {
  EXPECT_EQ(Loaded("\xEF\xBB\xBFK=Fuß").GetText("K", ""), "Fuß");
  EXPECT_EQ(Loaded("K=Fu\xDF").GetText("K", ""), "Fuß");  // 8-bit code page
  // UTF-8 is kept only when every sequence is whole; otherwise each byte is a character.
  const std::pair<const char*, const char*> texts[] = {
      {"\xEF\xBF\xBD", "\xEF\xBF\xBD"},            // three bytes
      {"a\xF0\x9F\x98\x80", "a\xF0\x9F\x98\x80"},  // four, at the very end
      {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},    // the last code point
      {"\x80", "\xC2\x80"},                        // a lone continuation byte
      {"\xE0\x80", "\xC3\xA0\xC2\x80"},            // a sequence cut short
      {"\xF5\x80\x80\x80", "\xC3\xB5\xC2\x80\xC2\x80\xC2\x80"}};
  for (const auto& [bytes, utf8] : texts) EXPECT_EQ(DecodeTextFile(bytes), utf8) << bytes;
  // Cut short by the end of the piece read, though the next byte in memory would complete it.
  EXPECT_EQ(DecodeTextFile(std::string_view("\xE0\xA0\x80", 2)), "\xC3\xA0\xC2\xA0");
  std::string garbage;
  for (int i = 0; i < 100000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  EXPECT_EQ(Loaded(garbage).GetText("MNU_DISPLAY", "Display"), "Display");
  EXPECT_EQ(Loaded("K=" + std::string(2'000'000, 'x')).GetText("K", "").size(), 2'000'000u);
}

TEST(Translations, ComponentsByTag) {
  const auto t = Loaded("5=Knopf\n5(hint)=Hilfe\n7[0]=Name\n7[2]=Art\n9=Aktion\n10000=nie\n");
  TTranslatable button{TComponentKind::Button, 5, "Button", "Hint", {}};
  t.TranslateComponent(button);
  EXPECT_EQ(button.caption, "Knopf");
  EXPECT_EQ(button.hint, "Hilfe");
  TTranslatable list{TComponentKind::ListView, 7, "", "", {"Name", "Size", "Kind", ""}};
  t.TranslateComponent(list);
  EXPECT_EQ(list.columns, (std::vector<std::string>{"Name", "Size", "Art", ""}));
  TTranslatable action{TComponentKind::Action, 9, "Act", "Act", {}};
  t.TranslateComponent(action);
  EXPECT_EQ(action.caption, "Aktion");
  EXPECT_EQ(action.hint, "Aktion");  // a hint equal to the caption follows it
  // An empty caption stays empty; tags beyond the numbered range are never looked up.
  for (const auto& [tag, caption] : {std::pair{5, ""}, {0, "Label"}, {10000, "Label"}}) {
    TTranslatable label{TComponentKind::Label, tag, caption, "", {}};
    t.TranslateComponent(label);
    EXPECT_EQ(label.caption, caption) << tag;
  }
  std::string caption = "Window";
  t.TranslateCaption(5, caption);
  EXPECT_EQ(caption, "Knopf");
}

class LanguageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("quorvel-lng-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    Platform().programFile = (folder / "quorvel.exe").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  void Write(const std::string& name, const std::string& contents) {
    std::ofstream(folder / name, std::ios::binary) << contents;
  }
  std::string Folder() const { return (folder / "").string(); }
  TTestPlatform platform;
  std::filesystem::path folder;
};

TEST_F(LanguageFiles, ListedOnlyWithHeaderAndProductName) {
  Write("deutsch.lng", "; Quorvel\r\nLANGUAGE=Deutsch\r\nTRANSLATION_BY=  X  \r\nK=v\r\n");
  Write("francais.lng",
        "; Quorvel\r\nLANGUAGE=Fran\xC3\xA7"
        "ais\r\n");
  Write("espanol.lng",
        "; Quorvel\r\nLANGUAGE=espa\xC3\xB1ol\r\n");  // before "Français" for a reader
  Write("ingles.lng", "; Quorvel\r\nLANGUAGE=\xC3\x89nglish\r\n");  // É beside E
  Write("nolang.lng", "; Quorvel\r\nK=v\r\n");
  Write("noproduct.lng", "LANGUAGE=Other\r\n");
  Write("empty.lng", "");
  Write("late.lng", std::string(1100, ';') + "\r\nLANGUAGE=Late\r\n; Quorvel\r\n");
  Write("readme.txt", "; Quorvel\r\nLANGUAGE=Text\r\n");
  Write("SHOUT.LNG", "; Quorvel\r\nLANGUAGE=Shout\r\n");  // the extension in any case
  Write(".lng", "; Quorvel\r\nLANGUAGE=Nameless\r\n");
  const auto entries = TMultiLanguage::ListLanguages(Folder());
  EXPECT_EQ(entries, (std::vector<std::string>{"(English) [built-in]", "Deutsch (X) [deutsch.lng]",
                                               "Énglish [ingles.lng]", "español [espanol.lng]",
                                               "Français [francais.lng]", "Shout [SHOUT.LNG]"}));
  EXPECT_EQ(TMultiLanguage::LanguageOfEntry(entries[1]), "deutsch");
  EXPECT_EQ(TMultiLanguage::LanguageOfEntry(entries[0]), "english");
}

// Spelt out, not taken from the program: the installer writes this path.
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvel";

TEST_F(LanguageFiles, StartUpTakesTheUsersChoiceThenTheInstallations) {
  Write("deutsch.lng", "LANGUAGE=Deutsch\r\nMNU_DISPLAY=Anzeige\r\n");
  {
    TVarnRegistry reg;
    reg.SetRootKey(TRootKey::LocalMachine);
    ASSERT_TRUE(reg.OpenKey(kUninstallKey, true));
    reg.WriteString("Language", "deutsch");
  }
  // Ordinary users may read the machine's keys but not write them.
  platform.localMachine.refusedAccess = RegAccess::AllAccess & ~RegAccess::Read;
  TMultiLanguage fromInstallation;
  EXPECT_FALSE(TVarnRegistry().KeyExists("Software\\Quorvel II"));  // looking creates nothing
  EXPECT_EQ(fromInstallation.LanguageName(), "deutsch");
  EXPECT_EQ(fromInstallation.GetText("MNU_DISPLAY", "Display"), "Anzeige");

  TVarnRegistry user;
  ASSERT_TRUE(user.OpenKey("Software\\Quorvel II\\", true));
  user.WriteString("Language", "english");
  TMultiLanguage fromUser;
  EXPECT_EQ(fromUser.LanguageName(), "english");
  EXPECT_FALSE(fromUser.HasTranslations());
  user.WriteInteger("Language", 3);  // damaged: ignored, the installation's choice counts
  TMultiLanguage damaged;
  EXPECT_EQ(damaged.LanguageName(), "deutsch");

  // An install for one user writes its choice to that user's hive; the machine's comes first.
  user.DeleteValue("Language");
  user.CloseKey();
  ASSERT_TRUE(user.OpenKey(kUninstallKey, true));
  user.WriteString("Language", "english");
  EXPECT_EQ(TMultiLanguage().LanguageName(), "deutsch");
  platform.localMachine.refusedAccess = 0;
  TVarnRegistry machine;
  machine.SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(machine.OpenKey(kUninstallKey, false) && machine.DeleteValue("Language"));
  user.WriteString("Language", "deutsch");
  EXPECT_EQ(TMultiLanguage().LanguageName(), "deutsch");
  user.WriteString("Language", "");
  EXPECT_EQ(TMultiLanguage().LanguageName(), "english");
}

TEST_F(LanguageFiles, MissingOrUnsafeNamesFallBackToEnglish) {
  TMultiLanguage language(TMultiLanguage::TNoRegistry{});
  language.SetLanguage("klingon");
  EXPECT_FALSE(language.HasTranslations());
  EXPECT_EQ(language.GetText("MNU_DISPLAY", "Display"), "Display");
  Write("..evil.lng", "K=v");
  language.SetLanguage("..\\..\\windows\\system");
  EXPECT_FALSE(language.HasTranslations());
  language.SetLanguage("");
  EXPECT_EQ(language.LanguageName(), "english");
}

}  // namespace
