#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/VarnColorButton.h"
#include "support/uDialogBase.h"
#include "support/uDialogControls.h"
#include "support/uModelessWindows.h"
#include "support/uVarnLabel.h"
#include "support/uWin32Tools.h"
#include "support/uWindowBase.h"
#include "win/uPumpMessages.h"

namespace {

// The keystroke dialog of the test resources, recording its commands.
class TKeysDialog : public TDialogBase {
 public:
  TKeysDialog() : TDialogBase(1001) {}
  std::vector<int> commands;

 protected:
  void OnCommand(int id, int notification) override {
    if (notification == BN_CLICKED) commands.push_back(id);
    TDialogBase::OnCommand(id, notification);
  }
};

TEST(DialogLayer, TabAccessKeysEnterAndEscByKeystrokes) {
  TKeysDialog dialog;
  dialog.CreateModeless(nullptr);
  ASSERT_NE(dialog.Handle(), nullptr);
  dialog.Show();
  SetForegroundWindow(dialog.Handle());
  SetFocus(GetDlgItem(dialog.Handle(), 102));
  RunLoop();
  ASSERT_EQ(GetFocus(), GetDlgItem(dialog.Handle(), 102));
  Press({VK_TAB});
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog.Handle(), 104));
  Press({VK_SHIFT, VK_TAB});
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog.Handle(), 102));
  Press({VK_MENU, 'S'});  // the label's access key: the edit after it
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog.Handle(), 104));
  Press({VK_MENU, 'C'});  // the check box's: clicked
  EXPECT_TRUE(IsChecked(dialog.Handle(), 105));
  Press({VK_ESCAPE});
  EXPECT_EQ(dialog.commands, (std::vector<int>{105, IDCANCEL}));
  EXPECT_EQ(dialog.Handle(), nullptr);  // a modeless dialog goes on Esc

  TKeysDialog second;
  second.CreateModeless(nullptr);
  second.Show();
  SetForegroundWindow(second.Handle());
  SetFocus(GetDlgItem(second.Handle(), 102));
  RunLoop();
  Press({VK_RETURN});  // the default button
  EXPECT_EQ(second.commands, (std::vector<int>{IDOK}));
}

class TPlainDialog : public TDialogBase {
 public:
  explicit TPlainDialog(int templateId) : TDialogBase(templateId) {}
};

// A dialog that says when it is freed.
class TFreedDialog : public TKeysDialog {
 public:
  explicit TFreedDialog(bool& freed) : FFreed(freed) {}
  ~TFreedDialog() override { FFreed = true; }

 private:
  bool& FFreed;
};

TEST(DialogLayer, ModelessWindowsAreCountedHeldAndFreedAfterTheirLastMessage) {
  const long before = LiveUserObjects();
  bool freed = false;
  TFreedDialog* dialog = ModelessWindows().Open(std::make_unique<TFreedDialog>(freed), nullptr);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(LiveUserObjects(), before + 1);
  EXPECT_EQ(ModelessWindows().OfClass<TKeysDialog>(), std::vector<TKeysDialog*>{dialog});
  SendMessageW(dialog->Handle(), WM_COMMAND, IDCANCEL, 0);
  // Closed from its own command: it lives on until the program's loop runs again.
  EXPECT_FALSE(freed);
  EXPECT_TRUE(ModelessWindows().OfClass<TKeysDialog>().empty());
  RunLoop();
  EXPECT_TRUE(freed);
  EXPECT_EQ(LiveUserObjects(), before);

  // Freed with its window still open: the window goes, and its last messages do not
  // reach the half-destroyed object.
  auto open = std::make_unique<TKeysDialog>();
  int gone = 0;
  open->SetGoneHandler([&gone] { ++gone; });
  open->CreateModeless(nullptr);
  const HWND window = open->Handle();
  open.reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(gone, 0);
  EXPECT_EQ(LiveUserObjects(), before);
}

