// Starts a built or installed quorvel.exe once, as a user would, and checks it from outside:
// its main window comes up, its tray icon is there, and asked to close it ends with code 0,
// its settings saved. Prints the language the program saved, so a caller can see which
// choice it took. Exit code 0 when every step passed, 1 otherwise, with the failed step.
//
//   start_check.exe PROGRAM [ARGUMENTS]
//
// Names are spelt out here rather than taken from the program, so a misspelt one fails.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kMainClass[] = L"TQuorvelDisplay";
constexpr wchar_t kProductKey[] = L"Software\\Quorvel II";
constexpr UINT kTrayIconId = 1;

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::seconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(100ms);
  }
  return true;
}

HWND MainWindowOf(DWORD processId) {
  HWND found = nullptr;
  while ((found = FindWindowExW(nullptr, found, kMainClass, L"Quorvel")) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(found, &owner);
    if (owner == processId) return found;
  }
  return nullptr;
}

bool HasTrayIcon(HWND owner) {
  NOTIFYICONIDENTIFIER icon{};
  icon.cbSize = sizeof(icon);
  icon.hWnd = owner;
  icon.uID = kTrayIconId;
  RECT place{};
  const HRESULT found = Shell_NotifyIconGetRect(&icon, &place);
  if (found != E_NOTIMPL) return SUCCEEDED(found);
  // Wine's shell cannot say where an icon is; without a desktop tray it shows each icon as a
  // child of a tray window of its own. A private prefix runs no other tray program.
  const HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
  return tray && IsWindowVisible(tray) &&
         FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr) != nullptr;
}

// The language the program saved, "<none>" when it saved none.
std::wstring SavedLanguage() {
  wchar_t text[64] = L"<none>";
  DWORD size = sizeof(text) - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, kProductKey, L"Language", RRF_RT_REG_SZ, nullptr, text,
                   &size) != ERROR_SUCCESS)
    return L"<none>";
  return text;
}

int Fail(const char* step) {
  std::fprintf(stderr, "start_check: %s\n", step);
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return Fail("usage: start_check.exe PROGRAM [ARGUMENTS]");
  std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
  for (int i = 2; i < argc; ++i) commandLine += L" " + std::wstring(argv[i]);
  // A first start: the language comes from the installation, and the save writes it back.
  RegDeleteKeyValueW(HKEY_CURRENT_USER, kProductKey, L"Language");

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return Fail("the program did not start");
  CloseHandle(process.hThread);
  const auto ended = [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; };
  int result = 0;
  HWND main = nullptr;
  if (!WaitFor([&] { return ended() || (main = MainWindowOf(process.dwProcessId)) != nullptr; },
               60s) ||
      !main)
    result = Fail("no main window within a minute");
  else if (!WaitFor([&] { return HasTrayIcon(main); }, 30s))
    result = Fail("no tray icon within 30 seconds");
  else if (!PostMessageW(main, WM_CLOSE, 0, 0) || !WaitFor(ended, 30s))
    result = Fail("asked to close, the program did not end within 30 seconds");
  DWORD code = 0;
  if (!ended()) {
    TerminateProcess(process.hProcess, 99);
  } else if (GetExitCodeProcess(process.hProcess, &code) && code != 0 && result == 0) {
    result = Fail("the program ended with a code other than 0");
  }
  CloseHandle(process.hProcess);
  if (result != 0) return result;
  const std::wstring language = SavedLanguage();
  if (language == L"<none>") return Fail("the program saved no settings");
  std::printf("start_check: started, showed its tray icon, closed; saved language \"%ls\"\n",
              language.c_str());
  return 0;
}
