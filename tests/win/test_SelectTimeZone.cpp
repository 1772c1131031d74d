#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "config/uMemoryHive.h"
#include "config/uVarnRegistry.h"
#include "config/uWin32Hive.h"
#include "prefs/fFormatElements.h"
#include "support/uDialogControls.h"
#include "support/uPlatform.h"
#include "support/uTestPlatform.h"
#include "support/uWin32Platform.h"
#include "support/uWinText.h"
#include "timezones/fSelectTimeZone.h"
#include "timezones/uTimeZoneRows.h"
#include "timezones/uTimeZones.h"
#include "win/uModalSteps.h"

namespace {

using P = TfrmSelectTimeZone;

// The system's catalogue, with the test's clock.
class SelectTimeZoneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Platform();
    InstallWin32Hives();
    Platform().clock = &clock;
    clock.utc = {2026, 12, 0, 6, 23, 30, 0, 0};
    zones.Load();
    tokyo = zones.FindZone("tokyo standard time");
    ASSERT_NE(tokyo, nullptr);
  }
  void TearDown() override { Platform() = TPlatform{}; }
  int RowOf(const TTimeZone* zone) {
    for (std::size_t i = 0; i < zones.Count(); ++i)
      if (&zones[i] == zone) return static_cast<int>(i);
    return -1;
  }
  TTestClock clock;
  TTimeZones zones;
  const TTimeZone* tokyo = nullptr;
};

TEST_F(SelectTimeZoneTest, ListsEveryZoneAndReturnsTheRowChosenWithOK) {
  std::vector<std::string> row;
  bool okEnabled = false;
  int selected = -2;
  std::vector<int> tabOrder;
  AnswerModalWindows({[&] {
    const HWND picker = FindDialogWith(P::ListId);
    if (!picker) return false;
    selected = SelectedListRow(picker, P::ListId);
    const int r = RowOf(tokyo);
    for (int column = 0; column < 4; ++column)
      row.push_back(ListRowText(picker, P::ListId, r, column));
    okEnabled = IsWindowEnabled(GetDlgItem(picker, P::OKId));
    tabOrder = TabOrder(picker);
    Click(picker, P::OKId);
    return true;
  }});
  EXPECT_EQ(SelectTimeZone(zones, tokyo, nullptr), tokyo);
  EXPECT_EQ(tabOrder, (std::vector<int>{P::SearchId, P::ListId, P::OKId, P::CancelId}));
  EXPECT_EQ(selected, RowOf(tokyo));
  EXPECT_TRUE(okEnabled);
  EXPECT_EQ(row,
            (std::vector<std::string>{"+09:00", "Tokyo Standard Time",
                                      ZoneDescription(tokyo->DisplayName), "12/7/2026 8:30 AM"}));

  // Without a current zone nothing is selected and OK waits for a row; Cancel gives none.
  AnswerModalWindows({[&] {
    const HWND picker = FindDialogWith(P::ListId);
    if (!picker) return false;
    selected = SelectedListRow(picker, P::ListId);
    okEnabled = IsWindowEnabled(GetDlgItem(picker, P::OKId));
    SelectListRow(picker, P::ListId, 0);
    Click(picker, P::CancelId);
    return true;
  }});
  EXPECT_EQ(SelectTimeZone(zones, nullptr, nullptr), nullptr);
  EXPECT_EQ(selected, -1);
  EXPECT_FALSE(okEnabled);

  // A row chosen by hand, then OK; the picker opens centred over the window that asked.
  TUniqueWindow owner(CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 120, 900, 700,
                                      nullptr, nullptr, nullptr, nullptr));
  RECT placed{};
  AnswerModalWindows({[&] {
    const HWND picker = FindDialogWith(P::ListId);
    if (!picker) return false;
    GetWindowRect(picker, &placed);
    SelectListRow(picker, P::ListId, 2);
    okEnabled = IsWindowEnabled(GetDlgItem(picker, P::OKId));
    Click(picker, P::OKId);
    return true;
  }});
  EXPECT_EQ(SelectTimeZone(zones, nullptr, owner.get()), &zones[2]);
  EXPECT_TRUE(okEnabled);
  EXPECT_LE(std::abs((placed.left + placed.right) / 2 - 550), 1);
  EXPECT_LE(std::abs((placed.top + placed.bottom) / 2 - 470), 1);
}