// The dialog base re-lays a dialog moved onto a monitor of another DPI: every control grows by the
// new DPI over the old in place, size and font, lists widen their columns, and the window takes
// the rectangle the system suggests.
TEST(DialogLayer, ADpiChangeGrowsEveryControlAndFontAndTakesTheSuggestedRectangle) {
  for (const int templateId : {1001, 1002}) {
    SCOPED_TRACE(templateId);
    TPlainDialog dialog(templateId);
    dialog.CreateModeless(nullptr);
    ASSERT_NE(dialog.Handle(), nullptr);
    const HWND window = dialog.Handle();
    const int before = dialog.Dpi();
    ASSERT_EQ(before, WindowDpi(window));
    struct TSeen {
      HWND control;
      RECT r;
      LONG font;
      int column;
      bool combo;
    };
    const auto look = [window](HWND control) {
      RECT r{};
      GetWindowRect(control, &r);
      wchar_t name[32] = {};
      GetClassNameW(control, name, 32);
      MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
                 &font);
      const int column = std::wstring(name) == L"SysListView32"
                             ? static_cast<int>(SendMessageW(control, LVM_GETCOLUMNWIDTH, 0, 0))
                             : 0;
      return TSeen{control, r, font.lfHeight, column, std::wstring(name) == L"ComboBox"};
    };
    if (templateId == 1002) AddListColumn(window, 203, "Name", 80);
    std::vector<TSeen> seen;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      seen.push_back(look(c));
    ASSERT_GE(seen.size(), 7u);
    RECT old{};
    GetWindowRect(window, &old);
    const int dpi = before * 3 / 2;
    RECT suggested{old.left + 10, old.top + 10,
                   old.left + 10 + MulDiv(old.right - old.left, dpi, before),
                   old.top + 10 + MulDiv(old.bottom - old.top, dpi, before)};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(dialog.Dpi(), dpi);
    RECT now{};
    GetWindowRect(window, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested));
    for (const TSeen& was : seen) {
      const TSeen is = look(was.control);
      SCOPED_TRACE(GetDlgCtrlID(was.control));
      EXPECT_NEAR(is.r.left, was.r.left * 1.5, 1.0);
      EXPECT_NEAR(is.r.top, was.r.top * 1.5, 1.0);
      EXPECT_NEAR(is.r.right - is.r.left, (was.r.right - was.r.left) * 1.5, 1.0);
      // A combo box's closed height is its font's; its dropped list's is its own business.
      if (!is.combo) {
        EXPECT_NEAR(is.r.bottom - is.r.top, (was.r.bottom - was.r.top) * 1.5, 1.0);
      }
      EXPECT_NEAR(is.font, was.font * 1.5, 1.0);
      EXPECT_NEAR(is.column, was.column * 1.5, 1.0);
    }
  }
}

TEST(VarnLabel, TakesItsActiveColourAndHandCursorOnlyWhileTheMouseIsOverIt) {
  TPlainDialog dialog(1001);
  dialog.CreateModeless(nullptr);
  const HWND text = GetDlgItem(dialog.Handle(), 101);
  TVarnLabel label;
  label.Color = RGB(0, 0x40, 0x80);
  label.ActiveColor = RGB(0, 0x80, 0xC0);
  label.HandCursor = true;
  label.Attach(text);
  SendMessageW(text, WM_MOUSEMOVE, 0, 0);
  EXPECT_TRUE(label.IsHot());
  EXPECT_EQ(label.TextColor(), RGB(0, 0x40, 0x80));  // it does not change with the mouse
  label.ChangeWithMouse = true;
  label.ActiveStyle.underline = true;
  SendMessageW(text, WM_MOUSELEAVE, 0, 0);
  SendMessageW(text, WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(label.TextColor(), RGB(0, 0x80, 0xC0));
  const auto underlined = [&] {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(text, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font.lfUnderline != 0;
  };
  EXPECT_TRUE(underlined());
  EXPECT_EQ(SendMessageW(text, WM_SETCURSOR, reinterpret_cast<WPARAM>(text), HTCLIENT), TRUE);
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  SendMessageW(text, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(label.IsHot());
  EXPECT_EQ(label.TextColor(), RGB(0, 0x40, 0x80));
  EXPECT_FALSE(underlined());
}

// A dialog whose Cancel button shows a colour.
class TColorDialog : public TDialogBase {
 public:
  TColorDialog() : TDialogBase(1001) {}
  TVarnColorButton button;

 protected:
  bool OnInitDialog() override {
    button.Attach(Item(IDCANCEL));
    return true;
  }
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_DRAWITEM && button.DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam)))
      return TRUE;
    return TDialogBase::DlgProc(msg, wParam, lParam);
  }
};

