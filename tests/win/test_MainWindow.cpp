#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "app/dAbout.h"
#include "app/fCalendar.h"
#include "app/uCommandLine.h"
#include "app/uStartup.h"
#include "config/uMemoryHive.h"
#include "config/uVarnRegistry.h"
#include "display/fDisplay.h"
#include "display/uDisplayFormat.h"
#include "events/fEvent.h"
#include "events/fEventNotify.h"
#include "kinds/uDisplayCountdown.h"
#include "support/uDialogControls.h"
#include "support/uGdiCanvas.h"
#include "support/uGraphicTools.h"
#include "support/uHelp.h"
#include "support/uModelessWindows.h"
#include "support/uTestPlatform.h"
#include "support/uWin32Graphics.h"
#include "support/uWin32Platform.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"
#include "win/uMainWindowTest.h"
#include "win/uModalSteps.h"
#include "win/uPumpMessages.h"
#include "win/uScreenShot.h"

namespace {

TEST_F(MainWindowTest, DeferredStartShowsTheDisplays) {
  EXPECT_EQ(List().Count(), 2u);
  EXPECT_EQ(List()[0].Description, "Default display");
  EXPECT_EQ(VisibleDisplays(), 2);
  EXPECT_FALSE(IsWindowVisible(Main().Handle()));
  EXPECT_EQ(FindWindowW(L"TQuorvelDisplay", L"Quorvel"), Main().Handle());
  quorvel.reset();
  EXPECT_EQ(FindWindowW(L"TQuorvelDisplay", L"Quorvel"), nullptr);
}

TEST_F(MainWindowTest, CommandsAndHotKeysShowAndHideTheDisplays) {
  Send(WM_COMMAND, cmdHideAll);
  EXPECT_EQ(VisibleDisplays(), 0);
  Send(WM_COMMAND, cmdShowAll);
  EXPECT_EQ(VisibleDisplays(), 2);
  Send(WM_COMMAND, MAKEWPARAM(cmdHideAll, 1));  // not a menu notification
  EXPECT_EQ(VisibleDisplays(), 2);
  Send(WM_HOTKEY, 1);
  EXPECT_EQ(VisibleDisplays(), 0);
  Send(WM_HOTKEY, 1);
  EXPECT_EQ(VisibleDisplays(), 2);
  Send(WM_HOTKEY, 3);
  EXPECT_EQ(VisibleDisplays(), 0);
  Send(WM_HOTKEY, 2);
  EXPECT_EQ(VisibleDisplays(), 2);
  const bool chime = quorvel->Options().ChimeEnabled;
  Send(WM_COMMAND, cmdToggleChime);
  EXPECT_NE(quorvel->Options().ChimeEnabled, chime);
}

TEST_F(MainWindowTest, NothingHappensWhileBusy) {
  Send(WM_COMMAND, cmdHideAll);
  quorvel->Busy().AboutBoxOpen = true;
  Send(WM_HOTKEY, 2);
  Send(WM_SECOND_INSTANCE, 1);
  EXPECT_EQ(VisibleDisplays(), 0);
  quorvel->Busy().AboutBoxOpen = false;
  Send(WM_SECOND_INSTANCE, 0);
  EXPECT_EQ(VisibleDisplays(), 2);
}

TEST_F(MainWindowTest, ALeftClickOnTheTrayShowsTheDisplaysAndADoubleClickOpensThePreferences) {
  Send(WM_COMMAND, cmdHideAll);
  Send(WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_RBUTTONDOWN);
  EXPECT_EQ(VisibleDisplays(), 0);  // the left button only
  Send(WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_LBUTTONDOWN);
  EXPECT_EQ(VisibleDisplays(), 2);
  // The keyboard's select key, in the newer form: the action in the low word, the icon above.
  Send(WM_COMMAND, cmdHideAll);
  Send(WM_TRAY_NOTIFY, 0, MAKELPARAM(NIN_KEYSELECT, TQuorvelDisplay::TrayIconId));
  EXPECT_EQ(VisibleDisplays(), 2);
  EXPECT_EQ(Main().Preferences(), nullptr);
  Send(WM_TRAY_NOTIFY, 0, MAKELPARAM(WM_LBUTTONDBLCLK, TQuorvelDisplay::TrayIconId));
  EXPECT_NE(Main().Preferences(), nullptr);
}

TEST_F(MainWindowTest, AlwaysOnTopDisplaysGoBackOnTopEveryFiveSecondsAndWhenTheProgramIsLeft) {
  quorvel->Options().AOT5s = true;
  List()[0].SetAlwaysOnTop(false);  // no window of the program is on top: none stops the refresh
  const HWND w = dynamic_cast<TfrmDisplay&>(*List()[1].Window()).Handle();
  const auto onTop = [w] { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  const auto pushDown = [w] {
    SetWindowPos(w, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  };
  pushDown();
  std::string seen;  // after each of five seconds
  for (WORD second = 0; second < 5; ++second) {
    clock.local.wSecond = second;
    Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);
    seen += onTop() ? '^' : '.';
  }
  EXPECT_EQ(seen, "....^");
  pushDown();
  Send(WM_ACTIVATEAPP, FALSE);
  EXPECT_TRUE(onTop());
}

// Runs a popup menu of the main window; inspect sees it open, then it is closed.
std::function<void(HMENU)> gInspectMenu;
void CALLBACK InspectOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  const HWND popup = FindWindowW(L"#32768", nullptr);
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  if (gInspectMenu) gInspectMenu(menu);
  EndMenu();
}

// Caption (or "-"), command, and state of each item of a menu and its submenus.
std::vector<std::string> ReadMenu(HMENU menu, const std::string& indent = "") {
  std::vector<std::string> lines;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = 127;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
    std::string line = indent + (item.fType & MFT_OWNERDRAW ? "#" : "") +
                       (item.fType & MFT_SEPARATOR ? "-" : WideToUtf8(text)) + " " +
                       std::to_string(item.wID);
    if (item.fState & MFS_GRAYED) line += " grey";
    if (item.fState & MFS_CHECKED) line += " checked";
    if (item.fState & MFS_DEFAULT) line += " default";
    lines.push_back(line);
    if (item.hSubMenu)
      for (const std::string& sub : ReadMenu(item.hSubMenu, indent + "  ")) lines.push_back(sub);
  }
  return lines;
}