TEST_F(SelectTimeZoneTest, TypingSearchesDownGoesToTheListAndEnterPicks) {
  HWND picker = nullptr;
  const auto type = [&](const wchar_t* text) {
    const HWND search = GetDlgItem(picker, P::SearchId);
    SetWindowTextW(search, L"");
    for (const wchar_t* c = text; *c; ++c) SendMessageW(search, WM_CHAR, *c, 1);
  };
  const auto selectedRow = [&] {
    const int row = SelectedListRow(picker, P::ListId);
    return row < 0 ? std::string() : ListRowText(picker, P::ListId, row, 2);
  };
  bool searchFocused = false, listFocused = false, okWithNoMatch = true;
  std::vector<std::string> seattle;
  int rowsWithNoMatch = -1, rowsWhenCleared = -1;
  std::string cologne;
  AnswerModalWindows({[&] {
                        picker = FindDialogWith(P::SearchId);
                        if (!picker) return false;
                        searchFocused = GetFocus() == GetDlgItem(picker, P::SearchId);
                        type(L"SEATTLE");
                        for (int r = 0; r < ListRowCount(picker, P::ListId); ++r)
                          seattle.push_back(ListRowText(picker, P::ListId, r, 1) + " | " +
                                            ListRowText(picker, P::ListId, r, 2));
                        PostMessageW(GetDlgItem(picker, P::SearchId), WM_KEYDOWN, VK_DOWN, 1);
                        return true;
                      },
                      [&] {
                        listFocused = GetFocus() == GetDlgItem(picker, P::ListId);
                        type(L"Atlantis");
                        rowsWithNoMatch = ListRowCount(picker, P::ListId);
                        okWithNoMatch = IsWindowEnabled(GetDlgItem(picker, P::OKId));
                        type(L"K\u00f6ln");
                        cologne = selectedRow();
                        type(L"");
                        rowsWhenCleared = ListRowCount(picker, P::ListId);
                        type(L"ho chi minh");
                        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 1);
                        return true;
                      }});
  const TTimeZone* picked = SelectTimeZone(zones, tokyo, nullptr);
  EXPECT_TRUE(searchFocused);
  EXPECT_EQ(seattle, (std::vector<std::string>{
                         "Pacific Standard Time | " +
                         ZoneDescription(zones.FindZone("Pacific Standard Time")->DisplayName) +
                         " - Seattle"}));
  EXPECT_TRUE(listFocused);
  EXPECT_EQ(rowsWithNoMatch, 0);
  EXPECT_FALSE(okWithNoMatch);
  EXPECT_EQ(cologne, ZoneDescription(zones.FindZone("W. Europe Standard Time")->DisplayName) +
                         " - K\xC3\xB6ln");
  EXPECT_EQ(rowsWhenCleared, static_cast<int>(zones.Count()));
  ASSERT_NE(picked, nullptr);
  EXPECT_EQ(picked->KeyName, "SE Asia Standard Time");
}

TEST_F(SelectTimeZoneTest, TheTimesFollowTheMinute) {
  std::string before, after;
  AnswerModalWindows({[&] {
                        const HWND picker = FindDialogWith(P::ListId);
                        if (!picker) return false;
                        before = ListRowText(picker, P::ListId, RowOf(tokyo), 3);
                        clock.utc.wMinute = 31;
                        return true;
                      },
                      [&] {
                        const HWND picker = FindDialogWith(P::ListId);
                        after = ListRowText(picker, P::ListId, RowOf(tokyo), 3);
                        if (after == before) return false;  // the next second's timer
                        Click(picker, P::CancelId);
                        return true;
                      }});
  SelectTimeZone(zones, tokyo, nullptr);
  EXPECT_EQ(before, "12/7/2026 8:30 AM");
  EXPECT_EQ(after, "12/7/2026 8:31 AM");
}

