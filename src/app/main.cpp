#include <windows.h>

#include "app/uStartup.h"
#include "support/uSystemLibrary.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  RestrictDllSearchToSystemFolder();
  return RunQuorvel();
}