TEST_F(MainWindowTest, PopupMenusOpenFromTheTrayAndTheDisplays) {
  std::vector<std::string> items;
  gInspectMenu = [&](HMENU menu) { items = ReadMenu(menu); };
  quorvel->Options().ChimeEnabled = true;
  // Listed: the third only, as neither done nor switched off.
  TEvents& events = quorvel->Events();
  for (int i = 0; i < 3; ++i) {
    events.Add().SetTrigger(LocalDateTimeNow() + 1);
    events[i].Message = "Dentist";
  }
  events[0].State = TEvent::stDone;
  events[1].SetActive(false);
  SetTimer(nullptr, 0, 50, InspectOpenMenu);
  Send(WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_RBUTTONUP);
  ASSERT_EQ(items.size(), 23u);
  EXPECT_EQ(items[0], "#- 1");  // the header, drawn by the menu
  EXPECT_EQ(items[1], "Preferences... 3 default");
  EXPECT_EQ(items[7], "Chime 20 checked");
  EXPECT_EQ(items[12], "  - 0");
  EXPECT_TRUE(items[13].starts_with("  12/7/2026 9:30 AM: Dentist")) << items[13];
  EXPECT_TRUE(items[13].ends_with(" 1102")) << items[13];
  EXPECT_EQ(items[22], "Exit Quorvel 2");

  SetTimer(nullptr, 0, 50, InspectOpenMenu);
  Main().ShowPopupMenu(&List()[1]);
  ASSERT_EQ(items.size(), 29u);  // the same pending event
  EXPECT_EQ(items[0], "#- 99");
  EXPECT_EQ(items[4], "Hide display 1001 default");
  EXPECT_EQ(items[6], "#- 1");
  gInspectMenu = nullptr;

  // The display menu's commands reach its display, and nothing once it is gone.
  Send(WM_COMMAND, cmdHideDisplay);
  EXPECT_FALSE(List()[1].IsVisible());
  EXPECT_TRUE(List()[0].IsVisible());
  List().Delete(&List()[1]);
  Send(WM_COMMAND, cmdDeactivateDisplay);
  EXPECT_TRUE(List()[0].IsActive());

  // The keyboard's menu key opens the tray menu too, but not again after a right click.
  int menus = 0;
  gInspectMenu = [&](HMENU menu) { menus += menu != nullptr; };
  for (const UINT action : {WM_RBUTTONUP, WM_CONTEXTMENU, WM_CONTEXTMENU}) {
    SetTimer(nullptr, 0, 50, InspectOpenMenu);
    Send(WM_TRAY_NOTIFY, 0, MAKELPARAM(action, TQuorvelDisplay::TrayIconId));
  }
  Sleep(100);
  PumpMessages();  // the timer no menu took
  gInspectMenu = nullptr;
  EXPECT_EQ(menus, 2);
}

// Rests the cursor on the tray icon until the tip shows; its window, or null.
HWND RestOnTrayIcon(TQuorvelDisplay& main, POINT at) {
  const HWND tip = FindWindowW(TfrmTooltip::ClassName, nullptr);
  SetCursorPos(at.x, at.y);
  SendMessageW(main.Handle(), WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_MOUSEMOVE);
  if (IsWindowVisible(tip)) return nullptr;  // not before the cursor has rested
  for (int i = 0; i < 80 && !IsWindowVisible(tip); ++i) {
    Sleep(10);
    PumpMessages();
  }
  return IsWindowVisible(tip) ? tip : nullptr;
}

TEST_F(MainWindowTest, TrayTipAppearsWhenTheCursorRestsOnTheIconAndAClickHidesIt) {
  quorvel->Options().ToolTipText = "Tip";
  const HWND tip = RestOnTrayIcon(Main(), {600, 500});
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(tip, GWL_EXSTYLE) & ~WS_EX_TOPMOST, WS_EX_TOOLWINDOW);
  RECT r{};
  GetWindowRect(tip, &r);
  EXPECT_EQ(r.right, 600);  // its bottom-right corner at the cursor
  EXPECT_EQ(r.bottom, 500);
  EXPECT_GE(r.right - r.left, ScaledForWindow(nullptr, 180));
  Send(WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_LBUTTONDOWN);
  EXPECT_FALSE(IsWindowVisible(tip));
}