TEST_F(SelectTimeZoneTest, FormatElementsGoToTheCaretAndTheZoneSwitchAsksForTheZone) {
  const HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                      nullptr, nullptr);
  const HWND edit = CreateWindowExW(0, L"EDIT", L"ab", WS_CHILD | ES_MULTILINE, 0, 0, 200, 60,
                                    parent, nullptr, nullptr, nullptr);
  const HWND line = CreateWindowExW(0, L"EDIT", L"ab", WS_CHILD, 0, 100, 200, 20, parent, nullptr,
                                    nullptr, nullptr);
  const auto text = [](HWND w) {
    wchar_t buffer[256] = {};
    GetWindowTextW(w, buffer, 256);
    return WideToUtf8(buffer);
  };
  const auto menu = FormatElementMenu();
  const TFormatElement& day = menu[0].items[0];
  const TFormatElement& zoneSwitch = menu[5];
  ASSERT_EQ(day.inserts, "&d;");
  ASSERT_EQ(zoneSwitch.kind, TFormatElement::TKind::ZoneSwitch);

  SendMessageW(edit, EM_SETSEL, 1, 1);  // the caret between a and b
  InsertFormatElement(edit, day, zones);
  EXPECT_EQ(text(edit), "a&d;b");
  SendMessageW(edit, EM_SETSEL, 0, 3);  // "a&d" replaced
  InsertFormatElement(edit, day, zones);
  EXPECT_EQ(text(edit), "&d;;b");
  InsertFormatElement(line, day, zones);  // only a multi-line format text takes elements
  EXPECT_EQ(text(line), "ab");

  SendMessageW(edit, EM_SETSEL, 0, 0);
  AnswerModalWindows({[&] {
    const HWND picker = FindDialogWith(P::ListId);
    if (!picker) return false;
    SelectListRow(picker, P::ListId, RowOf(tokyo));
    Click(picker, P::OKId);
    return true;
  }});
  InsertFormatElement(edit, zoneSwitch, zones);
  EXPECT_EQ(text(edit), "<tz \"Tokyo Standard Time\">&d;;b");
  AnswerModalWindows({[&] {
    const HWND picker = FindDialogWith(P::ListId);
    if (!picker) return false;
    Click(picker, P::CancelId);
    return true;
  }});
  InsertFormatElement(edit, zoneSwitch, zones);
  EXPECT_EQ(text(edit), "<tz \"Tokyo Standard Time\">&d;;b");

  // From the menu by the keyboard: the first item of the first submenu, "Day".
  SendMessageW(edit, EM_SETSEL, 0, 0);
  SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    const HWND popup = FindWindowW(L"#32768", nullptr);
    for (const WPARAM key : {VK_DOWN, VK_RIGHT, VK_RETURN}) PostMessageW(popup, WM_KEYDOWN, key, 0);
  });
  ShowFormatElements(edit, zones);
  EXPECT_EQ(text(edit), "&d;<tz \"Tokyo Standard Time\">&d;;b");

  // A format text box: a click selects the element at the caret; Insert alone and the context
  // menu open the menu.
  AttachFormatElementMenu(edit, zones);
  SendMessageW(edit, EM_SETSEL, 1, 1);
  SendMessageW(edit, WM_LBUTTONUP, 0, 0);
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(std::pair(start, end), std::pair(DWORD{0}, DWORD{3}));
  static int menusSeen = 0;
  for (const auto& [msg, wParam, lParam] :
       {std::tuple{WM_KEYUP, VK_INSERT, 0}, std::tuple{WM_CONTEXTMENU, 0, -1}}) {
    SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
      KillTimer(nullptr, timer);
      const auto popup =
          reinterpret_cast<HMENU>(SendMessageW(FindWindowW(L"#32768", nullptr), MN_GETHMENU, 0, 0));
      wchar_t first[32] = {};  // the format element menu's, not the edit's own
      GetMenuStringW(popup, 0, first, 32, MF_BYPOSITION);
      menusSeen += lstrcmpW(first, L"Date elements") == 0;
      EndMenu();
    });
    SendMessageW(edit, msg, static_cast<WPARAM>(wParam), lParam);
  }
  EXPECT_EQ(menusSeen, 2);
  DestroyWindow(parent);
}

TEST(SelectTimeZoneMany, FiveHundredZonesAreAllListedAndTheLastCanBeChosen) {
  InstallWin32Platform();
  TMemoryHive machine;
  SetHive(TRootKey::LocalMachine, &machine);
  for (int i = 0; i < 500; ++i) WriteTimeZone("Zone " + std::to_string(i), (i % 25 - 12) * 60, i);
  TTimeZones zones;
  zones.Load();
  ASSERT_EQ(zones.Count(), 500u);
  int rows = 0;
  AnswerModalWindows({[&] {
    const HWND picker = FindDialogWith(P::ListId);
    if (!picker) return false;
    rows = ListRowCount(picker, P::ListId);
    SelectListRow(picker, P::ListId, 499);
    Click(picker, P::OKId);
    return true;
  }});
  EXPECT_EQ(SelectTimeZone(zones, nullptr, nullptr), &zones[499]);
  EXPECT_EQ(rows, 500);
  SetHive(TRootKey::LocalMachine, nullptr);
  Platform() = TPlatform{};
}

}  // namespace
