#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "support/uTools.h"

// The version record of the program file, read once.
const TVersionInfo& ProgramVersion();
// The version record of any module (for tests of the reading itself).
TVersionInfo ReadVersionInfo(const std::wstring& file);

// Shows the hourglass for the length of a scope.
class THourglass {
 public:
  THourglass();
  ~THourglass();
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;

 private:
  HCURSOR FPrevious;
};

// Opens a help page of the program's folder at a section (the translation names the page of its
// language).
void ShowHelp(const std::string& page, const std::string& section);
// Asks the shell to open a file or address with its associated program.
void ShellOpen(HWND window, const wchar_t* target);
// What opens a help page's address in the user's browser; tests put a recorder in its place.
std::function<void(const std::string& address)>& AddressOpener();
// The system's open-file dialog; true and the chosen path on OK.
bool BrowseForFile(HWND owner, std::string& fileName, const std::string& filter,
                   const std::string& title);
// Centres a window over its owner when the owner is shown, otherwise on the cursor.
void PlaceOverOwner(HWND window);
// The system's DPI: the screen device context's logical pixels per inch.
int ScreenDpi();
// The DPI of a monitor; the system's where Windows has no DPI of its own per monitor.
int MonitorDpi(HMONITOR monitor);
// The DPI of the monitor nearest to a point in screen coordinates.
int DpiAtPoint(POINT p);
// The dots per inch the window is drawn at: its monitor's, as the program is per-monitor aware;
// the system's for no window or where Windows lacks the call.
int WindowDpi(HWND window);
// A length in pixels at 96 dpi, grown to the window's DPI.
int ScaledForWindow(HWND window, int pixels);
// A system metric (GetSystemMetrics) as it is at a DPI.
int SystemMetricForDpi(int index, int dpi);
// The system's menu, caption and message fonts as they are at a DPI; false when unreadable.
bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, int dpi);
// A pointer-sized value kept with a control.
void SetControlData(HWND control, std::intptr_t data);
std::intptr_t GetControlData(HWND control);
// Neither Shift, Ctrl nor Alt is down, as the thread's keyboard state says.
bool NoModifierHeld();
// Lets a click in a multi-line edit select a whole format element.
void SelectFormatElement(HWND edit);