TEST_F(MainWindowTest, TrayTipShowsEveryLineAsTextOnItsBackgroundInAWindowAsWideAsTheText) {
  const HWND tip = RestOnTrayIcon(Main(), {900, 700});  // the default text: two lines
  ASSERT_NE(tip, nullptr);
  PumpMessages();
  RECT r{};
  GetWindowRect(tip, &r);
  const TScreenShot shot;
  // The body as the tip lays it out: exactly the text's height, two lines.
  const auto scaled = [](int pixels) { return ScaledForWindow(nullptr, pixels); };
  const RECT body{r.left + scaled(10), r.top + scaled(21), r.right - scaled(10),
                  r.bottom - scaled(9)};
  const COLORREF background = GetSysColor(COLOR_INFOBK);
  int textRight = body.left;
  for (int line = 0; line < 2; ++line) {
    const int lineHeight = (body.bottom - body.top) / 2;
    int text = 0, longestRun = 0;
    for (int y = body.top + line * lineHeight; y < body.top + (line + 1) * lineHeight; ++y)
      for (int x = body.left, run = 0; x < body.right; ++x) {
        run = shot.At(x, y) == background ? 0 : run + 1;
        longestRun = std::max(longestRun, run);
        if (run == 0) continue;
        ++text;
        textRight = std::max(textRight, x + 1);
      }
    EXPECT_GT(text, 50) << "line " << line;
    EXPECT_LT(longestRun, 30) << "line " << line;  // letters, not a bar
  }
  // Above it the title, light on a strip of the text's colour, and around all a frame of it.
  const COLORREF ink = GetSysColor(COLOR_INFOTEXT);
  int title = 0;
  for (int y = r.top; y < r.top + scaled(18); ++y)
    for (int x = r.left; x < r.right; ++x) title += shot.At(x, y) != ink;
  EXPECT_GT(title, 40);
  EXPECT_LT(title, scaled(18) * (r.right - r.left) / 8);
  for (const POINT p :
       {POINT{r.left, body.top}, POINT{r.right - 1, body.top}, POINT{body.left, r.bottom - 1}})
    EXPECT_EQ(shot.At(p.x, p.y), ink) << p.x << "," << p.y;
  EXPECT_LE(body.right - textRight, 4) << "window " << r.right - r.left << " wide";
  // And the body is the evaluated text itself: drawn on its own, in the tip's font and colours,
  // it gives the same pixels.
  TDisplayFormat format;
  format.Parse(quorvel->Options().ToolTipText);
  const std::wstring expected =
      Utf8ToWide(format.Evaluate(SystemTimeToDateTime(Platform().clock->UtcNow())));
  const int width = body.right - body.left, height = body.bottom - body.top;
  TGdiBitmap reference;
  reference.SetSize(width, height);
  const HDC dc = reference.DC();
  TUniqueBrush paper(CreateSolidBrush(background));
  RECT all{0, 0, width, height};
  FillRect(dc, &all, paper.get());
  TUniqueFont font(CreateFontW(-MulDiv(10, WindowDpi(nullptr), 72), 0, 0, 0, FW_NORMAL, FALSE,
                               FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
  {
    TSelectObject select(dc, font.get());
    SetTextColor(dc, ink);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, expected.c_str(), -1, &all, DT_LEFT | DT_NOPREFIX);
  }
  int different = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      different += (reference.ScanLine(y)[x] & 0xFFFFFF) !=
                   PixelOf(static_cast<TColor>(shot.At(body.left + x, body.top + y)));
  EXPECT_LE(different, width * height / 200) << "of " << width * height << " pixels";
}

// Keystrokes reach the program's modeless dialogs as its message loop hands them over.
void PumpDialogMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (TDialogBase::IsDialogMessageForAny(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

TEST_F(MainWindowTest, CalendarOpensOnceCentredOnTheCursorInsideTheWorkAreaAndEscClosesIt) {
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetCursorPos(work.right - 5, work.bottom - 5);
  Send(WM_COMMAND, cmdCalendar);
  const HWND calendar = FindWindowW(nullptr, L"Calendar");
  ASSERT_NE(calendar, nullptr);
  EXPECT_TRUE(IsWindowVisible(calendar));
  RECT r{};
  GetWindowRect(calendar, &r);
  EXPECT_EQ(r.right, work.right - 16);
  EXPECT_EQ(r.bottom, work.bottom - 16);
  EXPECT_GE(r.right - r.left, 185);
  Send(WM_COMMAND, cmdCalendar);  // one at a time
  EXPECT_EQ(FindWindowExW(nullptr, calendar, nullptr, L"Calendar"), nullptr);
  SetForegroundWindow(calendar);
  PostMessageW(GetDlgItem(calendar, TfrmCalendar::CalendarId), WM_KEYDOWN, VK_ESCAPE, 0);
  PumpDialogMessages();
  EXPECT_FALSE(IsWindow(calendar));
  Send(WM_COMMAND, cmdCalendar);  // and a new one after it closed
  EXPECT_NE(FindWindowW(nullptr, L"Calendar"), nullptr);
}

TEST_F(MainWindowTest, AboutBoxKeepsTheProgramBusyTabReachesItsLinkAndEnterClosesIt) {
  struct {
    bool idle = true;
    SIZE size{};
    std::string link;
    std::vector<int> focus;  // after each Tab
  } seen;
  HWND about = nullptr;
  const auto press = [](WPARAM key) { PostMessageW(GetFocus(), WM_KEYDOWN, key, 0); };
  const auto tab = [&] {
    seen.focus.push_back(GetDlgCtrlID(GetFocus()));
    press(VK_TAB);
    return true;
  };
  AnswerModalWindows({[&] {
                        about = FindDialogWith(TdlgAbout::LinkId);
                        if (!about) return false;
                        RECT r{};
                        GetWindowRect(about, &r);
                        seen.idle = Main().IsIdle();
                        seen.size = {r.right - r.left, r.bottom - r.top};
                        seen.link = ControlText(about, TdlgAbout::LinkId);
                        return tab();
                      },
                      tab,
                      [&] {
                        press(VK_RETURN);  // on the help link: opens the help, the box stays
                        return tab();      // round to Close
                      },
                      [&] {
                        seen.focus.push_back(GetDlgCtrlID(GetFocus()));
                        press(VK_RETURN);
                        return true;
                      }});
  std::vector<std::string> opened;
  const auto browser = AddressOpener();
  AddressOpener() = [&opened](const std::string& address) { opened.push_back(address); };
  Send(WM_COMMAND, cmdAbout);  // returns when the box has closed
  AddressOpener() = browser;
  EXPECT_EQ(opened,
            std::vector<std::string>{HelpAddress(ProgramFolder() + "help_en.htm", "about")});
  EXPECT_EQ(seen.focus, (std::vector<int>{TdlgAbout::CloseId, TdlgAbout::LinkId, TdlgAbout::HelpId,
                                          TdlgAbout::CloseId}));
  EXPECT_FALSE(seen.idle);
  // 408 x 245 at 96 dpi, grown with the DPI.
  EXPECT_EQ(seen.size.cx, ScaledForWindow(nullptr, 408));
  EXPECT_EQ(seen.size.cy, ScaledForWindow(nullptr, 245));
  EXPECT_EQ(seen.link.rfind("https://", 0), 0u);
  EXPECT_TRUE(Main().IsIdle());
}

TEST(ProgramResources, ToolBarGlyphsOfBothColourDepthsAndEverySize) {
  const std::pair<const wchar_t*, int> strips[] = {{L"IL_TOOLBAR_ENABLED_0", 16},
                                                   {L"IL_TOOLBAR_ENABLED_1", 16},
                                                   {L"IL_TOOLBAR_ENABLED_1_24", 24},
                                                   {L"IL_TOOLBAR_ENABLED_1_32", 32}};
  for (const auto& [name, size] : strips) {
    TUniqueImageList list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 10, 0));
    TUniqueImageList disabled(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 10, 0));
    EXPECT_TRUE(AddGlyph(list.get(), name, disabled.get()));
    EXPECT_EQ(ImageList_GetImageCount(list.get()), 10);  // up to stop, image 9
    EXPECT_EQ(ImageList_GetImageCount(disabled.get()), 10);
  }
  EXPECT_NE(LoadImageW(GetModuleHandleW(nullptr), L"ABOUT", IMAGE_BITMAP, 0, 0, LR_SHARED),
            nullptr);
}

