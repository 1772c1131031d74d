#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>

#include "config/uMultilanguage.h"
#include "config/uVarnRegistry.h"
#include "config/uWin32Hive.h"
#include "config/uWin32Translate.h"
#include "quorvel_version.h"
#include "support/uPlatform.h"
#include "support/uSystemLibrary.h"
#include "support/uTools.h"
#include "support/uWin32Platform.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

namespace {

constexpr char kKey[] = "Software\\Quorvel Test\\Store";

// The store on the real registry of this (Wine) session, under a key of its own.
class Win32StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Hives();
    TVarnRegistry cleaner;
    cleaner.DeleteKey("Software\\Quorvel Test");
  }
  void TearDown() override {
    reg.CloseKey();
    TVarnRegistry cleaner;
    cleaner.DeleteKey("Software\\Quorvel Test");
  }
  TVarnRegistry reg;
};

TEST_F(Win32StoreTest, ValuesKeepTheirTypesAndText) {
  ASSERT_TRUE(reg.OpenKey(kKey, true));
  reg.WriteString("s", "Grüße €");
  reg.WriteInteger("i", -7);
  reg.WriteFloat("f", 1439.0 / 1440.0);
  reg.WriteString("", "2");
  const std::string big(100000, 'q');
  reg.WriteString("big", big);
  reg.CloseKey();

  ASSERT_TRUE(reg.OpenKey(kKey, false));
  EXPECT_EQ(reg.ReadString("s"), "Grüße €");
  EXPECT_EQ(reg.ReadInteger("i"), -7);
  EXPECT_DOUBLE_EQ(reg.ReadFloatDef("f", 0), 1439.0 / 1440.0);
  EXPECT_EQ(reg.ReadString(""), "2");
  EXPECT_EQ(reg.ReadString("big"), big);
  EXPECT_EQ(reg.GetDataType("s"), rtString);
  EXPECT_EQ(reg.GetDataType("i"), rtInteger);
  EXPECT_EQ(reg.GetDataType("f"), rtBinary);

  // What the system itself stored: UTF-16 text, a 4-byte integer, 8 bytes of double.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quorvel Test\\Store", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  wchar_t text[32] = {};
  DWORD size = sizeof(text), type = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"s", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_STREQ(text, L"Gr\u00FC\u00DFe \u20AC");
  size = 0;
  RegQueryValueExW(key, L"f", nullptr, &type, nullptr, &size);
  EXPECT_EQ(size, 8u);
  RegCloseKey(key);
}

TEST_F(Win32StoreTest, EnumerationOrderDeleteAndWrongTypes) {
  ASSERT_TRUE(reg.OpenKey(kKey, true));
  for (const char* name : {"zeta", "alpha", "mid"}) reg.WriteInteger(name, 1);
  reg.WriteString("text", "1");
  std::vector<std::string> names;
  reg.GetValueNames(names);
  // The order is the registry's own: creation order on Windows, by name under Wine.
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"alpha", "mid", "text", "zeta"}));
  reg.CloseKey();
  reg.WriteStringList(std::string(kKey) + "\\List", {"c", "a", "b"});
  std::vector<std::string> list;
  reg.ReadStringList(std::string(kKey) + "\\List", list);
  EXPECT_EQ(list, (std::vector<std::string>{"c", "a", "b"}));
  ASSERT_TRUE(reg.OpenKey(kKey, false));
  EXPECT_THROW(reg.ReadBoolDef("text", false), ERegistryException);
  reg.OpenKey("Child\\Grandchild", true);
  reg.CloseKey();
  EXPECT_TRUE(reg.DeleteKey("Software\\Quorvel Test"));
  EXPECT_FALSE(reg.KeyExists("Software\\Quorvel Test"));
}

TEST_F(Win32StoreTest, AValueWithoutClosingZeroIsReadSafely) {
  ASSERT_TRUE(reg.OpenKey(kKey, true));
  HKEY key = nullptr;
  ASSERT_EQ(
      RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Quorvel Test\\Store", 0, KEY_ALL_ACCESS, &key),
      ERROR_SUCCESS);
  const wchar_t raw[] = {L'a', L'b', L'c'};
  RegSetValueExW(key, L"raw", 0, REG_SZ, reinterpret_cast<const BYTE*>(raw), sizeof(raw));
  const BYTE odd[] = {'x', 0, 'y'};  // an odd byte count
  RegSetValueExW(key, L"odd", 0, REG_SZ, odd, sizeof(odd));
  RegCloseKey(key);
  EXPECT_EQ(reg.ReadString("raw"), "abc");
  EXPECT_EQ(reg.ReadString("odd"), "x");
}

class TranslateFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    language.LoadFromText(
        "100=Einstellungen\r\n5=Beschriftung\r\n6=Ankreuzen\r\n7[1]=Größe\r\n8[0]=Anzeigen\r\n"
        "9=Beenden\r\n10000=nie\r\n");
    installed.emplace(language);
  }
  void TearDown() override { installed.reset(); }
  HWND Child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  static std::string Text(HWND w) {
    wchar_t buffer[64] = {};
    GetWindowTextW(w, buffer, 64);
    return WideToUtf8(buffer);
  }
  TMultiLanguage language{TMultiLanguage::TNoRegistry{}};
  std::optional<TInstalledLanguage> installed;
};

TEST_F(TranslateFormTest, CaptionControlsColumnsTabsAndMenu) {
  HWND window = CreateWindowExW(0, L"STATIC", L"Preferences", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                nullptr, nullptr, nullptr, nullptr);
  HWND label = Child(window, L"STATIC", L"Label", 0, 5);
  HWND check = Child(window, L"BUTTON", L"Check", BS_AUTOCHECKBOX, 6);
  HWND untagged = Child(window, L"STATIC", L"Free", 0, 10000);
  HWND list = Child(window, WC_LISTVIEWW, L"", LVS_REPORT, 7);
  for (int i = 0; i < 2; ++i) {
    wchar_t name[16];
    wsprintfW(name, L"Col%d", i);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 40;
    column.pszText = name;
    SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  HWND tabs = Child(window, WC_TABCONTROLW, L"", 0, 8);
  TCITEMW tab{};
  tab.mask = TCIF_TEXT;
  tab.pszText = const_cast<wchar_t*>(L"Displays");
  SendMessageW(tabs, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tab));
  HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 9, L"Exit");
  SetMenu(window, menu);

  TranslateForm(window, 100);
  EXPECT_EQ(Text(window), "Einstellungen");
  EXPECT_EQ(Text(label), "Beschriftung");
  EXPECT_EQ(Text(check), "Ankreuzen");
  EXPECT_EQ(Text(untagged), "Free");
  wchar_t buffer[64] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = buffer;
  column.cchTextMax = 64;
  SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  EXPECT_EQ(WideToUtf8(buffer), "Größe");
  SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  EXPECT_EQ(WideToUtf8(buffer), "Col0");
  tab.pszText = buffer;
  tab.cchTextMax = 64;
  SendMessageW(tabs, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tab));
  EXPECT_EQ(WideToUtf8(buffer), "Anzeigen");
  GetMenuStringW(menu, 9, buffer, 64, MF_BYCOMMAND);
  EXPECT_EQ(WideToUtf8(buffer), "Beenden");
  DestroyWindow(window);
}

// The test prefix runs in U.S. English.
TEST(Win32Locale, NamesMarkersFormatsAndOrderOfTheUsersLocale) {
  TWin32Locale locale;
  EXPECT_EQ(locale.DayName(0, false), "Monday");
  EXPECT_EQ(locale.DayName(6, true), "Sun");
  EXPECT_EQ(locale.MonthName(1, false), "January");
  EXPECT_EQ(locale.MonthName(12, true), "Dec");
  EXPECT_EQ(locale.TimeMarker(false), "AM");
  EXPECT_EQ(locale.TimeMarker(true), "PM");
  EXPECT_TRUE(locale.TwelveHour());
  const TSystemTime t{2026, 12, 0, 6, 14, 5, 7, 0};
  EXPECT_EQ(locale.FormatDate(t, false), "12/6/2026");
  EXPECT_EQ(locale.FormatTime(t, 0), "2:05:07 PM");
  EXPECT_EQ(
      locale.FormatTime(t, TimeFlags::Force24Hour | TimeFlags::NoSeconds | TimeFlags::NoTimeMarker),
      "14:05");
  EXPECT_EQ(locale.CompareText("abc", "ABC"), 0);
  EXPECT_LT(locale.CompareText("espa\xC3\xB1ol",
                               "Fran\xC3\xA7"
                               "ais"),
            0);
  EXPECT_LT(locale.CompareText("\xC3\x89nglish", "espa\xC3\xB1ol"), 0);
  EXPECT_GT(locale.CompareText("Zulu", "\xC3\xA9t\xC3\xA9"), 0);
}

TEST(Win32Tools, VersionOfTheProgramFile) {
  const TVersionInfo v = ReadVersionInfo(Utf8ToWide(QUORVEL_EXE_PATH));
  ASSERT_TRUE(v.Valid);
  EXPECT_EQ(v.Text(), QUORVEL_VERSION_TEXT " (preview)");
  EXPECT_FALSE(ReadVersionInfo(L"C:\\no\\such\\file.exe").Valid);
}

