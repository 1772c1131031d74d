#include "app/fMsgHandler.h"

#include <cstring>
#include <utility>

#include "app/dAbout.h"
#include "app/uCommandLine.h"
#include "app/uTooltip.h"
#include "config/uMultilanguage.h"
#include "config/uOptions.h"
#include "display/uDisplayList.h"
#include "events/fEvent.h"
#include "events/uEvents.h"
#include "events/uTowerClock.h"
#include "prefs/fDisplayPreferences.h"
#include "support/uBusyState.h"
#include "support/uModelessWindows.h"
#include "support/uPlatform.h"
#include "support/uReport.h"
#include "support/uSystemLibrary.h"
#include "support/uTools.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"
#include "timezones/uTimeZones.h"

namespace {

constexpr wchar_t kApplicationClass[] = L"TQuorvelApplication";
constexpr wchar_t kHomePage[] = L"https://quorvel.example.org/";
constexpr wchar_t kMakerPage[] = L"https://quorvel.example.org/about";

UINT HotKeyModifiers(unsigned shift) {
  UINT mods = 0;
  if (shift & ssShift) mods |= MOD_SHIFT;
  if (shift & ssCtrl) mods |= MOD_CONTROL;
  if (shift & ssAlt) mods |= MOD_ALT;
  return mods;
}

}  // namespace

TApplicationWindow::TApplicationWindow() {
  RegisterWindowClass(kApplicationClass, 0, nullptr);
  CreateHandle(WS_EX_TOOLWINDOW, kApplicationClass, TQuorvelDisplay::Caption, WS_POPUP,
               RECT{0, 0, 0, 0}, nullptr);
}

TApplicationWindow::~TApplicationWindow() { DestroyHandle(); }

LRESULT TApplicationWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Closing the application closes its main window, which saves first.
  if (msg == WM_CLOSE) {
    if (FMainWindow) PostMessageW(FMainWindow, WM_CLOSE, 0, 0);
    return 0;
  }
  return DefaultHandler(msg, wParam, lParam);
}

TQuorvelDisplay::TQuorvelDisplay(TApplicationWindow& application,
                                 const TApplicationObjects& objects)
    : FApplication(application),
      FOptions(objects.Options),
      FTimeZones(objects.TimeZones),
      FDisplayList(objects.DisplayList),
      FEvents(objects.Events),
      FBusy(objects.Busy),
      FTooltip(objects.Tooltip),
      FLanguage(objects.Language) {
  RegisterWindowClass(ClassName, 0, nullptr);
  CreateHandle(0, ClassName, Caption, WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 100},
               application.Handle());
  FormCreate();
}

TQuorvelDisplay::~TQuorvelDisplay() {
  FormDestroy();
  KillTimer(Handle(), ClockTimerId);
  DestroyHandle();
}

void TQuorvelDisplay::FormCreate() {
  SetWindowLongPtrW(FApplication.Handle(), GWL_EXSTYLE, WS_EX_TOOLWINDOW);
  // The four objects exist already, empty: the root made them before this window.
  PostMessageW(Handle(), WM_DEFERRED_START, 0, 0);
}

void TQuorvelDisplay::FormClose() {
  FTerminating = true;
  SaveAllOrKeepGoing();
  PostQuitMessage(0);
}

