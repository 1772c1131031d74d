#include "config/uWin32SettingsFile.h"

#include <windows.h>

#include "config/uMultilanguage.h"
#include "config/uVarnRegistry.h"
#include "support/uTools.h"
#include "support/uWinHandles.h"
#include "support/uWinText.h"

std::optional<std::string> TWin32SettingsFile::Load() {
  TUniqueFile file(CreateFileW(FPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  // Settings are a few hundred kilobytes at most; anything far larger is not ours to hold.
  constexpr LONGLONG MaxSize = 64 << 20;
  if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > MaxSize) return std::nullopt;
  std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
    return std::nullopt;
  text.resize(read);
  return text;
}

bool TWin32SettingsFile::WriteTemporary(std::string_view text) {
  TUniqueFile file(CreateFileW(Temporary().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file &&
         WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size() && FlushFileBuffers(file.get());
}

bool TWin32SettingsFile::ReplaceWithTemporary() {
  return MoveFileExW(Temporary().c_str(), FPath.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool TWin32SettingsFile::KeepDamagedCopy() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  // The time too: a second damage on one day must not replace the first copy.
  wchar_t suffix[40];
  wsprintfW(suffix, L".damaged-%04u-%02u-%02u-%02u%02u%02u", now.wYear, now.wMonth, now.wDay,
            now.wHour, now.wMinute, now.wSecond);
  return CopyFileW(FPath.c_str(), (FPath + suffix).c_str(), TRUE);
}

TFileHive* InstallPortableHive() {
  const std::wstring path = Utf8ToWide(ProgramFolder() + PortableFileName);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return nullptr;
  static TWin32SettingsFile file(path);
  static TFileHive hive(file);
  SetHive(TRootKey::CurrentUser, &hive);
  return &hive;
}

void ReportDamagedSettings() {
  const std::wstring text = Utf8ToWide(GetText(
      "MSG_PORTABLE_DAMAGED",
      "Some lines of the settings file portable.ini could not be read. Quorvel starts with the "
      "settings it could read; the file as it was is kept beside it as "
      "portable.ini.damaged-<date>."));
  MessageBoxW(nullptr, text.c_str(), L"Quorvel", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}