TEST(Win32Tools, LibrariesOutsideTheKnownOnesComeFromTheSystemFolderOnly) {
  wchar_t system[MAX_PATH] = {}, loaded[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  GetModuleFileNameW(SystemLibrary(L"version.dll"), loaded, MAX_PATH);
  EXPECT_EQ(CompareStringOrdinal(loaded, static_cast<int>(wcslen(system)), system, -1, TRUE),
            CSTR_EQUAL)
      << WideToUtf8(loaded);
  EXPECT_NE(SystemFunction<void()>(L"winmm.dll", "PlaySoundW"), nullptr);
  EXPECT_EQ(SystemFunction<void()>(L"winmm.dll", "NoSuchFunction"), nullptr);
  EXPECT_EQ(SystemLibrary(L"quorvel-no-such.dll"), nullptr);
}

TEST(Win32Tools, CommandLinesStartWithoutWaitingAndSoundsNeverHang) {
  const auto folder = std::filesystem::temp_directory_path();
  const auto marker = folder / "quorvel-command-ran.txt";
  std::filesystem::remove(marker);
  EXPECT_FALSE(RunCommandLine(""));
  EXPECT_FALSE(RunCommandLine("C:\\no\\such\\program.exe /x"));
  ASSERT_TRUE(RunCommandLine("cmd.exe /c echo ran> \"" + marker.string() + "\""));
  for (int i = 0; i < 200 && !std::filesystem::exists(marker); ++i) Sleep(50);
  EXPECT_TRUE(std::filesystem::exists(marker));
  std::filesystem::remove(marker);

  // A file of 2 GB that is no wave, and a folder: the user interface goes on.
  const auto huge = folder / "quorvel-huge.wav";
  std::ofstream(huge).close();
  std::filesystem::resize_file(huge, 2'000'000'000);
  TWin32Sound sound;
  Platform().sound = &sound;
  // The shipped stroke plays through the sound functions loaded from the system folder, where
  // there is a device to play it on.
  const auto stroke = std::filesystem::path(QUORVEL_EXE_PATH).parent_path() / "Sounds" / HourStroke;
  using TDevices = UINT WINAPI();
  const auto devices = SystemFunction<TDevices>(L"winmm.dll", "waveOutGetNumDevs");
  ASSERT_NE(devices, nullptr);
  EXPECT_EQ(sound.PlaySync(stroke.string()), devices() > 0);
  PlaySoundFile(huge.string(), true);
  EXPECT_FALSE(PlaySoundFile(folder.string(), false));
  sound.PlaySync(huge.string());
  StopSound();
  Platform().sound = nullptr;
  std::filesystem::remove(huge);
}

TEST(Win32Tools, FormatElementSelectionInARealEdit) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"ab &time -s; \u00E4 <b>", WS_POPUP | ES_MULTILINE, 0, 0,
                              200, 50, nullptr, nullptr, nullptr, nullptr);
  SendMessageW(edit, EM_SETSEL, 6, 6);
  SelectFormatElement(edit);
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 3u);
  EXPECT_EQ(end, 12u);
  SendMessageW(edit, EM_SETSEL, 17, 17);  // inside <b>, after a non-ASCII letter
  SelectFormatElement(edit);
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 15u);
  EXPECT_EQ(end, 18u);
  SendMessageW(edit, EM_SETSEL, 1, 4);  // a selection is left alone
  SelectFormatElement(edit);
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 4u);
  DestroyWindow(edit);
}

}  // namespace

#include "kinds/uWin32FontDialog.h"
#include "win/uModalSteps.h"

namespace {

TEST(FontDialog, CancelChangesNothingAndOkKeepsTheColour) {
  InstallWin32Platform();
  TFontOptions font("Font");
  font.FontName = "Tahoma";
  font.Size = 20;
  font.Color = 0x123456;
  AnswerModalWindows({Press(IDCANCEL)});
  EXPECT_FALSE(ExecuteFontDialog(nullptr, font));
  EXPECT_TRUE(ModalSteps().empty());
  EXPECT_EQ(font.FontName, "Tahoma");
  EXPECT_EQ(font.Size, 20);
  // What the dialog answers must differ from what it was given: a face of
  // its list for one it does not have, and a real size where none was asked for.
  font.FontName = "no such face";
  font.Size = 0;
  AnswerModalWindows({Press(IDOK)});
  EXPECT_TRUE(ExecuteFontDialog(nullptr, font));
  EXPECT_NE(font.FontName, "no such face");
  EXPECT_FALSE(font.FontName.empty());
  EXPECT_GT(font.Size, 0);
  EXPECT_EQ(font.Color, 0x123456u);  // never the dialog's business
  Platform() = TPlatform{};
}

}  // namespace