void TQuorvelDisplay::SaveAllOrKeepGoing() {
  // A refused write must not keep the program (or the session) from ending, but
  // the user hears that those changes are lost: once, for every part at a time.
  const std::vector<std::string> failed = SaveAll();
  if (failed.empty()) return;
  std::string names;
  for (const std::string& name : failed) names += (names.empty() ? "" : ", ") + name;
  const std::wstring text = Utf8ToWide(
      ReplaceAll(GetText("MSG_SAVE_FAILED",
                         "Quorvel could not save these settings: %s. Changes to them are lost."),
                 "%s", names));
  MessageBoxW(FApplication.Handle(), text.c_str(), Caption,
              MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void TQuorvelDisplay::FormDestroy() {
  // Each edits a display and may tell the preferences window: both still exist.
  CloseAllDisplayPreferences();
  ModelessWindows().CloseAll<TfrmPreferences>();
  UnregisterHotKeys();
  FTrayIcon.reset();
  ModelessWindows().CloseAll<TfrmCalendar>();
  // No chime plays on into the program's end.
  EndTowerClocks();
  // The display windows go while this window and every object their last
  // messages (activation handed on, a timer) reach are still there.
  FDisplayList.Clear();
  FDestroyed = true;
}

void TQuorvelDisplay::DeferredStart() {
  // A damaged catalogue keeps the zones read before the damage.
  RunReported("loading the time zones", [this] { FTimeZones.Load(); });
  LoadAll();
  SetTrayIconVisible(FOptions.ShowTrayIcon);
  FDisplayList.ShowAll();
  if constexpr (ClockOnFixedStep) {
    SetTimer(Handle(), ClockTimerId, TClockLoop::FixedStep, nullptr);
  } else {
    FClockRunning = true;
    ArmClock();
  }
  RegisterHotKeys();
  FTooltip.Zones = &FTimeZones;
  FTooltip.Enabled = true;
}

void TQuorvelDisplay::LoadAll() {
  THourglass hourglass;
  // Each step on its own: a failure costs that step's data only, and what was
  // not loaded is not saved either (the loads say so).
  RunReported("importing old settings", [] { ImportOldSettings(); });
  RunReported("loading the options", [this] { FOptions.Load(); });
  RunReported("loading the displays", [this] { FDisplayList.Load(); });
  RunReported("loading the events", [this] { FEvents.Load(); });
}

std::vector<std::string> TQuorvelDisplay::SaveAll() {
  THourglass hourglass;
  // Each part on its own: one that cannot be written does not keep the others from it.
  std::vector<std::string> failed;
  const auto save = [&failed](const char* where, const std::string& name, auto&& step) {
    if (!RunReported(where, step)) failed.push_back(name);
  };
  save("saving the events", GetText("SAVE_EVENTS", "events"), [this] { FEvents.Save(); });
  save("saving the displays", GetText("SAVE_DISPLAYS", "displays"),
       [this] { FDisplayList.Save(); });
  save("saving the options", GetText("SAVE_OPTIONS", "options"), [this] { FOptions.Save(); });
  return failed;
}

bool TQuorvelDisplay::IsIdle() const { return FBusy.IsIdle(); }

bool TQuorvelDisplay::DisplayPreferencesOpen() const { return FBusy.DisplayPreferencesOpen; }

void TQuorvelDisplay::OpenPreferences(int page, TDisplay* display, int left, int top,
                                      bool hasPosition) {
  if (!IsIdle()) return;
  FDisplayList.ShowAll();
  TfrmPreferences* preferences = Preferences();
  if (!preferences) {
    FBusy.PreferencesWindowExists = true;
    preferences = ModelessWindows().Open(std::make_unique<TfrmPreferences>(PreferencesContext()),
                                         FApplication.Handle());
    if (!preferences) {
      FBusy.PreferencesWindowExists = false;
      return;
    }
  }
  if (hasPosition) preferences->SetPosition(left, top);
  preferences->Open();
  preferences->ShowPage(page);
  if (page == 0 && display) preferences->SelectDisplay(display);
}

TPreferencesContext TQuorvelDisplay::PreferencesContext() {
  return {FOptions,
          FDisplayList,
          FEvents,
          FTimeZones,
          FLanguage,
          FBusy,
          Handle(),
          [this] { SaveAllOrKeepGoing(); },
          [this](bool visible) { SetTrayIconVisible(visible); },
          [this](bool registered) { registered ? RegisterHotKeys() : UnregisterHotKeys(); },
          [this](int left, int top) {
            PostMessageW(Handle(), WM_REOPEN_PREFERENCES, static_cast<WPARAM>(left),
                         static_cast<LPARAM>(top));
          },
          [this] { FBusy.PreferencesWindowExists = false; }};
}

void TQuorvelDisplay::ShowPopupMenu(TDisplay* display) {
  if (!IsIdle() || FMenu) return;
  FMenuDisplay = display;
  // Foreground first, so that the menu closes when the user clicks elsewhere.
  SetForegroundWindow(Handle());
  TMenuState state;
  state.chimeEnabled = FOptions.ChimeEnabled;
  state.eventCount = FEvents.Count();
  for (std::size_t i = 0; i < FEvents.Count(); ++i) {
    const TEvent& event = FEvents[i];
    if (event.Active() && event.State != TEvent::stDone)
      state.pending.push_back({i, event.Trigger(), event.Message, event.Describe()});
  }
  TMainMenu menu(Handle());
  menu.Build(BuildPopupMenu(display, state));
  FMenu = &menu;
  // No tip over the menu.
  FTooltip.Enabled = false;
  menu.Popup();
  FTooltip.Enabled = !FTerminating;
  FMenu = nullptr;
}

void TQuorvelDisplay::SetTrayIconVisible(bool visible) {
  if (!visible) {
    FTrayIcon.reset();
    return;
  }
  // One the shell refused (no taskbar yet at a start with Windows) is asked for again.
  if (FTrayIcon && FTrayIcon->Visible()) return;
  FTrayIcon = std::make_unique<TVarnTrayIcon>(Handle(), WM_TRAY_NOTIFY, TrayIconId);
  FTrayIcon->BeginUpdate();
  FTrayIcon->AddIconName(L"TRAYICON001");
  FTrayIcon->SetIconIndex(0);
  RefreshTrayTip();
  FTrayIcon->SetVisible(true);
  FTrayIcon->EndUpdate();
}

void TQuorvelDisplay::RefreshTrayTip() {
  if (!FTrayIcon) return;
  FTooltip.Template = FOptions.ToolTipText;
  FTrayIcon->SetTip(Utf8ToWide(FTooltip.EvaluatedText()));
}

void TQuorvelDisplay::HandleTrayMouse(UINT mouseMessage) {
  // The keyboard's select key clicks the icon; its menu key opens the menu, which a right
  // click has opened already when the shell reports it after the button's release.
  const UINT previous = std::exchange(FLastTrayMessage, mouseMessage);
  if (mouseMessage == NIN_KEYSELECT) mouseMessage = WM_LBUTTONDOWN;
  if (mouseMessage == WM_CONTEXTMENU && previous != WM_RBUTTONUP) mouseMessage = WM_RBUTTONUP;
  FTooltip.Template = FOptions.ToolTipText;
  FTooltip.HandleTrayMouse(mouseMessage == WM_MOUSEMOVE || mouseMessage == WM_NCMOUSEMOVE);
  switch (mouseMessage) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (IsIdle()) {
        FEvents.ShowNotifications();
        if (mouseMessage == WM_LBUTTONDOWN) FDisplayList.ShowAll();
      }
      BringLastActivePopupForward();
      // The dialog hands the focus on to its last focused control; not past a modal window.
      if (const TfrmPreferences* preferences = Preferences();
          preferences && IsWindowEnabled(preferences->Handle()))
        SetFocus(preferences->Handle());
      break;
    case WM_LBUTTONDBLCLK:
      if (IsIdle()) OpenPreferences(0, nullptr, 0, 0, false);
      break;
    case WM_RBUTTONUP:
      ShowPopupMenu(nullptr);
      break;
    default:
      break;
  }
}

void TQuorvelDisplay::RegisterHotKeys() {
  const std::int32_t keys[] = {FOptions.HK_ShowHideDisplays, FOptions.HK_ShowDisplays,
                               FOptions.HK_HideDisplays};
  for (int id = 1; id <= 3; ++id) {
    FHotKeys[id - 1].reset();
    if (keys[id - 1] == 0) continue;
    const TShortCutParts parts = SplitShortCut(static_cast<std::uint32_t>(keys[id - 1]));
    // A key held by another program is simply not available.
    FHotKeys[id - 1] = THotKeyRegistration(Handle(), id, HotKeyModifiers(parts.shift), parts.key);
  }
}

void TQuorvelDisplay::UnregisterHotKeys() {
  for (THotKeyRegistration& key : FHotKeys) key.reset();
}

void TQuorvelDisplay::ActivateApplication() { SetActiveWindow(FApplication.Handle()); }

void TQuorvelDisplay::ShowNotifications() { FEvents.ShowNotifications(); }

void TQuorvelDisplay::tmrClockTimer() {
  FClockLoop.Tick(Platform().clock->LocalNow(), *this);
  if constexpr (ClockOnFixedStep) return;
  // Armed anew even when the timer came early and the wake is the same: the timer repeats
  // with the delay it was given.
  FArmedWake = -1;
  ArmClock();
}

void TQuorvelDisplay::ArmClock() {
  if (!FClockRunning || FDestroyed) return;
  const TSystemTime now = Platform().clock->LocalNow();
  const std::int64_t wake = FClockLoop.NextWake(now, *this);
  if (wake == FArmedWake) return;
  FArmedWake = wake;
  const auto delay = static_cast<UINT>(TClockLoop::TimerDelay(LocalMilliseconds(now), wake));
  // Windows 8 and later may join a timer with a little tolerance to others.
  using TSetCoalescableTimer = UINT_PTR WINAPI(HWND, UINT_PTR, UINT, TIMERPROC, ULONG);
  static TSetCoalescableTimer* const coalescable =
      SystemFunction<TSetCoalescableTimer>(L"user32.dll", "SetCoalescableTimer");
  if (coalescable)
    coalescable(Handle(), ClockTimerId, delay, nullptr, ClockTolerance);
  else
    SetTimer(Handle(), ClockTimerId, delay, nullptr);
}

void TQuorvelDisplay::ScheduleChanged() { FRescheduleAsked = true; }

void TQuorvelDisplay::RescheduleIfAsked() {
  if (!std::exchange(FRescheduleAsked, false)) return;
  ArmClock();
}

void TQuorvelDisplay::TickDisplays(const TTickChanges& t) {
  FDisplayList.Tick(t.hourChanged, t.minuteChanged, t.secondChanged, t.second);
  if (t.minuteChanged) RefreshTrayTip();
}

void TQuorvelDisplay::CheckChime(const TSystemTime& now, bool minuteChanged) {
  ::CheckChime(FOptions, now, minuteChanged);
}

void TQuorvelDisplay::CheckEvents() { FEvents.CheckAll(); }

bool TQuorvelDisplay::TopmostRefreshOn() const { return FOptions.AOT5s; }

void TQuorvelDisplay::RefreshTopmost() {
  const HWND foreground = GetForegroundWindow();
  const bool foregroundTopmost =
      foreground && (GetWindowLongPtrW(foreground, GWL_EXSTYLE) & WS_EX_TOPMOST);
  if (IsIdle() && !FMenuOpen && !foregroundTopmost) FDisplayList.RefreshTopmost();
}

std::optional<std::int64_t> TQuorvelDisplay::NextDisplayRepaint(std::int64_t nowMs) {
  return FDisplayList.NextRepaintWithinMinute(nowMs);
}

void TQuorvelDisplay::DispatchCommand(int id) {
  if (id >= 1000 && id <= 1099) {
    // The display may have gone since its menu was opened.
    if (FDisplayList.Contains(FMenuDisplay)) FMenuDisplay->MenuCommand(id);
    return;
  }
  if (id >= cmdFirstEvent) {
    const auto index = static_cast<std::size_t>(id - cmdFirstEvent);
    if (index < FEvents.Count())
      ShowEventEditor(FEvents[index], FOptions, FBusy, FApplication.Handle());
    return;
  }
  switch (id) {
    case cmdExit:
      PostMessageW(Handle(), WM_CLOSE, 0, 0);
      break;
    case cmdPreferences:
      OpenPreferences(0, FMenuDisplay, 0, 0, false);
      break;
    case cmdShowAll:
      FDisplayList.ShowAll();
      break;
    case cmdHideAll:
      FDisplayList.HideAll(nullptr);
      break;
    case cmdDateTimeControlPanel:
      WinExec("rundll32 shell32.dll,Control_RunDLL timedate.cpl", SW_SHOWDEFAULT);
      break;
    case cmdHomePage:
      ShellOpen(Handle(), kHomePage);
      break;
    case cmdMakerPage:
      ShellOpen(Handle(), kMakerPage);
      break;
    case cmdEventsPage:
      OpenPreferences(1, nullptr, 0, 0, false);
      break;
    case cmdNewEvent:
      NewEvent();
      break;
    case cmdToggleChime:
      FOptions.ChimeEnabled = !FOptions.ChimeEnabled;
      break;
    case cmdCalendar:
      ShowCalendar();
      break;
    case cmdAbout:
      ShowAbout();
      break;
    default:
      break;
  }
}

LRESULT TQuorvelDisplay::CarryOutCommand(const COPYDATASTRUCT& data) {
  if (data.dwData != CommandDataTag) return FALSE;
  const std::string text(static_cast<const char*>(data.lpData), data.lpData ? data.cbData : 0);
  // Parsed again here: the time of a reminder counts from this program's now.
  const TParsedCommand parsed = ParseCommand(SplitArguments(text), LocalDateTimeNow());
  if (!parsed.Command) return crNotUnderstood;
  if (!IsIdle() || FTerminating) return crBusy;
  const TCommand& command = *parsed.Command;
  switch (command.Kind) {
    case TCommandKind::Show:
      FDisplayList.ShowAll();
      break;
    case TCommandKind::Hide:
      FDisplayList.HideAll(nullptr);
      break;
    case TCommandKind::Toggle:
      FDisplayList.ToggleAll();
      break;
    case TCommandKind::Prefs:
      OpenPreferences(0, nullptr, 0, 0, false);
      break;
    case TCommandKind::Chime:
      FOptions.ChimeEnabled = command.ChimeOn;
      break;
    case TCommandKind::Exit:
      // Closing saves; the answer goes first.
      PostMessageW(Handle(), WM_CLOSE, 0, 0);
      break;
    case TCommandKind::Timer:
      return StartCommandTimer(FDisplayList, command.Seconds, command.Text);
    case TCommandKind::Remind:
      return AddReminder(FEvents, command.When, command.Text);
    case TCommandKind::Help:
      break;
  }
  return crDone;
}

void TQuorvelDisplay::Resumed() {
  FDisplayList.InvalidateAll();
  // The timer may still wait out the sleep; the tick comes now.
  if (FClockRunning) tmrClockTimer();
  // A sleep of whole hours shows the same minute, which the tick does not count as new.
  if (FClockRunning && IsIdle()) FEvents.CheckAll();
}

void TQuorvelDisplay::NewEvent() {
  auto event = std::make_unique<TEvent>(LocalDateTimeNow(), &FDisplayList);
  if (ShowEventEditor(*event, FOptions, FBusy, FApplication.Handle()))
    FEvents.Add(std::move(event));
}

TfrmPreferences* TQuorvelDisplay::Preferences() const {
  const std::vector<TfrmPreferences*> open = ModelessWindows().OfClass<TfrmPreferences>();
  return open.empty() ? nullptr : open.front();
}

void TQuorvelDisplay::ShowCalendar() {
  const std::vector<TfrmCalendar*> open = ModelessWindows().OfClass<TfrmCalendar>();
  TfrmCalendar* calendar =
      open.empty() ? ModelessWindows().Open(std::make_unique<TfrmCalendar>(), FApplication.Handle())
                   : open.front();
  if (!calendar) return;
  calendar->Show();
  SetForegroundWindow(calendar->Handle());
}

void TQuorvelDisplay::ShowAbout() {
  // While it is open the program is busy: no tray clicks, hot keys or event checks.
  FBusy.AboutBoxOpen = true;
  TdlgAbout about(kHomePage);
  about.ShowModal(FApplication.Handle());
  FBusy.AboutBoxOpen = false;
}

void TQuorvelDisplay::HandleHotKey(WPARAM id) {
  if (!IsIdle() || FTerminating) return;
  switch (id) {
    case 1:
      FDisplayList.ToggleAll();
      break;
    case 2:
      FDisplayList.ShowAll();
      break;
    case 3:
      FDisplayList.HideAll(nullptr);
      break;
    default:
      break;
  }
}

void TQuorvelDisplay::aeMainDeactivate() { FDisplayList.RefreshTopmost(); }

void TQuorvelDisplay::BringLastActivePopupForward() {
  const HWND popup = GetLastActivePopup(FApplication.Handle());
  if (popup && popup != FApplication.Handle() && IsWindowVisible(popup) && IsWindowEnabled(popup))
    SetForegroundWindow(popup);
}

LRESULT TQuorvelDisplay::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  // After the objects are gone, no handler may reach them.
  if (FDestroyed) return DefaultHandler(msg, wParam, lParam);
  // Whatever this message changes (a command, a hot key, the tray, WM_TIMECHANGE, a resume,
  // an option), the schedule is looked at again once it is done.
  if (msg != WM_TIMER) ScheduleChanged();
  const LRESULT result = HandleMessage(msg, wParam, lParam);
  // A message sent from another thread or program (WM_TIMECHANGE, WM_COPYDATA) is handled
  // inside GetMessage, which hands the loop nothing to look after.
  if (InSendMessage()) RescheduleIfAsked();
  return result;
}

