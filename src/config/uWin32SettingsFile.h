#pragma once

#include <string>

#include "config/uFileHive.h"

// A settings file of the Win32 file system; saving writes a temporary file beside it and
// renames it over the old one, so a crash leaves either the old file or the new one.
class TWin32SettingsFile : public TSettingsFile {
 public:
  explicit TWin32SettingsFile(std::wstring path) : FPath(std::move(path)) {}
  std::optional<std::string> Load() override;
  bool WriteTemporary(std::string_view text) override;
  bool ReplaceWithTemporary() override;
  bool KeepDamagedCopy() override;

 private:
  std::wstring Temporary() const { return FPath + L".tmp"; }
  std::wstring FPath;
};

// The marker of portable use: with this file beside the program, it holds the settings.
constexpr char PortableFileName[] = "portable.ini";

// When the marker stands beside the program, the current user's settings live in it from
// now on and the registry keeps only the machine's; returns that hive, or nullptr.
TFileHive* InstallPortableHive();
// Tells the user that the settings file had lines that could not be read.
void ReportDamagedSettings();