// One image drawn for every size the system asks for; at 16 and 32 pixels the two hands stand
// out dark from the light face.
TEST(ProgramResources, TheIconHasEverySizeAndShowsItsHandsAtSixteenAndThirtyTwoPixels) {
  const HMODULE module = GetModuleHandleW(nullptr);
  const HRSRC group = FindResourceW(module, ProgramIconName, RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  // Three 16-bit fields, the last the count; then 14 bytes per image: width (0 for 256),
  // height, colours, reserved, planes (16 bits), bits per pixel (16 bits), size, identifier.
  const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module, group)));
  std::vector<int> sizes;
  for (int i = 0; i < directory[4]; ++i) {
    const BYTE* image = directory + 6 + 14 * i;
    sizes.push_back(image[0] ? image[0] : 256);
    EXPECT_EQ(image[6], 32) << sizes.back();
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 48, 256}));
  for (const int size : {16, 32}) {
    TUniqueIcon icon(
        static_cast<HICON>(LoadImageW(module, ProgramIconName, IMAGE_ICON, size, size, 0)));
    ASSERT_TRUE(icon);
    TGdiBitmap picture;
    picture.SetSize(size, size);
    picture.Canvas().FillRect({0, 0, size, size});  // white
    DrawIconEx(picture.DC(), 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
    // The sum of the three channels a little over a fifth of the radius out from the centre.
    const auto lightness = [&](int degrees) {
      const double a = degrees * std::numbers::pi / 180, r = size * 0.22;
      const std::uint32_t p = picture.ScanLine(static_cast<int>(
          size / 2 - std::cos(a) * r))[static_cast<int>(size / 2 + std::sin(a) * r)];
      return static_cast<int>(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF));
    };
    // Ten past ten: towards 10 and 2 the hands, towards 4 and 8 the face.
    for (const int hand : {300, 60})
      for (const int face : {120, 240})
        EXPECT_LT(lightness(hand) + 300, lightness(face)) << size << ": " << hand << " " << face;
  }
}

TEST(TrayIcon, ARefusedIconStaysHiddenAndSendsNothingMore) {
  const HWND owner =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  TVarnTrayIcon first(owner, WM_APP, 7);
  first.SetVisible(true);
  ASSERT_TRUE(first.Visible());
  TVarnTrayIcon icon(owner, WM_APP, 7);  // the shell refuses a second icon of the same name
  icon.BeginUpdate();
  icon.AddIconName(L"TRAYICON001");
  icon.SetIconIndex(0);
  icon.SetVisible(true);
  icon.EndUpdate();
  EXPECT_FALSE(icon.Visible());
  icon.TaskbarCreated();
  EXPECT_FALSE(icon.Visible());
  first.SetVisible(false);
  DestroyWindow(owner);
}

TEST_F(MainWindowTest, TrayIconIsShownAndAddedAgainWhenTheTaskbarIsMadeAnew) {
  NOTIFYICONDATAW probe{};
  probe.cbSize = NOTIFYICONDATAW_V1_SIZE;
  probe.hWnd = Main().Handle();
  probe.uID = TQuorvelDisplay::TrayIconId;
  // Only an icon the tray holds can be modified.
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe));
  Shell_NotifyIconW(NIM_DELETE, &probe);  // as a restarted shell forgets it
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probe));
  Send(RegisterWindowMessageW(L"TaskbarCreated"));
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe));
  // Refused (as before the taskbar exists): asked again when the option is set again, and
  // when the taskbar is made.
  for (const bool byTaskbar : {false, true}) {
    Main().SetTrayIconVisible(false);
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &probe));  // the shell refuses a second of the name
    Main().SetTrayIconVisible(true);
    Shell_NotifyIconW(NIM_DELETE, &probe);
    if (byTaskbar)
      Send(RegisterWindowMessageW(L"TaskbarCreated"));
    else
      Main().SetTrayIconVisible(true);
    EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &probe)) << byTaskbar;
  }
  quorvel.reset();  // ending the program takes the icon away
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &probe));
}

// The tips the shell holds for its icons. Its tray keeps them as the tools of a tooltip window in
// its own process, so they are read through memory lent in that process, as a reader does.
BOOL CALLBACK CollectForeignTooltip(HWND window, LPARAM tooltips) {
  wchar_t name[32] = {};
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId() && GetClassNameW(window, name, 32) &&
      lstrcmpiW(name, TOOLTIPS_CLASSW) == 0)
    reinterpret_cast<std::vector<HWND>*>(tooltips)->push_back(window);
  return TRUE;
}

std::vector<std::wstring> ShellTips() {
  std::vector<HWND> tooltips;
  EnumWindows(CollectForeignTooltip, reinterpret_cast<LPARAM>(&tooltips));
  std::vector<std::wstring> tips;
  for (const HWND tooltip : tooltips) {
    DWORD id = 0;
    GetWindowThreadProcessId(tooltip, &id);
    const TUniqueKernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
    struct TLent {
      TTTOOLINFOW info;
      wchar_t text[1024];
    } lent{};
    auto* remote = static_cast<TLent*>(
        VirtualAllocEx(process.get(), nullptr, sizeof lent, MEM_COMMIT, PAGE_READWRITE));
    if (!remote) continue;  // the test finds no tip then
    const auto exchange = [&](UINT message, WPARAM wParam) {
      lent.info.cbSize = sizeof lent.info;
      lent.info.lpszText = remote->text;
      WriteProcessMemory(process.get(), &remote->info, &lent.info, sizeof lent.info, nullptr);
      SendMessageW(tooltip, message, wParam, reinterpret_cast<LPARAM>(&remote->info));
      ReadProcessMemory(process.get(), remote, &lent, sizeof lent, nullptr);
    };
    for (int i = 0, n = static_cast<int>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0)); i < n;
         ++i) {
      exchange(TTM_ENUMTOOLSW, static_cast<WPARAM>(i));  // which tool: its window and id
      exchange(TTM_GETTEXTW, std::size(lent.text));
      tips.emplace_back(lent.text, wcsnlen(lent.text, std::size(lent.text)));
    }
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  }
  return tips;
}

