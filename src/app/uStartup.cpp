#include "app/uStartup.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <ctime>

#include "app/uCommandLine.h"
#include "app/uWin32CommandLine.h"
#include "config/uMultilanguage.h"
#include "config/uWin32Hive.h"
#include "config/uWin32SettingsFile.h"
#include "config/uWin32Translate.h"
#include "display/fDisplay.h"
#include "events/fEventNotify.h"
#include "support/uDialogBase.h"
#include "support/uHelp.h"
#include "support/uPlatform.h"
#include "support/uWin32Platform.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

#ifndef UOI_TIMERPROC_EXCEPTION_SUPPRESSION
#define UOI_TIMERPROC_EXCEPTION_SUPPRESSION 7
#endif

namespace {

std::wstring FirstArgument() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring first = argv && argc > 1 ? argv[1] : L"";
  LocalFree(argv);
  return first;
}

// A fault in a timer callback must surface, not be swallowed by the system.
void StopSuppressingTimerExceptions() {
  BOOL suppress = FALSE;
  SetUserObjectInformationW(GetCurrentProcess(), UOI_TIMERPROC_EXCEPTION_SUPPRESSION, &suppress,
                            sizeof(suppress));
}

int RunMessageLoop(TQuorvelDisplay& mainWindow) {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    // Any window's message (a dialog's edit, an event answered) may move the clock's next tick;
    // the schedule is looked at between messages, where no handler is half done.
    if (msg.message != WM_TIMER) mainWindow.ScheduleChanged();
    // Tab, access keys, Enter and Esc of the open modeless dialogs.
    if (!TDialogBase::IsDialogMessageForAny(msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    mainWindow.RescheduleIfAsked();
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

bool IsAnotherInstanceRunning(TUniqueKernelHandle& semaphore, const std::wstring& firstArgument) {
  TUniqueKernelHandle created(CreateSemaphoreW(nullptr, 0, 1, SingleInstanceSemaphoreName));
  if (created && GetLastError() == ERROR_ALREADY_EXISTS) {
    created.reset();
    if (const HWND running = FindWindowW(TQuorvelDisplay::ClassName, TQuorvelDisplay::Caption)) {
      const WPARAM config = lstrcmpiW(firstArgument.c_str(), L"/CONFIG") == 0 ? 1 : 0;
      PostMessageW(running, WM_SECOND_INSTANCE, config, 0);
    }
    return true;
  }
  semaphore = std::move(created);
  return false;
}

TQuorvel::TQuorvel() {
  TDialogBase::SetTranslation(&TranslateForm);
  TDialogBase::SetHelp([](int templateId) {
    ShowHelp(GetText("HELP_FILE", "help_en.htm"), HelpSectionOf(templateId));
  });
  FApplication.SetMainWindow(FMainWindow.Handle());
  DisplayWindows().make = [this](TDisplay& display) {
    return std::make_unique<TfrmDisplay>(display, FMainWindow, FOptions, FDisplayList);
  };
  NotifyWindowMaker() = [this](TEvent& event) {
    return OpenEventNotify(event, FOptions, FApplication.Handle());
  };
  DisplayWindows().openPreferences = [this](TDisplay& display, void* owner) {
    return OpenDisplayPreferences(display, FDisplayPreferences, static_cast<HWND>(owner));
  };
}

TQuorvel::~TQuorvel() {
  // Closing the main window first destroys every display window; none is made after it.
  DisplayWindows() = {};
  NotifyWindowMaker() = nullptr;
  TDialogBase::SetTranslation(nullptr);
  TDialogBase::SetHelp(nullptr);
}

int RunQuorvel() {
  // A command for the running program is sent, answered and done with.
  const std::string commandLine = WideToUtf8(GetCommandLineW());
  if (const std::vector<std::string> arguments = CommandArguments(commandLine);
      !IsPlainStart(arguments))
    return SendCommandLine(std::string(ArgumentsText(commandLine)), arguments);
  TUniqueKernelHandle semaphore;
  if (IsAnotherInstanceRunning(semaphore, FirstArgument())) return 0;
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  StopSuppressingTimerExceptions();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
  InitCommonControlsEx(&icc);
  InstallWin32Platform();
  InstallWin32Hives();
  const TFileHive* portable = InstallPortableHive();
  try {
    TQuorvel quorvel;
    if (portable && portable->Damaged()) ReportDamagedSettings();
    return RunMessageLoop(quorvel.MainWindow());
  } catch (...) {
    return 1;
  }
}
