#pragma once

#include <windows.h>

#include <cstdint>
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

// Opens the help page of the current language in the program's folder.
void ShowHelp();
// Asks the shell to open a file or address with its associated program.
void ShellOpen(HWND window, const std::string& target);
// The system's open-file dialog; true and the chosen path on OK.
bool BrowseForFile(HWND owner, std::string& fileName, const std::string& filter,
                   const std::string& title);
// Places a window beside the focused control, or centred on the cursor.
void PlaceNearFocus(HWND window);
// A pointer-sized value kept with a control.
void SetControlData(HWND control, std::intptr_t data);
std::intptr_t GetControlData(HWND control);
// Neither Shift, Ctrl nor Alt is down, as the thread's keyboard state says.
bool NoModifierHeld();
// Lets a click in a multi-line edit select a whole format element.
void SelectFormatElement(HWND edit);