// What a reader says of the tray icon: the tooltip's text, renewed with the minute, cut to what
// the shell keeps.
TEST_F(MainWindowTest, TheShellTipOfTheIconIsTheTooltipsTextRenewedWithTheMinute) {
  const auto shellHas = [](const std::wstring& tip) {
    const auto tips = ShellTips();
    return std::find(tips.begin(), tips.end(), tip) != tips.end();
  };
  for (const std::string& text : {std::string("Shell tip"), std::string(200, 'x')}) {
    quorvel->Options().ToolTipText = text;
    EXPECT_FALSE(shellHas(Utf8ToWide(text.substr(0, 127))));
    clock.local.wMinute += 1;
    Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);
    EXPECT_TRUE(shellHas(Utf8ToWide(text.substr(0, 127)))) << text;
  }
}

TEST_F(MainWindowTest, AnEventDueWhileTheProgramIsBusyFiresAtTheFirstTickAfter) {
  const TEvent& event = quorvel->Events().Add();  // due now
  quorvel->Busy().AboutBoxOpen = true;
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);  // a new minute, but busy
  EXPECT_EQ(event.NotifyWindow(), nullptr);
  quorvel->Busy().AboutBoxOpen = false;
  clock.local.wSecond = 1;
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);
  EXPECT_NE(event.NotifyWindow(), nullptr);
}

TEST_F(MainWindowTest, ClockTicksOncePerSecondAndSystemChangesRepaint) {
  TDisplay& d = List()[0];
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);  // first tick: everything changed
  clock.local.wMilliseconds = 400;
  d.SetHighlighted(true);
  EXPECT_TRUE(d.Dirty());
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);  // same second: no work
  EXPECT_TRUE(d.Dirty());
  clock.local.wSecond = 1;
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);
  EXPECT_FALSE(d.Dirty());

  Send(WM_TIMECHANGE);
  EXPECT_TRUE(d.Dirty());
  d.Repaint();
  Send(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"));
  EXPECT_FALSE(d.Dirty());
  Send(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  EXPECT_TRUE(d.Dirty());
  EXPECT_EQ(Send(WM_QUERYENDSESSION), 1);
  // The end of the session saved the displays and the options.
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Displays", false));
  EXPECT_EQ(reg.ReadInteger("Count"), 2);
  EXPECT_TRUE(reg.KeyExists("\\Software\\Quorvel II\\CustomColors"));
}

// On the real clock, the seconds shown change right after the real second: the timer aims just
// past it, not up to a fixed step later. The median of several seconds allows for a busy machine.
TEST_F(MainWindowTest, ASecondsDisplayRepaintsRightAfterTheRealSecond) {
  TWin32Clock realClock;
  Platform().clock = &realClock;
  TDisplay& d = List()[1];
  d.SetText("&time -s;");
  const auto pixels = [&d] {
    const TBitmap32& b = d.Painter()->Bitmap();
    std::vector<std::uint32_t> all;
    for (int y = 0; y < b.Height(); ++y)
      all.insert(all.end(), b.ScanLine(y), b.ScanLine(y) + b.Width());
    return all;
  };
  Send(WM_TIMECHANGE);        // as the system says when its clock moved: the schedule is made anew
  std::vector<int> lateness;  // milliseconds past the second at which the new one was painted
  auto shown = pixels();
  MSG msg;
  while (lateness.size() < 7 && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    DispatchMessageW(&msg);
    Main().RescheduleIfAsked();
    if (msg.message != WM_TIMER || msg.wParam != TQuorvelDisplay::ClockTimerId) continue;
    const int late = realClock.LocalNow().wMilliseconds;
    if (auto now = pixels(); now != shown) {
      lateness.push_back(late);
      shown = std::move(now);
    }
  }
  std::ranges::nth_element(lateness, lateness.begin() + 3);
  EXPECT_LE(lateness[3], 20) << "a fixed step would paint 100 ms late on average";
}

// A message another thread or program sends is handled inside GetMessage, where the loop looks
// at nothing: the clock is armed anew once it is handled, here for the seconds now shown.
TEST_F(MainWindowTest, AMessageFromAnotherThreadArmsTheClockAnewAtOnce) {
  TWin32Clock realClock;
  Platform().clock = &realClock;
  quorvel->Options().AOT5s = false;
  quorvel->Options().ChimeEnabled = false;
  List()[0].Hide();  // the default clock moves its seconds hand
  List()[1].SetText("&time;");
  List()[1].Repaint();
  Send(WM_NULL);
  Main().RescheduleIfAsked();  // nothing to show before the minute: armed for it
  List()[1].SetText("&time -s;");
  std::thread sender([this] { SendMessageW(Main().Handle(), WM_TIMECHANGE, 0, 0); });
  const UINT_PTR deadline = SetTimer(nullptr, 0, 2500, nullptr);
  int ticks = 0;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0 &&
         !(msg.message == WM_TIMER && !msg.hwnd && msg.wParam == deadline)) {
    ticks += msg.message == WM_TIMER && msg.wParam == TQuorvelDisplay::ClockTimerId;
    DispatchMessageW(&msg);
  }
  KillTimer(nullptr, deadline);
  sender.join();
  EXPECT_GE(ticks, 2);
}

// Faults a window procedure's caller may swallow still count here.
long gAccessViolations = 0;
LONG CALLBACK CountAccessViolation(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++gAccessViolations;
  return EXCEPTION_CONTINUE_SEARCH;
}

