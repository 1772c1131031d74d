// Every window of the program opened as a user opens it, in English and in German, and read as a
// user reads it: it fits a small screen at the DPI this process runs at, no control lies outside
// its parent or over a sibling, every text fits its control, every labelled control has an
// access key of its own, and no text of a German window is its English window's text at the same
// place. The test command runs it at 96, 144 and 192 dpi.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/fTooltip.h"
#include "config/uOptions.h"
#include "config/uWin32SettingsFile.h"
#include "display/fDisplay.h"
#include "events/fEventNotify.h"
#include "events/uEvents.h"
#include "prefs/fAnalogClockPreferences.h"
#include "prefs/fCountdownPreferences.h"
#include "prefs/fDisplayPreferences.h"
#include "prefs/fPreferences.h"
#include "support/uDialogControls.h"
#include "support/uModelessWindows.h"
#include "support/uWinHandles.h"
#include "support/uWinText.h"
#include "win/uMainWindowTest.h"
#include "win/uModalSteps.h"

namespace {

std::wstring TextOf(HWND w) {
  wchar_t text[1024] = {};
  GetWindowTextW(w, text, 1024);
  return text;
}

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = {};
  GetClassNameW(w, name, 64);
  return name;
}

bool IsClass(HWND w, const wchar_t* name) { return lstrcmpiW(ClassOf(w).c_str(), name) == 0; }

LONG_PTR Style(HWND w) { return GetWindowLongPtrW(w, GWL_STYLE); }

RECT ScreenRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

RECT ClientScreenRect(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT common{};
  return IntersectRect(&common, &a, &b) != FALSE;
}

int Dpi() {
  TWindowDC screen(nullptr);
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

int Scaled(int pixels) { return MulDiv(pixels, Dpi(), 96); }

// The smallest work area a screen used at this DPI leaves a window: 800 x 600 at 96 dpi,
// 1280 x 800 at 144 dpi (a laptop at 150 %), otherwise 800 x 600 of 96-dpi pixels grown with
// the DPI; each less a taskbar 40 pixels high at 96 dpi.
SIZE SmallestWorkArea() {
  const int dpi = Dpi();
  SIZE screen{MulDiv(800, dpi, 96), MulDiv(600, dpi, 96)};
  if (dpi == 144) screen = {1280, 800};
  return {screen.cx, screen.cy - Scaled(40)};
}

enum class TControl { Other, Label, CheckBox, Radio, PushButton, GroupBox, Input };

TControl KindOf(HWND w) {
  if (IsClass(w, L"Static")) {
    const auto type = Style(w) & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP
               ? TControl::Label
               : TControl::Other;
  }
  if (IsClass(w, L"Button")) {
    switch (Style(w) & BS_TYPEMASK) {
      case BS_CHECKBOX:
      case BS_AUTOCHECKBOX:
      case BS_3STATE:
      case BS_AUTO3STATE:
        return TControl::CheckBox;
      case BS_RADIOBUTTON:
      case BS_AUTORADIOBUTTON:
        return TControl::Radio;
      case BS_GROUPBOX:
        return TControl::GroupBox;
      case BS_PUSHBUTTON:
      case BS_DEFPUSHBUTTON:
        return (Style(w) & (BS_ICON | BS_BITMAP)) || TextOf(w).empty() ? TControl::Input
                                                                       : TControl::PushButton;
      default:  // owner-drawn: a colour button, with a caption of its own or labelled before it
        return TextOf(w).empty() ? TControl::Input : TControl::PushButton;
    }
  }
  for (const wchar_t* input : {L"Edit", L"ComboBox", L"ListBox", WC_LISTVIEWW, WC_TREEVIEWW,
                               TRACKBAR_CLASSW, DATETIMEPICK_CLASSW, HOTKEY_CLASSW})
    if (IsClass(w, input)) return TControl::Input;
  return TControl::Other;
}

bool HasLetter(const std::wstring& text) {
  for (const wchar_t c : text)
    if (std::iswalpha(c)) return true;
  return false;
}

// The character after the single "&", upper case; 0 when there is none.
wchar_t AccessKey(const std::wstring& text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != L'&') continue;
    if (text[i + 1] != L'&') return static_cast<wchar_t>(std::towupper(text[i + 1]));
    ++i;
  }
  return 0;
}

