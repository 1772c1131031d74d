#include <windows.h>

#include "app/uStartup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return RunQuorvel(); }