TEST(ColorButton, ShowsItsColourOrACrossAndRepaintsOnlyForANewColour) {
  TColorDialog dialog;
  dialog.CreateModeless(nullptr);
  dialog.Show();
  const HWND button = GetDlgItem(dialog.Handle(), IDCANCEL);
  EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  RECT client{};
  GetClientRect(button, &client);
  // The swatch's middle: 16 px wide at the right, 5 px in from the edges.
  const POINT middle{client.right - 5 - 8, client.bottom / 2};
  const auto swatch = [&] {
    UpdateWindow(button);
    TWindowDC dc(button);
    return GetPixel(dc.get(), middle.x, middle.y);
  };
  dialog.button.SetColorValue(RGB(0xFF, 0, 0));
  EXPECT_EQ(swatch(), RGB(0xFF, 0, 0));
  ValidateRect(button, nullptr);
  dialog.button.SetColorValue(RGB(0xFF, 0, 0));
  EXPECT_FALSE(GetUpdateRect(button, nullptr, FALSE));
  dialog.button.SetColorValue(RGB(0, 0, 0xFF));
  EXPECT_TRUE(GetUpdateRect(button, nullptr, FALSE));
  EXPECT_EQ(swatch(), RGB(0, 0, 0xFF));
  EnableWindow(button, FALSE);
  EXPECT_EQ(swatch(), GetSysColor(COLOR_BTNSHADOW));  // the cross, not the colour
}

TEST(DialogLayer, ControlHelpersReachEachKindOfControl) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  TPlainDialog dialog(1002);
  dialog.CreateModeless(nullptr);
  const HWND d = dialog.Handle();
  ASSERT_NE(d, nullptr);
  SetControlText(d, 201,
                 "Gr\xC3\xB6\xC3\x9F"
                 "e");
  EXPECT_EQ(ControlText(d, 201),
            "Gr\xC3\xB6\xC3\x9F"
            "e");
  SetChecked(d, 202, true);
  EXPECT_TRUE(IsChecked(d, 202));
  EnableControl(d, 202, false);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(d, 202)));

  ShowListCheckBoxes(d, 203);
  AddListColumn(d, 203, "Name", 80);
  AddListColumn(d, 203, "Kind", 60);
  EXPECT_EQ(AddListRow(d, 203, {"a", "Analog"}), 0);
  EXPECT_EQ(AddListRow(d, 203, {"b", "Digital"}), 1);
  EXPECT_EQ(ListRowCount(d, 203), 2);
  EXPECT_EQ(ListRowText(d, 203, 1, 1), "Digital");
  EXPECT_EQ(ListRowText(d, 203, 0, 0), "a");
  SetListRowChecked(d, 203, 1, true);
  EXPECT_TRUE(IsListRowChecked(d, 203, 1));
  EXPECT_FALSE(IsListRowChecked(d, 203, 0));
  EXPECT_EQ(SelectedListRow(d, 203), -1);
  SelectListRow(d, 203, 1);
  EXPECT_EQ(SelectedListRow(d, 203), 1);

  const HTREEITEM root = AddTreeItem(d, 204, TVI_ROOT, "Root", 10);
  const HTREEITEM child = AddTreeItem(d, 204, root, "Child", 11);
  AddTreeItem(d, 204, child, "Grandchild", 12);
  ExpandAllTreeItems(d, 204);
  for (const HTREEITEM item : {root, child})
    EXPECT_TRUE(SendDlgItemMessageW(d, 204, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item),
                                    TVIS_EXPANDED) &
                TVIS_EXPANDED);
  SelectTreeItem(d, 204, child);
  EXPECT_EQ(SelectedTreeItemData(d, 204), 11);

  SetWindowLongPtrW(GetDlgItem(d, 205), GWL_STYLE,
                    GetWindowLongPtrW(GetDlgItem(d, 205), GWL_STYLE) | TBS_ENABLESELRANGE);
  MakeThinTrackBar(d, 205);
  EXPECT_EQ(GetWindowLongPtrW(GetDlgItem(d, 205), GWL_STYLE) & TBS_ENABLESELRANGE, 0);
  SetTrackBarRange(d, 205, 0, 10);
  SetTrackBarPosition(d, 205, 7);
  EXPECT_EQ(TrackBarPosition(d, 205), 7);
  AddComboItem(d, 206, "x");
  AddComboItem(d, 206, "y");
  EXPECT_EQ(ComboSelection(d, 206), -1);
  SetComboSelection(d, 206, 1);
  EXPECT_EQ(ComboSelection(d, 206), 1);
  SetDateTimePickerValue(d, 207, {2026, 12, 0, 6, 14, 5, 7, 0});
  const TSystemTime t = DateTimePickerValue(d, 207);
  EXPECT_EQ(t.wYear * 10000 + t.wMonth * 100 + t.wDay, 20261206);
  EXPECT_EQ(t.wHour * 100 + t.wMinute, 1405);
  SetHotKeyValue(d, 208, 0x4000 | 0x8000 | VK_F11);  // Ctrl+Alt+F11
  EXPECT_EQ(HotKeyValue(d, 208), 0x4000u | 0x8000u | VK_F11);
  SetHotKeyValue(d, 208, 0x2000 | 'A');
  EXPECT_EQ(HotKeyValue(d, 208), 0x2000u | 'A');
}

