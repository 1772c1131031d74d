#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "config/uMemoryHive.h"
#include "config/uRegistryHive.h"

// The settings file as the file hive reaches it. Saving is two steps so that a
// failure between them leaves the old file whole.
class TSettingsFile {
 public:
  virtual ~TSettingsFile() = default;
  // The whole file, or nothing when it cannot be read.
  virtual std::optional<std::string> Load() = 0;
  // Writes the temporary file beside the settings file, through to the disk.
  virtual bool WriteTemporary(std::string_view text) = 0;
  // Puts the temporary file in the settings file's place in one step.
  virtual bool ReplaceWithTemporary() = 0;
  // Keeps the file as it is now under a dated name beside it.
  virtual bool KeepDamagedCopy() = 0;
};

// The text of a hive: one section per key in enumeration order, parents before
// their subkeys, and one typed line per value, e.g.
//   [Software\Quorvel II\Displays]
//   "Count"=REG_DWORD:00000001
std::string SettingsText(TRegistryHive& hive);
// Reads such a text into hive; returns the number of lines that could not be read,
// which cost only themselves (and a damaged section header its values).
int ReadSettingsText(std::string_view text, TRegistryHive& hive);

// A current user's registry kept in a settings file: read once, written whole
// whenever the last open key closes after a change.
class TFileHive : public TRegistryHive {
 public:
  explicit TFileHive(TSettingsFile& file);
  std::unique_ptr<THiveKey> OpenKey(const std::string& path, bool create,
                                    std::uint32_t access) override;
  bool DeleteKey(const std::string& path) override;

  // The file had lines that could not be read; a copy of it was kept.
  bool Damaged() const { return FDamaged; }
  // Writes the file now when something changed; false when that failed.
  bool Save();

 private:
  class TFileKey;
  void KeyClosed();

  TSettingsFile& FFile;
  TMemoryHive FValues;
  int FOpenKeys = 0;
  bool FChanged = false;
  bool FDamaged = false;
  bool FCanSave = true;
};
