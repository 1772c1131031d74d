#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/uDisplay.h"

class TTimeZones;
class TVarnRegistry;

// Makes a new display of a kind, with its defaults; nullptr for a kind it does not know.
using TDisplayFactory = std::unique_ptr<TDisplay> (*)(std::uint8_t kind);

// Owns every display and fans the main window's requests out to them.
class TDisplayList {
 public:
  static constexpr std::size_t MaxDisplays = 20;

  // Displays of a kind come from factory; they read zone switches from the catalogue, without
  // one local time only.
  explicit TDisplayList(TDisplayFactory factory, const TTimeZones* zones = nullptr)
      : FFactory(factory), FZones(zones) {}
  ~TDisplayList() { Clear(); }
  TDisplayList(const TDisplayList&) = delete;
  TDisplayList& operator=(const TDisplayList&) = delete;

  // Takes ownership; refuses (and returns nullptr) beyond the limit.
  TDisplay* Add(std::unique_ptr<TDisplay> display);
  // A new, inactive display of a kind; nullptr for an unknown kind or a full list.
  TDisplay* Add(std::uint8_t kind);
  // A display the user adds: active, named by its kind and number, and placed where no other
  // display stands inside the primary monitor's work area; nullptr as Add.
  TDisplay* AddNew(std::uint8_t kind);
  void Delete(TDisplay* display);
  void Clear();
  void Load();
  // Writes only after a completed Load, so a failed load loses nothing stored.
  void Save();
  void CreateDefault();
  std::size_t Count() const { return FItems.size(); }
  // Whether the display is one of the list's (false for none).
  bool Contains(const TDisplay* display) const;
  TDisplay& operator[](std::size_t i) const { return *FItems[i]; }

  void Tick(bool hourChanged, bool minuteChanged, bool secondChanged, int second);
  // The earliest of the active displays' own repaints within a minute.
  std::optional<std::int64_t> NextRepaintWithinMinute(std::int64_t nowMs) const;
  void ShowAll();
  void HideAll(const TDisplay* except);
  void ToggleAll();
  void RefreshTopmost();
  void InvalidateAll();
  // The monitors, their resolution or their work areas changed: every display goes back to its
  // own monitor.
  void MonitorsChanged();
  void Highlight(const TDisplay* display);
  void StopFlashingAll();
  void AutoHideOthers(const TDisplay& display);
  void AutoShowAll();
  bool IsCursorOverAny() const;
  bool CanAutoHide(const TDisplay& display, bool allDisplays) const;

  TDisplay* Primary = nullptr;

 private:
  // The stored displays; false when none was ever stored (a first start).
  bool LoadStored();
  void LoadDisplay(TVarnRegistry& registry);
  std::string NewDisplayName(const TDisplay& display) const;
  void PlaceNewDisplay(TDisplay& display) const;
  TDisplayFactory FFactory;
  const TTimeZones* FZones;
  std::vector<std::unique_ptr<TDisplay>> FItems;
  bool FLoaded = false;
};