LRESULT TQuorvelDisplay::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_DEFERRED_START:
      DeferredStart();
      return 0;
    case WM_PREFERENCES_SHOWN:
      BringLastActivePopupForward();
      return 0;
    case WM_REOPEN_PREFERENCES:
      OpenPreferences(0, nullptr, static_cast<int>(wParam), static_cast<int>(lParam), true);
      if (const TfrmPreferences* preferences = Preferences())
        SendMessageW(preferences->Handle(), WM_SHOW_LANGUAGE_PAGE, 0, 0);
      return 0;
    case WM_SECOND_INSTANCE:
      if (IsIdle()) OpenPreferences(0, nullptr, 0, 0, false);
      return 0;
    case WM_TIMER:
      if (wParam == ClockTimerId) tmrClockTimer();
      return 0;
    case WM_TRAY_NOTIFY:
      HandleTrayMouse(LOWORD(lParam));
      return 0;
    case WM_MEASUREITEM:
      if (FMenu && FMenu->MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
      return DefaultHandler(msg, wParam, lParam);
    case WM_DRAWITEM:
      if (FMenu && FMenu->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
      return DefaultHandler(msg, wParam, lParam);
    case WM_ENTERMENULOOP:
      FMenuOpen = true;
      return 0;
    case WM_EXITMENULOOP:
      FMenuOpen = false;
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == 0) DispatchCommand(LOWORD(wParam));
      return 0;
    case WM_TIMECHANGE:
      FDisplayList.InvalidateAll();
      FEvents.UpdateAll();
      return 0;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC) Resumed();
      return TRUE;
    case WM_COPYDATA:
      return lParam ? CarryOutCommand(*reinterpret_cast<const COPYDATASTRUCT*>(lParam)) : FALSE;
    case WM_SETTINGCHANGE:
      if (lParam && std::wcscmp(reinterpret_cast<const wchar_t*>(lParam), L"intl") == 0)
        FDisplayList.InvalidateAll();
      if (wParam == SPI_SETWORKAREA) FDisplayList.MonitorsChanged();
      return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
      FDisplayList.MonitorsChanged();
      return 0;
    case WM_QUERYENDSESSION:
      SaveAllOrKeepGoing();
      return 1;
    case WM_HOTKEY:
      HandleHotKey(wParam);
      return 0;
    case WM_ACTIVATEAPP:
      if (!wParam) aeMainDeactivate();
      return 0;
    case WM_CLOSE:
      FormClose();
      return 0;
    default:
      if (msg == FTaskbarCreated && FTaskbarCreated != 0 && FTrayIcon) FTrayIcon->TaskbarCreated();
      return DefaultHandler(msg, wParam, lParam);
  }
}
