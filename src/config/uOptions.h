#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/uDateTime.h"

// The global preferences, stored under the product key of the current user.
class TOptions {
 public:
  TOptions();
  // The tooltip template in the current language.
  static std::string DefaultToolTipText();

  // Records a colour just picked into the four most-recently-used custom colour slots.
  void AddCustomColor(std::uint32_t color);
  void Load();
  // Writes only after a completed Load, so a failed load loses nothing stored.
  void Save();

  std::vector<std::string> CustomColors;
  bool ChimeEnabled = true;
  bool ChimeTowerClock = false;
  bool ChimeQuarter = false;
  bool ChimeHalf = false;
  bool ChimeThreeQuarters = false;
  bool ChimeTop = false;
  std::string ChimeQuarterSound;
  std::string ChimeHalfSound;
  std::string ChimeThreeQuartersSound;
  std::string ChimeTopSound;
  TDateTime ChimeStart = 0.0;
  TDateTime ChimeStop = 1439.0 / 1440.0;
  bool AutoHide = true;
  std::int32_t AutoHideInterval = 200;
  std::int32_t AutoShowInterval = 500;
  std::string ToolTipText;
  std::int32_t LastSnoozeTime = 5;
  bool StartAutomatically = false;
  bool ShowTrayIcon = true;
  bool AOT5s = true;
  std::int32_t HK_ShowHideDisplays = 0;
  std::int32_t HK_ShowDisplays = 0;
  std::int32_t HK_HideDisplays = 0;
  bool BackgroundNoteShown = false;
  bool AutoHideAllDisplays = false;

 private:
  bool FLoaded = false;
};

// Brings the settings of the previous major version into this one's layout,
// once: only while this version has stored nothing yet.
void ImportOldSettings();
