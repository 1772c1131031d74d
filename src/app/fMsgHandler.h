#pragma once

#ifndef QUORVEL_CLOCK_FIXED_STEP
#define QUORVEL_CLOCK_FIXED_STEP 0
#endif

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/fCalendar.h"
#include "app/uClockLoop.h"
#include "app/uMainMenu.h"
#include "app/uTrayIcon.h"
#include "display/uDisplayHost.h"
#include "prefs/fPreferences.h"
#include "support/uWindowBase.h"

class TDisplay;
class TDisplayList;
class TEvents;
class TMultiLanguage;
class TOptions;
class TTimeZones;
struct TBusyState;
class TTooltip;

// The process-wide objects the main window works with; the program's root
// makes them before the window and destroys them after it.
struct TApplicationObjects {
  TOptions& Options;
  TTimeZones& TimeZones;
  TDisplayList& DisplayList;
  TEvents& Events;
  TBusyState& Busy;
  TTooltip& Tooltip;
  TMultiLanguage& Language;
};

// The hidden owner of every window of the program; its tool-window style keeps
// the process off the taskbar.
class TApplicationWindow : public TWindowBase {
 public:
  TApplicationWindow();
  ~TApplicationWindow() override;
  // Where a request to close the application goes.
  void SetMainWindow(HWND main) { FMainWindow = main; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  HWND FMainWindow = nullptr;
};

// The hidden main window: works with the process-wide objects the root gives it,
// runs the clock loop and receives the messages of the tray, the menus, the hot
// keys and the system. It is the host of every display window.
class TQuorvelDisplay : public TWindowBase, public TDisplayHost, private TClockRules {
 public:
  TQuorvelDisplay(TApplicationWindow& application, const TApplicationObjects& objects);
  ~TQuorvelDisplay() override;

  void OpenPreferences(int page, TDisplay* display, int left, int top, bool hasPosition);
  // While it exists; for the tests.
  // The open preferences window, or none.
  TfrmPreferences* Preferences() const;
  void ShowPopupMenu(TDisplay* display);
  void SetTrayIconVisible(bool visible);
  // The shell's tip of the tray icon, which screen readers read: the tooltip's text now.
  void RefreshTrayTip();
  void LoadAll();
  // Saves every part it can; returns the translated names of those it could not.
  std::vector<std::string> SaveAll();
  void RegisterHotKeys();
  void UnregisterHotKeys();

  bool IsIdle() const override;
  bool DisplayPreferencesOpen() const override;
  bool MenuOpen() const override { return FMenuOpen; }
  void ShowPopupMenu(TDisplay& display) override { ShowPopupMenu(&display); }
  void ActivateApplication() override;
  void ShowNotifications() override;
  void ScheduleChanged() override;
  // Arms the clock anew when a message asked for it; the message loop calls it between messages.
  void RescheduleIfAsked();

  static constexpr wchar_t ClassName[] = L"TQuorvelDisplay";
  static constexpr wchar_t Caption[] = L"Quorvel";
  static constexpr UINT_PTR ClockTimerId = 1;
  // Ticks on the old fixed step instead of the schedule; only for comparing the two in the
  // benchmark (a build with QUORVEL_CLOCK_FIXED_STEP=1).
  static constexpr bool ClockOnFixedStep = QUORVEL_CLOCK_FIXED_STEP != 0;
  // How late a coalescable timer may come, so that the system can join it with others.
  static constexpr ULONG ClockTolerance = 8;
  static constexpr UINT TrayIconId = 1;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormCreate();
  void FormClose();
  void FormDestroy();
  void SaveAllOrKeepGoing();
  void DeferredStart();
  void tmrClockTimer();
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  // Arms the clock timer for the schedule's next tick, unless it is armed for it already.
  void ArmClock();
  void TickDisplays(const TTickChanges& changes) override;
  void CheckChime(const TSystemTime& now, bool minuteChanged) override;
  void CheckEvents() override;
  bool TopmostRefreshOn() const override;
  void RefreshTopmost() override;
  std::optional<std::int64_t> NextDisplayRepaint(std::int64_t nowMs) override;
  void DispatchCommand(int id);
  // A command line of a later start (uCommandLine); answers with a TCommandReply.
  LRESULT CarryOutCommand(const COPYDATASTRUCT& data);
  // Back from sleep: every display shows the time now, and what came due meanwhile fires.
  void Resumed();
  void HandleHotKey(WPARAM id);
  void aeMainDeactivate();
  void HandleTrayMouse(UINT mouseMessage);
  void NewEvent();
  void ShowCalendar();
  void ShowAbout();
  void BringLastActivePopupForward();
  TPreferencesContext PreferencesContext();

  TApplicationWindow& FApplication;
  TOptions& FOptions;
  TTimeZones& FTimeZones;
  TDisplayList& FDisplayList;
  TEvents& FEvents;
  TBusyState& FBusy;
  TTooltip& FTooltip;
  TMultiLanguage& FLanguage;
  TClockLoop FClockLoop;
  bool FClockRunning = false;
  std::int64_t FArmedWake = -1;  // the local moment the clock timer is armed for
  bool FRescheduleAsked = false;
  TDisplay* FMenuDisplay = nullptr;
  bool FMenuOpen = false;
  UINT FLastTrayMessage = 0;
  // Exists while a popup menu is open, for its headers' measure and draw messages.
  TMainMenu* FMenu = nullptr;
  std::unique_ptr<TVarnTrayIcon> FTrayIcon;
  // Broadcast when the taskbar is made anew.
  UINT FTaskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  bool FTerminating = false;
  bool FDestroyed = false;
  // Identifiers 1, 2, 3: toggle, show, hide the displays.
  THotKeyRegistration FHotKeys[3];
};