// The text's extent in the control's own font, wrapped at width when wrap is set.
SIZE TextExtent(HWND control, const std::wstring& text, bool wrap, int width) {
  TWindowDC dc(control);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  TSelectObject select(dc.get(), font ? font : GetStockObject(DEFAULT_GUI_FONT));
  RECT r{0, 0, width, 0};
  const UINT format =
      DT_CALCRECT | (wrap ? DT_WORDBREAK : DT_SINGLELINE) |
      ((Style(control) & SS_NOPREFIX) && IsClass(control, L"Static") ? DT_NOPREFIX : 0);
  DrawTextW(dc.get(), text.c_str(), -1, &r, format);
  return {r.right - r.left, r.bottom - r.top};
}

// The shown windows of this thread that stay above all others (displays always on top).
std::vector<HWND> WindowsOnTop() {
  std::vector<HWND> found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM list) {
        if (IsWindowVisible(w) && (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST))
          reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

constexpr wchar_t kSampleMessage[] = L"Stand up and stretch";

// Whether a text the German window shows as the English one did may stay so: German writes it
// the same way, or it is not a text of the program's own (the test's sample message, numbers,
// dates and addresses, the names of days the system's locale gives).
bool MayStayEnglish(std::wstring text) {
  std::erase(text, L'&');
  static const std::set<std::wstring> alike{L"Quorvel", L"Text", L"Normal", L"Position:",
                                            L"GMT",     L"Name", L"OK",     kSampleMessage};
  if (alike.contains(text) || text.find(L"://") != std::wstring::npos ||
      std::any_of(text.begin(), text.end(), [](wchar_t c) { return std::iswdigit(c); }))
    return true;
  for (LCTYPE day = LOCALE_SABBREVDAYNAME1; day <= LOCALE_SABBREVDAYNAME7; ++day) {
    wchar_t name[32] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, day, name, 32);
    if (text == name) return true;
  }
  return false;
}

// What a user of one window state sees wrong, one line each.
class TLayoutCheck {
 public:
  // Only a display's own preferences window keeps clear of the displays on top; the user may
  // have put one over any other window.
  void Check(HWND window, const std::string& name, bool coverable) {
    FName = name;
    const RECT bounds = ScreenRect(window);
    const SIZE area = SmallestWorkArea();
    if (bounds.right - bounds.left > area.cx || bounds.bottom - bounds.top > area.cy)
      Fault("is " + Size(bounds) + ", larger than a work area of " + std::to_string(area.cx) +
            " x " + std::to_string(area.cy));
    MONITORINFO monitor{sizeof(monitor)};
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    if (!Inside(bounds, monitor.rcWork)) Fault("lies outside its monitor's work area");
    for (const HWND above : coverable ? std::vector<HWND>{} : WindowsOnTop())
      if (above != window && Overlap(ScreenRect(above), bounds))
        Fault("is covered by a window that stays on top");
    FKeys.clear();
    FWindow = name.substr(0, name.rfind('-'));
    FGerman = name.ends_with("-de");
    FOrdinal = 0;
    CheckTranslated(TextOf(window));
    CheckChildren(window);
  }
  std::vector<std::string> faults;