// A window the system destroys with its owner lets go of its handle.
class TOwnedWindow : public TWindowBase {
 public:
  explicit TOwnedWindow(HWND owner) {
    RegisterWindowClass(L"QuorvelTestOwned", 0, nullptr);
    CreateHandle(0, L"QuorvelTestOwned", L"", WS_POPUP, RECT{0, 0, 10, 10}, owner);
  }
  ~TOwnedWindow() override { DestroyHandle(); }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_USER) throw std::runtime_error("handler failed");
    return DefaultHandler(msg, wParam, lParam);
  }
};

std::string gReports;

// A control's own handling that fails.
LRESULT FailingControlProc(HWND, UINT msg, WPARAM, LPARAM, DWORD_PTR) {
  if (msg == WM_USER) throw std::runtime_error("control handler failed");
  return 7;
}

TEST(WindowBase, AWindowDestroyedWithItsOwnerIsNotDestroyedAgainAndFailuresAreReported) {
  const long before = LiveUserObjects();
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
  TOwnedWindow owned(owner);
  EXPECT_EQ(LiveUserObjects(), before + 1);
  const TReportWriter writer = SetReportWriter([](const std::string& text) { gReports += text; });
  SendMessageW(owned.Handle(), WM_USER, 0, 0);
  // A subclassed control answers as it did before: what throws goes to its own procedure.
  SetWindowSubclass(owner, &GuardedSubclassProc<&FailingControlProc>, 1, 0);
  EXPECT_EQ(SendMessageW(owner, WM_USER + 1, 0, 0), 7);
  EXPECT_EQ(SendMessageW(owner, WM_USER, 0, 0), 0);
  SetReportWriter(writer);
  EXPECT_NE(gReports.find("window procedure: handler failed"), std::string::npos) << gReports;
  EXPECT_NE(gReports.find("control procedure: control handler failed"), std::string::npos);
  DestroyWindow(owner);  // takes the owned window with it
  EXPECT_EQ(owned.Handle(), nullptr);
  EXPECT_EQ(LiveUserObjects(), before);
}

}  // namespace