// While a display window goes, the system's messages reach the main window.
HWND gMainWindow = nullptr;
LRESULT CALLBACK SystemMessagesOnDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  wchar_t name[32] = {};
  if (code == HC_ACTION && message->message == WM_DESTROY &&
      GetClassNameW(message->hwnd, name, 32) && lstrcmpW(name, L"TfrmDisplay") == 0) {
    SendMessageW(gMainWindow, WM_TIMECHANGE, 0, 0);
    SendMessageW(gMainWindow, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    SendMessageW(gMainWindow, WM_HOTKEY, 1, 0);
    SendMessageW(gMainWindow, WM_TIMER, TQuorvelDisplay::ClockTimerId, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainWindowTest, ClosingWithAnActiveDisplayReachesNothingDestroyed) {
  const HWND display = dynamic_cast<TfrmDisplay&>(*List()[1].Window()).Handle();
  SetForegroundWindow(display);
  SetActiveWindow(display);
  PumpMessages();
  ASSERT_EQ(GetActiveWindow(), display);
  gMainWindow = Main().Handle();
  gAccessViolations = 0;
  const PVOID handler = AddVectoredExceptionHandler(1, CountAccessViolation);
  const HHOOK hook =
      SetWindowsHookExW(WH_CALLWNDPROC, SystemMessagesOnDestroy, nullptr, GetCurrentThreadId());
  quorvel.reset();  // the active display's destruction hands the activation on
  UnhookWindowsHookEx(hook);
  RemoveVectoredExceptionHandler(handler);
  EXPECT_EQ(gAccessViolations, 0);
}

TEST_F(MainWindowTest, HotKeysFromTheOptionsAreRegisteredAndReleased) {
  Main().UnregisterHotKeys();
  quorvel->Options().HK_ShowHideDisplays = 0x4000 | 0x8000 | VK_F11;  // Ctrl+Alt+F11
  quorvel->Options().HK_HideDisplays = 0x2000 | 0x8000 | VK_F10;      // Shift+Alt+F10
  Main().RegisterHotKeys();
  TUniqueWindow other(
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  // Held by the main window: nobody else gets them.
  EXPECT_FALSE(RegisterHotKey(other.get(), 7, MOD_CONTROL | MOD_ALT, VK_F11));
  EXPECT_FALSE(RegisterHotKey(other.get(), 8, MOD_SHIFT | MOD_ALT, VK_F10));
  Main().UnregisterHotKeys();
  EXPECT_TRUE(RegisterHotKey(other.get(), 7, MOD_CONTROL | MOD_ALT, VK_F11));
  UnregisterHotKey(other.get(), 7);
}

}  // namespace

namespace {

// Stored events: one-shot, due at 09:30 of the test's day, each with a message.
void StoreEvents(const std::vector<std::pair<std::string, std::int32_t>>& messagesAndModes) {
  TVarnRegistry r;
  r.OpenKey("Software\\Quorvel II\\Events", true);
  r.WriteInteger("Count", static_cast<std::int32_t>(messagesAndModes.size()));
  for (std::size_t i = 0; i < messagesAndModes.size(); ++i) {
    r.OpenKey("\\Software\\Quorvel II\\Events\\00" + std::to_string(i), true);
    r.WriteString("Message", messagesAndModes[i].first);
    r.WriteInteger("ActionShowMessage", messagesAndModes[i].second);
    r.WriteFloat("Trigger", SystemTimeToDateTime({2026, 12, 0, 6, 9, 30, 0, 0}));
  }
  r.CloseKey();
}

// This thread's notification window that is shown, or the one that is hidden.
HWND NotificationWindow(bool visible = true) {
  return FindThreadWindow([&](HWND w) {
    wchar_t caption[64] = {};
    GetWindowTextW(w, caption, 64);
    return lstrcmpW(caption, L"Event notification") == 0 && (IsWindowVisible(w) != 0) == visible;
  });
}

std::string ItemText(HWND dialog, int id) {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog, id, text, 256);
  return WideToUtf8(text);
}

// The windows a screen reader was told of as alerts.
std::vector<HWND> gAlerts;
void CALLBACK RecordAlert(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                          DWORD) {
  if (object == OBJID_CLIENT && child == CHILDID_SELF) gAlerts.push_back(window);
}

}  // namespace

TEST_F(MainWindowTest, EventsFireOnTheClockAndTheirWindowAnswers) {
  quorvel.reset();
  // Mode 1: shown at once; mode 0: a flash takes effect, so it waits for a click.
  StoreEvents({{"Stand up and stretch", 1}, {"Call the office", 0}});
  quorvel = std::make_unique<TQuorvel>();
  PumpMessages();
  gAlerts.clear();
  const HWINEVENTHOOK alerts =
      SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, RecordAlert,
                      GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);
  HWND window = NotificationWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  PumpMessages();
  const HWND firstWindow = window;
  EXPECT_EQ(gAlerts, std::vector<HWND>{firstWindow});  // read out, as it takes no focus
  TWin32Locale locale;
  const TSystemTime due{2026, 12, 0, 6, 9, 30, 0, 0};
  EXPECT_EQ(ItemText(window, TfrmEventNotify::TimeId),
            locale.FormatDate(due, false) + ", " + locale.FormatTime(due, TIME_NOSECONDS) + " ");
  EXPECT_EQ(ItemText(window, TfrmEventNotify::MessageId), "Stand up and stretch");
  EXPECT_EQ(ItemText(window, TfrmEventNotify::SnoozeBoxId), "5");
  EXPECT_EQ(TabOrder(window),
            (std::vector<int>{TfrmEventNotify::SnoozeBoxId, TfrmEventNotify::RemindMeLaterId,
                              TfrmEventNotify::OKId}));
  TEvents& events = quorvel->Events();
  const HWND waiting = NotificationWindow(false);
  ASSERT_NE(waiting, nullptr);  // the second one, hidden until a click on the tray
  // Each further window sits a caption lower and further right; the time line is bold.
  RECT first{}, second{};
  GetWindowRect(window, &first);
  GetWindowRect(waiting, &second);
  const int step = GetSystemMetrics(SM_CYCAPTION);
  EXPECT_EQ(std::vector<LONG>({second.left - first.left, second.top - first.top}),
            std::vector<LONG>({step, step}));
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(
                 SendDlgItemMessageW(window, TfrmEventNotify::TimeId, WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  EXPECT_EQ(font.lfWeight, FW_BOLD);

  // 0 typed, "later" clicked with the mouse: the box raised it to 2 first.
  SetDlgItemTextW(window, TfrmEventNotify::SnoozeBoxId, L"0");
  SetFocus(GetDlgItem(window, TfrmEventNotify::SnoozeBoxId));
  SendDlgItemMessageW(window, TfrmEventNotify::RemindMeLaterId, BM_CLICK, 0, 0);
  PumpMessages();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(quorvel->Options().LastSnoozeTime, 2);
  EXPECT_EQ(events[0].State, TEvent::stSnoozed);
  clock.local.wMinute = 31;
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);
  EXPECT_EQ(events[0].NotifyWindow(), nullptr);
  clock.local.wMinute = 32;
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);
  window = NotificationWindow();
  ASSERT_NE(window, nullptr);
  PumpMessages();
  UnhookWinEvent(alerts);
  EXPECT_EQ(gAlerts, (std::vector<HWND>{firstWindow, window}));    // as it appears again
  EXPECT_EQ(ItemText(window, TfrmEventNotify::SnoozeBoxId), "2");  // the last choice

  // Closed by its title bar: acknowledged as with OK.
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(events[0].State, TEvent::stDone);

  Send(WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(waiting));
  // Shown again by the next click, it keeps the minutes the user typed.
  SetDlgItemTextW(waiting, TfrmEventNotify::SnoozeBoxId, L"17");
  Send(WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_LBUTTONDOWN);
  EXPECT_EQ(ItemText(waiting, TfrmEventNotify::SnoozeBoxId), "17");
  SendDlgItemMessageW(waiting, TfrmEventNotify::OKId, BM_CLICK, 0, 0);
  EXPECT_FALSE(IsWindow(waiting));
  EXPECT_EQ(events[1].State, TEvent::stDone);

  Send(WM_CLOSE);  // saves
  quorvel.reset();
  TVarnRegistry r;
  ASSERT_TRUE(r.OpenKey("Software\\Quorvel II\\Events\\001", false));
  EXPECT_EQ(r.ReadIntegerDef("State", -1), 2);
  EXPECT_EQ(r.ReadStringDef("Message", ""), "Call the office");
}