 private:
  void CheckChildren(HWND parent) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
      if (IsWindowVisible(c)) children.push_back(c);
    const RECT client = ClientScreenRect(parent);
    for (std::size_t i = 0; i < children.size(); ++i) {
      const HWND c = children[i];
      if (!Inside(ScreenRect(c), client)) Fault(Name(c) + " lies outside its parent");
      for (std::size_t j = i + 1; j < children.size(); ++j) CheckOverlap(c, children[j]);
      CheckText(c, i + 1 < children.size() ? children[i + 1] : nullptr);
      CheckItemsTranslated(c);
      if (IsClass(c, WC_LISTVIEWW)) CheckColumns(c);
      if (IsClass(c, L"#32770")) CheckChildren(c);  // a page of the window
    }
  }

  // Containers (group boxes, tab controls) hold siblings whole; an up-down control sits on the
  // edge of its edit box; nothing else overlaps.
  void CheckOverlap(HWND a, HWND b) {
    const RECT ra = ScreenRect(a), rb = ScreenRect(b);
    if (!Overlap(ra, rb)) return;
    const auto buddies = [](HWND upDown, HWND edit) {
      return IsClass(upDown, UPDOWN_CLASSW) &&
             reinterpret_cast<HWND>(SendMessageW(upDown, UDM_GETBUDDY, 0, 0)) == edit;
    };
    if (buddies(a, b) || buddies(b, a)) return;
    const auto container = [](HWND w) {
      return KindOf(w) == TControl::GroupBox || IsClass(w, WC_TABCONTROLW);
    };
    if ((container(a) && Inside(rb, ra)) || (container(b) && Inside(ra, rb))) return;
    Fault(Name(a) + " overlaps " + Name(b));
  }

  void CheckText(HWND c, HWND next) {
    const TControl kind = KindOf(c);
    const std::wstring text = TextOf(c);
    if (kind == TControl::Other || kind == TControl::Input) return;
    CheckTranslated(text);
    if (!HasLetter(text)) return;
    const RECT r = ScreenRect(c);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const bool wraps = kind == TControl::Label ? (Style(c) & SS_TYPEMASK) != SS_LEFTNOWORDWRAP
                                               : (Style(c) & BS_MULTILINE) != 0;
    // Room the control keeps for itself: the box of a check box, a button's edges.
    const bool colourButton = (Style(c) & BS_TYPEMASK) == BS_OWNERDRAW;
    const int own = kind == TControl::CheckBox || kind == TControl::Radio
                        ? GetSystemMetrics(SM_CXMENUCHECK) + Scaled(4)
                    : kind == TControl::PushButton ? Scaled(6) + (colourButton ? height : 0)
                    : kind == TControl::GroupBox   ? Scaled(16)
                                                   : 0;
    const SIZE need = TextExtent(c, text, wraps, width - own);
    if (need.cx + own > width || (kind != TControl::GroupBox && need.cy > height))
      Fault(Name(c) + " cuts its text (needs " + std::to_string(need.cx + own) + " x " +
            std::to_string(need.cy) + ", has " + std::to_string(width) + " x " +
            std::to_string(height) + ")");
    CheckAccessKey(c, kind, text, next);
  }

  // Each column of a list is as wide as its heading and its texts (of the rows shown).
  void CheckColumns(HWND list) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? Header_GetItemCount(header) : 0;
    const int rows = std::min(ListView_GetItemCount(list), 40);
    for (int column = 0; column < columns; ++column) {
      // The heading keeps three edges of room on either side.
      int need = TextExtent(header, HeaderItemText(header, column), false, 0).cx +
                 6 * GetSystemMetrics(SM_CXEDGE);
      for (int row = 0; row < rows; ++row) {
        wchar_t text[256] = {};
        ListView_GetItemText(list, row, column, text, 256);
        const int cell = static_cast<int>(
            SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
        need = std::max(need, cell + 12);  // the list's own room after a text, at any DPI
      }
      const int width = ListView_GetColumnWidth(list, column);
      if (width < need)
        Fault(Name(list) + " column " + std::to_string(column) + " is " + std::to_string(width) +
              " wide, its texts need " + std::to_string(need));
    }
  }

  // Labels name the input after them; buttons and boxes name themselves. The default button is
  // reached by Enter, a Help button by F1.
  void CheckAccessKey(HWND c, TControl kind, const std::wstring& text, HWND next) {
    if (kind == TControl::GroupBox) return;
    if (kind == TControl::PushButton && (Style(c) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return;
    if (GetDlgCtrlID(c) == TfrmPreferences::HelpId) return;
    if (kind == TControl::Label && !(next && KindOf(next) == TControl::Input)) return;
    const wchar_t key = AccessKey(text);
    if (!key) {
      Fault(Name(c) + " has no access key");
      return;
    }
    const auto [it, added] = FKeys.emplace(key, c);
    if (!added) Fault(Name(c) + " shares its access key with " + Name(it->second));
  }

  // The texts of a window's tabs, of a list's headings and of a tree's rows.
  void CheckItemsTranslated(HWND c) {
    wchar_t text[256] = {};
    if (IsClass(c, WC_TABCONTROLW)) {
      for (int i = 0; i < TabCtrl_GetItemCount(c); ++i) {
        TCITEMW item{TCIF_TEXT, 0, 0, text, 256, 0, 0};
        TabCtrl_GetItem(c, i, &item);
        CheckTranslated(text);
      }
    } else if (IsClass(c, WC_LISTVIEWW)) {
      const auto header = reinterpret_cast<HWND>(SendMessageW(c, LVM_GETHEADER, 0, 0));
      for (int i = 0; header && i < Header_GetItemCount(header); ++i)
        CheckTranslated(HeaderItemText(header, i));
    } else if (IsClass(c, WC_TREEVIEWW)) {
      for (HTREEITEM i = TreeView_GetRoot(c); i; i = TreeView_GetNextVisible(c, i)) {
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = i;
        item.pszText = text;
        item.cchTextMax = 256;
        TreeView_GetItem(c, &item);
        CheckTranslated(text);
      }
    }
  }

  // A German window's text that is its English window's text at the same place was left
  // untranslated, unless German writes it the same way or it is not the program's own.
  void CheckTranslated(const std::wstring& text) {
    const std::string key = FWindow + "#" + std::to_string(FOrdinal++);
    if (!FGerman) {
      FEnglish[key] = text;
      return;
    }
    const auto english = FEnglish.find(key);
    if (HasLetter(text) && english != FEnglish.end() && english->second == text &&
        !MayStayEnglish(text))
      Fault("\"" + WideToUtf8(text) + "\" is left in English");
  }

  std::string Name(HWND c) const {
    std::string name = WideToUtf8(TextOf(c));
    name.insert(name.begin(), '"');
    return name.append("\" (").append(std::to_string(GetDlgCtrlID(c))).append(")");
  }
  static std::string Size(const RECT& r) {
    return std::to_string(r.right - r.left) + " x " + std::to_string(r.bottom - r.top);
  }
  void Fault(const std::string& what) { faults.push_back(FName + ": " + what); }

  std::string FName;
  std::map<wchar_t, HWND> FKeys;
  std::string FWindow;  // the name without its language
  bool FGerman = false;
  int FOrdinal = 0;  // the place of a text in its window, the same in both languages
  std::map<std::string, std::wstring> FEnglish;
};

// Asks scripts/look.sh for a picture of the window, when QUORVEL_LAYOUT_SHOTS names its folder:
// the window's name and place go into a request file, which the script removes once it has taken
// the picture from the display server.
void SaveShot(HWND window, const std::string& name) {
  const char* folder = std::getenv("QUORVEL_LAYOUT_SHOTS");
  if (!folder) return;
  const RECT r = ScreenRect(window);
  const auto request = std::filesystem::path(folder) / "request";
  const auto writing = std::filesystem::path(folder) / "request.new";
  std::ofstream(writing) << name << "-" << Dpi() << " " << r.right - r.left << "x"
                         << r.bottom - r.top << "+" << r.left << "+" << r.top << "\n";
  std::filesystem::rename(writing, request);  // whole, as the script reads it
  for (int i = 0; i < 200 && std::filesystem::exists(request); ++i) Sleep(50);
}

class LayoutTest : public MainWindowTest {
 protected:
  void Look(HWND window, const std::string& name, bool coverable = true) {
    RunLoop();
    Check(window, name, coverable);
  }
  void Check(HWND window, const std::string& name, bool coverable = true) {
    const std::string full = name + "-" + FLanguage;
    SaveShot(window, full);
    check.Check(window, full, coverable);
  }
  // Opens a modal window and looks at it in each of its states (set up by the first of each
  // pair), then closes it with Esc. Each look waits a step of the modal loop after the set-up,
  // so that the window has painted.
  using TState = std::pair<std::function<void(HWND)>, std::string>;
  void LookModal(int controlId, const std::function<void()>& open, std::vector<TState> states) {
    std::vector<std::function<bool()>> steps;
    int looked = 0;
    for (const TState& state : states) {
      steps.push_back([=] {
        const HWND dialog = FindDialogWith(controlId);
        if (dialog && state.first) state.first(dialog);
        return dialog != nullptr;
      });
      steps.push_back([=, this, &looked] {
        Check(FindDialogWith(controlId), state.second);
        ++looked;
        return true;
      });
    }
    steps.push_back([=] {
      PostMessageW(FindDialogWith(controlId), WM_COMMAND, IDCANCEL, 0);
      return true;
    });
    AnswerModalWindows(std::move(steps));
    open();
    EXPECT_EQ(looked, static_cast<int>(states.size())) << controlId;
  }

  void LookAtPreferences() {
    // Rows that fill the lists' columns.
    TEvent& event = quorvel->Events().Add();
    event.Message = "Take the bread out of the oven";
    event.Repeat = TEvent::rpDaily;
    Send(WM_SECOND_INSTANCE);
    TfrmPreferences& prefs = *Main().Preferences();
    const char* tabs[] = {"preferences-displays", "preferences-events"};
    for (int page = 0; page < 2; ++page) {
      prefs.ShowPage(page);
      Look(prefs.Handle(), tabs[page]);
    }
    prefs.ShowPage(2);
    const HWND tree = prefs.Control(TfrmPreferences::TreeId);
    int node = 0;
    for (auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
         item; item = reinterpret_cast<HTREEITEM>(SendMessageW(
                   tree, TVM_GETNEXTITEM, TVGN_NEXTVISIBLE, reinterpret_cast<LPARAM>(item)))) {
      SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
      Look(prefs.Handle(), "preferences-option" + std::to_string(node++));
    }
    SendMessageW(prefs.Handle(), WM_CLOSE, 0, 0);
    RunLoop();
    quorvel->Events().Delete(&event);
  }

  void LookAtDisplayPreferences(std::uint8_t kind, const std::string& name) {
    TDisplay* display = List().Add(kind);
    // In the screen's corner: a clock grows with the DPI, and at 192 dpi the test's screen
    // (1280 x 1024) has room for the window beside it only there.
    display->Left = 0;
    display->Top = 0;
    display->SetActive(true);
    ASSERT_TRUE(display->Configure(nullptr));
    TacDisplayPreferences& window = *DisplayPreferencesOf(*display);
    for (int tab = 0; tab < TabCtrl_GetItemCount(window.TabControl()); ++tab) {
      window.ShowTab(tab);
      Look(window.Handle(), name + "-tab" + std::to_string(tab), false);
    }
    if (kind == dkAnalogClock)
      LookModal(5103, [&] { Click(window, TfrmDisplayPreferencesAnalogClock::PickZoneId); },
                {{nullptr, "zone-picker"}});
    LookModal(5010, [&] { Click(window, TacDisplayPreferences::SavePresetId); },
              {{nullptr, "preset-window"}});
    SendMessageW(window.Handle(), WM_CLOSE, 0, 0);
    RunLoop();
    List().Delete(display);
  }

  void LookAtEventWindows() {
    std::vector<TState> modes;
    for (int mode = 0; mode < 4; ++mode)
      modes.push_back(
          {[mode](HWND editor) { SendDlgItemMessageW(editor, 4010 + mode, BM_CLICK, 0, 0); },
           "event-editor-mode" + std::to_string(mode)});
    LookModal(
        4050, [&] { Send(WM_COMMAND, 18); }, modes);
    TEvent event(LocalDateTimeNow(), &List());
    event.Message = WideToUtf8(kSampleMessage);
    const auto notify = OpenEventNotify(event, quorvel->Options(), nullptr);
    notify->ShowWithoutActivation();
    Look(ModelessWindows().OfClass<TfrmEventNotify>().back()->Handle(), "notification");
    // Come late, after a sleep: the line saying when it was due, under the message.
    TEvent late(LocalDateTimeNow(), &List());
    late.Message = event.Message;
    late.ActionFlashDisplay = false;
    late.Fire(LocalDateTimeNow() - 130.0 / 1440, LocalDateTimeNow());
    Look(ModelessWindows().OfClass<TfrmEventNotify>().back()->Handle(), "notification-late");
  }

  // Pictures for the eye of a clock of each kind and of the tray's tip; no layout rule speaks of
  // them.
  void LookAtDisplaysAndTip() {
    const std::pair<std::uint8_t, const char*> kinds[] = {
        {dkAnalogClock, "display-analog-clock"}, {dkDigitalClock, "display-digital-clock"}};
    for (const auto& [kind, name] : kinds) {
      TDisplay* display = List().Add(kind);
      display->Left = 300;
      display->Top = 200;
      display->SetActive(true);
      display->Show();
      RunLoop();
      SaveShot(dynamic_cast<TfrmDisplay&>(*display->Window()).Handle(), name);
      List().Delete(display);
    }
    const HWND tip = FindWindowW(TfrmTooltip::ClassName, nullptr);
    SetCursorPos(600, 500);
    Send(WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_MOUSEMOVE);
    for (int i = 0; i < 80 && !IsWindowVisible(tip); ++i) {
      Sleep(10);
      PumpMessages();
    }
    if (IsWindowVisible(tip)) SaveShot(tip, "tooltip");
    Send(WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_LBUTTONDOWN);
  }

  void LookAtEverything(const std::string& language) {
    FLanguage = language;
    if (language == "en") LookAtDisplaysAndTip();
    LookAtPreferences();
    LookAtDisplayPreferences(dkAnalogClock, "analog-clock");
    LookAtDisplayPreferences(dkDigitalClock, "digital-clock");
    LookAtDisplayPreferences(dkCountdown, "countdown");
    LookAtDisplayPreferences(dkStopwatch, "stopwatch");
    LookAtEventWindows();
    LookModal(2194, [&] { Send(WM_COMMAND, 19); }, {{nullptr, "about"}});
    LookModal(0xFFFF, [] { ReportDamagedSettings(); }, {{nullptr, "damaged-settings"}});
    Send(WM_COMMAND, 8);
    const HWND calendar = FindDialogWith(5201);
    ASSERT_NE(calendar, nullptr);
    Look(calendar, "calendar");
    SendMessageW(calendar, WM_CLOSE, 0, 0);
  }

  static void Click(TacDisplayPreferences& window, int id) {
    SendMessageW(window.Control(id), BM_CLICK, 0, 0);
  }

  TLayoutCheck check;
  std::string FLanguage;
};

std::string ShippedGerman() {
  std::ifstream in(std::filesystem::path(QUORVEL_SOURCE_DIR) / "src/resources/deutsch.lng",
                   std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(LayoutTest, EveryWindowFitsItsTextsAndAccessKeysInBothLanguages) {
  SetCursorPos(200, 200);
  // Zones with long names for the zone picker's columns.
  WriteTimeZone("Central Pacific Standard Time", -660, 1);
  WriteTimeZone("Newfoundland Standard Time", 210, 2);
  quorvel->TimeZones().Load();
  LookAtEverything("en");
  TMultiLanguage german(TMultiLanguage::TNoRegistry{});
  german.LoadFromText(ShippedGerman());
  ASSERT_TRUE(german.HasTranslations());
  TInstalledLanguage installed(german);
  LookAtEverything("de");
  std::string all;
  for (const std::string& fault : check.faults) all += fault + "\n";
  EXPECT_TRUE(check.faults.empty()) << check.faults.size() << " faults at " << Dpi() << " dpi:\n"
                                    << all;
}

}  // namespace
