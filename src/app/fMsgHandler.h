#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "app/uClockLoop.h"
#include "support/uWindowBase.h"

class TDisplay;
class TDisplayList;
class TEvents;
class TOptions;
class TTimeZones;

// Private messages between the parts of the program.
enum : UINT {
  WM_DEFERRED_START = 1025,
  WM_TRAY_NOTIFY = 1026,
  WM_PREFERENCES_SHOWN = 1027,
  WM_REOPEN_PREFERENCES = 1030,
  WM_SECOND_INSTANCE = 1282,
};

// Application commands of the popup menus.
enum TAppCommand : int {
  cmdExit = 2,
  cmdPreferences = 3,
  cmdShowAll = 6,
  cmdHideAll = 7,
  cmdCalendar = 8,
  cmdDateTimeControlPanel = 9,
  cmdHomePage = 11,
  cmdMakerPage = 16,
  cmdEventsPage = 17,
  cmdNewEvent = 18,
  cmdAbout = 19,
  cmdToggleChime = 20,
};

// The hidden owner of every window of the program; its tool-window style keeps
// the process off the taskbar.
class TApplicationWindow : public TWindowBase {
 public:
  TApplicationWindow();
  ~TApplicationWindow() override;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

// The hidden main window: owns the process-wide objects, runs the clock loop
// and receives the messages of the tray, the menus, the hot keys and the system.
class TQuorvelDisplay : public TWindowBase {
 public:
  explicit TQuorvelDisplay(TApplicationWindow& application);
  ~TQuorvelDisplay() override;

  bool IsIdle() const;
  void OpenPreferences(int page, TDisplay* display, int left, int top, bool hasPosition);
  void ShowPopupMenu(TDisplay* display);
  void LoadAll();
  void SaveAll();
  void RegisterHotKeys();
  void UnregisterHotKeys();
  void ActivateApplication();
  bool MenuOpen() const { return FMenuOpen; }

  static constexpr wchar_t ClassName[] = L"TQuorvelDisplay";
  static constexpr wchar_t Caption[] = L"Quorvel";
  static constexpr UINT_PTR ClockTimerId = 1;
  static constexpr UINT ClockInterval = 200;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormCreate();
  void FormClose();
  void FormDestroy();
  void SaveAllOrKeepGoing();
  void DeferredStart();
  void tmrClockTimer();
  void DispatchCommand(int id);
  void HandleHotKey(WPARAM id);
  void aeMainDeactivate();
  void BringLastActivePopupForward();

  TApplicationWindow& FApplication;
  TClockLoop FClockLoop;
  TDisplay* FMenuDisplay = nullptr;
  bool FMenuOpen = false;
  bool FTerminating = false;
  bool FDestroyed = false;
  std::unique_ptr<TOptions> FOptions;
  std::unique_ptr<TTimeZones> FTimeZones;
  std::unique_ptr<TDisplayList> FDisplayList;
  std::unique_ptr<TEvents> FEvents;
};

extern TQuorvelDisplay* QuorvelDisplay;