// Back from a sleep of three hours: every display shows the time now at once, and the event due
// meanwhile fires once, saying when it was due.
TEST_F(MainWindowTest, AResumeRepaintsAndFiresWhatCameDueOnceWithItsDueTime) {
  TEvent& event = quorvel->Events().Add();
  const TSystemTime due{2026, 12, 0, 6, 10, 30, 0, 0};
  event.SetTrigger(SystemTimeToDateTime(due));
  event.ActionFlashDisplay = false;
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);
  EXPECT_EQ(event.NotifyWindow(), nullptr);
  clock.local.wHour += 3;
  clock.local.wSecond = 20;
  clock.utc.wHour += 3;
  for (std::size_t i = 0; i < List().Count(); ++i) List()[i].Repaint();
  EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC), TRUE);
  for (std::size_t i = 0; i < List().Count(); ++i) EXPECT_FALSE(List()[i].Dirty()) << i;
  const HWND window = NotificationWindow();
  ASSERT_NE(window, nullptr);
  TWin32Locale locale;
  EXPECT_EQ(ItemText(window, TfrmEventNotify::DueId),
            "Due at " + locale.FormatTime(due, TIME_NOSECONDS) + " (2 h ago)");
  // Under the message, above the buttons, which moved down to make room.
  RECT message{}, line{}, ok{};
  GetWindowRect(GetDlgItem(window, TfrmEventNotify::MessageId), &message);
  GetWindowRect(GetDlgItem(window, TfrmEventNotify::DueId), &line);
  GetWindowRect(GetDlgItem(window, TfrmEventNotify::OKId), &ok);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, TfrmEventNotify::DueId)));
  EXPECT_LE(message.bottom, line.top);
  EXPECT_LE(line.bottom, ok.top);
  // Once: another resume in the same second, or the next minute, fires nothing more.
  Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC);
  clock.local.wMinute += 1;
  Send(WM_TIMER, TQuorvelDisplay::ClockTimerId);
  EXPECT_EQ(ModelessWindows().OfClass<TfrmEventNotify>().size(), 1u);
}

