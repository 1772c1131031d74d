#include "app/uWin32CommandLine.h"

#include <windows.h>

#include "app/fMsgHandler.h"
#include "app/uCommandLine.h"
#include "config/uMultilanguage.h"
#include "config/uWin32Hive.h"
#include "support/uPlatform.h"
#include "support/uWin32Platform.h"
#include "support/uWinText.h"

namespace {

// How long the running program may take to carry a command out.
constexpr UINT kAnswerTimeout = 10000;

// To the console of the process that started this one, or to where it sent the output.
bool WriteToParent(const std::string& text, DWORD which) {
  const std::string line = text + "\r\n";
  const HANDLE inherited = GetStdHandle(which);
  if (inherited && inherited != INVALID_HANDLE_VALUE && GetFileType(inherited) != FILE_TYPE_CHAR) {
    DWORD written = 0;
    return WriteFile(inherited, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  }
  // A program without a console of its own borrows its parent's, when there is one.
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
  const HANDLE console =
      CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (console == INVALID_HANDLE_VALUE) return false;
  const std::wstring wide = Utf8ToWide(line);
  DWORD written = 0;
  const bool done =
      WriteConsoleW(console, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  CloseHandle(console);
  return done;
}

// The program started without arguments; this start reports that it was not running.
void StartProgram() {
  wchar_t path[MAX_PATH] = {};
  if (!GetModuleFileNameW(nullptr, path, MAX_PATH)) return;
  std::wstring commandLine = L"\"" + std::wstring(path) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(path, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi))
    return;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

std::int32_t Send(HWND running, const std::string& argumentsText) {
  COPYDATASTRUCT data{CommandDataTag, static_cast<DWORD>(argumentsText.size()),
                      const_cast<char*>(argumentsText.data())};
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG, kAnswerTimeout, &answer))
    return crNoAnswer;
  return static_cast<std::int32_t>(answer);
}

int Refuse(const std::string& reason) {
  WriteToParent(reason, STD_ERROR_HANDLE);
  return ecRefused;
}

}  // namespace

int SendCommandLine(const std::string& argumentsText, const std::vector<std::string>& arguments) {
  InstallWin32Platform();
  InstallWin32Hives();
  // The user's language, for the messages.
  TMultiLanguage language;
  TInstalledLanguage installed(language);
  const TParsedCommand parsed = ParseCommand(arguments, LocalDateTimeNow());
  if (!parsed.Command) return Refuse(parsed.Error);
  if (parsed.Command->Kind == TCommandKind::Help) {
    const std::string help = CommandHelpText();
    if (!WriteToParent(help, STD_OUTPUT_HANDLE))
      MessageBoxW(nullptr, Utf8ToWide(help).c_str(), TQuorvelDisplay::Caption,
                  MB_OK | MB_ICONINFORMATION);
    return ecDone;
  }
  const HWND running = FindWindowW(TQuorvelDisplay::ClassName, TQuorvelDisplay::Caption);
  if (!running) {
    if (parsed.Command->Kind != TCommandKind::Exit) StartProgram();
    return ecNotRunning;
  }
  const std::int32_t answer = Send(running, argumentsText);
  return answer == crDone ? ecDone : Refuse(ReplyText(answer));
}
