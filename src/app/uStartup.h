#pragma once

#include <string>

#include "app/fMsgHandler.h"
#include "app/fTooltip.h"
#include "config/uMultilanguage.h"
#include "config/uOptions.h"
#include "display/uDisplayList.h"
#include "events/uEvents.h"
#include "kinds/uDisplayKinds.h"
#include "prefs/fDisplayPreferences.h"
#include "support/uBusyState.h"
#include "support/uModelessWindows.h"
#include "support/uWinHandles.h"
#include "timezones/uTimeZones.h"

// The name of the marker shared by every running instance.
constexpr wchar_t SingleInstanceSemaphoreName[] = L"Varn Software - Quorvel";

// True when another instance runs; it has then been asked (WM_SECOND_INSTANCE) to
// open its preferences. Otherwise semaphore keeps the marker for this process.
bool IsAnotherInstanceRunning(TUniqueKernelHandle& semaphore, const std::wstring& firstArgument);

// Everything the program owns, made in order and destroyed in reverse: the
// translation service, the process-wide objects, then the windows. The
// windows the core owns are made through the factory installed here.
class TQuorvel {
 public:
  TQuorvel();
  ~TQuorvel();
  TQuorvel(const TQuorvel&) = delete;
  TQuorvel& operator=(const TQuorvel&) = delete;

  TQuorvelDisplay& MainWindow() { return FMainWindow; }
  TOptions& Options() { return FOptions; }
  TDisplayList& DisplayList() { return FDisplayList; }
  TEvents& Events() { return FEvents; }
  TTimeZones& TimeZones() { return FTimeZones; }
  TBusyState& Busy() { return FBusy; }

 private:
  // Gone last: the modeless windows still held, all closed by then with their owners, go too.
  struct TModelessWindowsLeft {
    ~TModelessWindowsLeft() {
      ModelessWindows().CloseAll<TDialogBase>();
      ModelessWindows().FreeClosed();
    }
  } FModelessWindowsLeft;
  TMultiLanguage FMultiLanguage;
  TInstalledLanguage FInstalledLanguage{FMultiLanguage};
  TBusyState FBusy;
  TOptions FOptions;
  TTimeZones FTimeZones;
  TDisplayList FDisplayList{CreateDisplay, &FTimeZones};
  TEvents FEvents{&FDisplayList};
  TApplicationWindow FApplication;
  TDisplayPreferencesContext FDisplayPreferences{FOptions, FDisplayList, FTimeZones, FBusy,
                                                 FApplication.Handle()};
  // Made before the main window that hands it the tray's messages, and gone after it.
  TfrmTooltip FTooltip;
  TQuorvelDisplay FMainWindow{
      FApplication,
      {FOptions, FTimeZones, FDisplayList, FEvents, FBusy, FTooltip.Tooltip(), FMultiLanguage}};
};

// The whole life of the process; returns its exit code.
int RunQuorvel();
