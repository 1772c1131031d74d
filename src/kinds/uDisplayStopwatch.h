#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "config/uStoredValues.h"
#include "kinds/uDisplayDigital.h"
#include "support/uDateTime.h"

enum TStopwatchMenuCommand : int {
  cmdStopwatchStart = 1008,
  cmdStopwatchStop = 1009,
  cmdStopwatchReset = 1010,
  cmdStopwatchRestart = 1011,
};

// Counts whole seconds from the platform's tick counter, so late clock ticks
// never make it drift; a running count goes on across program restarts.
class TDisplayStopwatch : public TDisplayDigital {
 public:
  TDisplayStopwatch() : TDisplayDigital(dkStopwatch) {}
  TPainterClass GetPainterClass() const override;
  void UpdateNeedsSeconds() override;
  void SetDefaults() override;
  void ActiveChanged() override;
  void Tick(bool hourChanged, bool minuteChanged, bool secondChanged, int second) override;
  std::optional<std::int64_t> NextRepaintWithinMinute(std::int64_t nowMs) override;
  void LoadFromRegistry(TVarnRegistry& registry, bool presetOnly) override;
  void SaveToRegistry(TVarnRegistry& registry, bool presetOnly) override;
  void BuildMenu(const TAddMenuItem& addItem) const override;
  void MenuCommand(int id) override;

  void UpdateElapsed();
  void Start(bool repaint);
  void Stop(bool repaint);
  void Reset(bool restart, bool repaint);
  bool Running() const { return FRunning; }
  std::int32_t SecondsElapsed() const { return FSecondsElapsed; }
  // The count as hours, minutes and seconds inside the text.
  std::string CurrentText() const;

  std::string StopwatchText;

 private:
  static std::span<const TStoredValue<TDisplayStopwatch>> CountValues();
  bool FRunning = false;
  std::uint32_t FStartTick = 0;  // the tick count at the last start, less 900 ms
  std::int32_t FSecondsElapsed = 0;
  std::int32_t FSecondsBeforeStart = 0;
  TDateTime FSaved = 0;  // the moment of the save being written or read
};

class TPainterStopwatch : public TPainterDigital {
 public:
  using TPainterDigital::TPainterDigital;
  void Prepare(TBitmap32& bitmap) override;
};