// What a later start of the program sends: carried out while the program is idle, refused
// with a reason otherwise.
TEST_F(MainWindowTest, CommandsOfALaterStartAreCarriedOutWhileIdle) {
  const auto command = [&](const std::string& arguments) {
    COPYDATASTRUCT data{CommandDataTag, static_cast<DWORD>(arguments.size()),
                        const_cast<char*>(arguments.data())};
    return Send(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  };
  EXPECT_EQ(command("/nonsense"), crNotUnderstood);
  EXPECT_EQ(List().Count(), 2u);
  EXPECT_EQ(command("/chime off"), crDone);
  EXPECT_FALSE(quorvel->Options().ChimeEnabled);
  EXPECT_EQ(command("/timer 2m Tea"), crDone);
  ASSERT_EQ(List().Count(), 3u);
  clock.local.wSecond = 1;
  EXPECT_EQ(dynamic_cast<TDisplayCountdown&>(List()[2]).CurrentText(), "01m 59s\r\nTea");
  EXPECT_EQ(command("/remind 10:00 Dentist"), crDone);
  std::vector<std::string> items;
  gInspectMenu = [&](HMENU menu) { items = ReadMenu(menu); };
  SetTimer(nullptr, 0, 50, InspectOpenMenu);
  Send(WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_RBUTTONUP);
  gInspectMenu = nullptr;
  EXPECT_TRUE(std::any_of(items.begin(), items.end(), [](const std::string& item) {
    return item.starts_with("  12/6/2026 10:00 AM: Dentist");
  }));
  quorvel->Busy().AboutBoxOpen = true;
  EXPECT_EQ(command("/hide"), crBusy);
  EXPECT_EQ(VisibleDisplays(), 3);
  quorvel->Busy().AboutBoxOpen = false;
  EXPECT_EQ(command("/hide"), crDone);
  EXPECT_EQ(VisibleDisplays(), 0);
  EXPECT_EQ(command("/TOGGLE"), crDone);
  EXPECT_EQ(VisibleDisplays(), 3);
}

TEST_F(MainWindowTest, FailuresToLoadAndSaveAreReportedAndTheUserHearsOnceWhatIsLost) {
  static std::string reports;
  const TReportWriter writer = SetReportWriter([](const std::string& text) { reports += text; });
  hive.refusedValue = "Count";  // the events and the displays cannot be written
  std::vector<std::string> boxes;
  const auto answer = [&] {
    const HWND box = FindDialogWith(IDOK);
    if (!box) return false;
    boxes.push_back(ItemText(box, 0xFFFF));  // a message box's text
    Click(box, IDOK);
    return true;
  };
  AnswerModalWindows({answer, answer});
  EXPECT_EQ(Send(WM_QUERYENDSESSION), 1);
  ModalSteps().clear();
  EXPECT_EQ(boxes, std::vector<std::string>{"Quorvel could not save these settings: events, "
                                            "displays. Changes to them are lost."});
  EXPECT_TRUE(TVarnRegistry().KeyExists("\\Software\\Quorvel II\\CustomColors"));
  SetHive(TRootKey::CurrentUser, nullptr);  // the registry fails under the load
  Main().LoadAll();
  SetReportWriter(writer);
  for (const char* step : {"saving the events:", "saving the displays:", "loading the options:",
                           "loading the displays:", "loading the events:"})
    EXPECT_NE(reports.find(step), std::string::npos) << step;
}

TEST_F(MainWindowTest, TheEventEditorMakesAndChangesEventsOnlyOnOK) {
  TEvents& events = quorvel->Events();
  bool busyWhileOpen = false;
  std::vector<int> tabOrder;
  double warningContrast = 0;
  AnswerModalWindows({[&] {
    const HWND editor = FindDialogWith(TfrmEvent::OKId);
    if (!editor) return false;
    busyWhileOpen = !Main().IsIdle();
    tabOrder = TabOrder(editor);
    {
      TWindowDC dc(editor);
      const HWND warning = GetDlgItem(editor, 4033);
      SendMessageW(editor, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                   reinterpret_cast<LPARAM>(warning));
      warningContrast = ContrastRatio(GetTextColor(dc.get()), GetSysColor(COLOR_BTNFACE));
    }
    SetDlgItemTextW(editor, TfrmEvent::MessageId, L"Water the plants");
    Click(editor, TfrmEvent::RepeatOnceId + 1);  // daily
    // A new event has every day; Monday and Wednesday are taken out.
    Click(editor, TfrmEvent::MondayId);
    Click(editor, TfrmEvent::MondayId + 2);
    SYSTEMTIME time{2026, 12, 0, 6, 7, 45, 30, 0};
    SendDlgItemMessageW(editor, TfrmEvent::TimeId, DTM_SETSYSTEMTIME, GDT_VALID,
                        reinterpret_cast<LPARAM>(&time));
    Click(editor, TfrmEvent::OKId);
    return true;
  }});
  Send(WM_COMMAND, cmdNewEvent);
  EXPECT_TRUE(busyWhileOpen);
  EXPECT_GE(warningContrast, 4.5);  // grey, yet readable
  // Top to bottom through what the "once" panel shows; loading waits for a preset to exist.
  using E = TfrmEvent;
  std::vector<int> expected{E::MessageId, E::RepeatOnceId, E::DateId, E::TimeId};
  for (int id = E::NowPlusFirstId; id < E::NowPlusFirstId + 6; ++id) expected.push_back(id);
  expected.insert(
      expected.end(),
      {E::PlaySoundId, E::SoundLoopId, E::SoundId, E::SoundSelectId, E::SoundPlayId, E::SoundStopId,
       E::FlashId, E::FlashFillId, E::FlashOutlineId, E::CommandId, E::CommandLineId,
       E::CommandSelectId, E::NotificationId, E::SavePresetId, E::OKId, E::CancelId});
  EXPECT_EQ(tabOrder, expected);
  EXPECT_TRUE(Main().IsIdle());
  ASSERT_EQ(events.Count(), 1u);
  EXPECT_EQ(events[0].Message, "Water the plants");
  EXPECT_EQ(events[0].Repeat, TEvent::rpDaily);
  EXPECT_EQ(events[0].RepeatDaily, 0x7A);
  const TSystemTime next = DateTimeToSystemTime(events[0].Trigger());
  EXPECT_EQ(std::vector<int>({next.wDay, next.wHour, next.wMinute, next.wSecond}),
            std::vector<int>({8, 7, 45, 0}));  // Tuesday, seconds dropped

  // A one-shot a minute ago: OK asks first; No keeps the editor open, Yes saves it done.
  events[0].Repeat = TEvent::rpOnce;
  events[0].SetTrigger(LocalDateTimeNow() - 1.0 / 1440);
  int questions = 0;
  const auto answer = [&](int button) {
    return [&, button] {
      const HWND question = FindDialogWith(IDYES);
      if (!question) return false;
      ++questions;
      Click(question, button);
      return true;
    };
  };
  const auto ok = [] {
    // The editor, once no question is open over it.
    const HWND editor = FindDialogWith(TfrmEvent::OKId);
    if (!editor || FindDialogWith(IDYES)) return false;
    Click(editor, TfrmEvent::OKId);
    return true;
  };
  AnswerModalWindows({ok, answer(IDNO), ok, answer(IDYES)});
  Send(WM_COMMAND, cmdFirstEvent);
  EXPECT_EQ(questions, 2);
  EXPECT_EQ(events[0].State, TEvent::stDone);

  // Cancel leaves the event as it was, whatever the controls said.
  AnswerModalWindows({[] {
    const HWND editor = FindDialogWith(TfrmEvent::OKId);
    if (!editor) return false;
    SetDlgItemTextW(editor, TfrmEvent::MessageId, L"changed");
    Click(editor, TfrmEvent::CancelId);
    return true;
  }});
  Send(WM_COMMAND, cmdFirstEvent);
  EXPECT_EQ(events[0].Message, "Water the plants");
  Send(WM_COMMAND, cmdFirstEvent + 5);  // no such event: nothing opens (nothing would close it)
}
