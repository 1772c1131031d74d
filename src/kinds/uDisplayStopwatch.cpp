#include "kinds/uDisplayStopwatch.h"

#include <algorithm>
#include <limits>

#include "config/uMultilanguage.h"
#include "config/uVarnRegistry.h"
#include "support/uPlatform.h"

namespace {

std::unique_ptr<TPainter> NewStopwatchPainter(TDisplay& display) {
  return std::make_unique<TPainterStopwatch>(display);
}

// Taken this much early, the first second shows 100 ms after a start.
constexpr std::uint32_t kStartLead = 900;

std::int32_t SaturatedSeconds(std::int64_t seconds) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(seconds, 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::span<const TStoredValue<TDisplayStopwatch>> TDisplayStopwatch::CountValues() {
  using S = TDisplayStopwatch;
  static const TStoredValue<S> values[] = {
      {"Saved", &S::FSaved},
      {"SecondsElapsed", &S::FSecondsElapsed},
      {"Running", &S::FRunning},
      {"Text", &S::StopwatchText},
  };
  return values;
}

TPainterClass TDisplayStopwatch::GetPainterClass() const { return &NewStopwatchPainter; }

void TDisplayStopwatch::UpdateNeedsSeconds() { SetNeedsSeconds(FRunning); }

void TDisplayStopwatch::SetDefaults() {
  TDisplayDigital::SetDefaults();
  StopwatchText.clear();
}

void TDisplayStopwatch::ActiveChanged() { Stop(false); }

void TDisplayStopwatch::Tick(bool hourChanged, bool minuteChanged, bool secondChanged, int second) {
  if (FRunning) UpdateElapsed();
  TDisplayDigital::Tick(hourChanged, minuteChanged, secondChanged, second);
}

std::optional<std::int64_t> TDisplayStopwatch::NextRepaintWithinMinute(std::int64_t nowMs) {
  // Hidden too: a stop keeps the count of the last tick, so every second must have one.
  if (FRunning) return NextWholeSecond(nowMs);
  return TDisplayDigital::NextRepaintWithinMinute(nowMs);
}

void TDisplayStopwatch::LoadFromRegistry(TVarnRegistry& registry, bool presetOnly) {
  TDisplayDigital::LoadFromRegistry(registry, presetOnly);
  if (presetOnly) return;
  const TDateTime now = LocalDateTimeNow();
  FSaved = now;
  FSecondsElapsed = 0;
  FRunning = false;
  LoadValues<TDisplayStopwatch>(registry, *this, CountValues());
  if (!IsDateTimeInRange(FSaved)) FSaved = now;
  std::int64_t elapsed = std::max(FSecondsElapsed, 0);
  // The time the program was not running counts too; a save that lies ahead
  // (the clock was set back) adds nothing.
  if (FRunning && now > FSaved)
    elapsed += (DateTimeToMilliseconds(now) - DateTimeToMilliseconds(FSaved)) / 1000;
  FSecondsElapsed = SaturatedSeconds(elapsed);
  if (FRunning)
    Start(true);
  else
    UpdateNeedsSeconds();
}

void TDisplayStopwatch::SaveToRegistry(TVarnRegistry& registry, bool presetOnly) {
  TDisplayDigital::SaveToRegistry(registry, presetOnly);
  if (presetOnly) return;
  // A running stopwatch without a window gets no ticks; bring its count up to now.
  if (FRunning) UpdateElapsed();
  FSaved = LocalDateTimeNow();
  SaveValues<TDisplayStopwatch>(registry, *this, CountValues());
}

void TDisplayStopwatch::BuildMenu(const TAddMenuItem& addItem) const {
  TDisplayDigital::BuildMenu(addItem);
  addItem("-", 0, false, false, true);
  addItem(GetText("MNU_STOPWATCH_START", "Start"), cmdStopwatchStart, false, false, !FRunning);
  addItem(GetText("MNU_STOPWATCH_STOP", "Stop"), cmdStopwatchStop, false, false, FRunning);
  addItem(GetText("MNU_STOPWATCH_RESET", "Reset"), cmdStopwatchReset, false, false, true);
  addItem(GetText("MNU_STOPWATCH_RESTART", "Restart"), cmdStopwatchRestart, false, false, true);
}

void TDisplayStopwatch::MenuCommand(int id) {
  switch (id) {
    case cmdStopwatchStart:
      Start(true);
      break;
    case cmdStopwatchStop:
      Stop(true);
      break;
    case cmdStopwatchReset:
      Reset(false, true);
      break;
    case cmdStopwatchRestart:
      Reset(true, true);
      break;
    default:
      TDisplayDigital::MenuCommand(id);
  }
}

void TDisplayStopwatch::UpdateElapsed() {
  // Unsigned subtraction: the counter's wrap-around after 49.7 days is harmless.
  const std::uint32_t ms = Platform().clock->TickCount() - FStartTick;
  FSecondsElapsed = SaturatedSeconds(std::int64_t{ms / 1000} + FSecondsBeforeStart);
}

void TDisplayStopwatch::Start(bool repaint) {
  FSecondsBeforeStart = FSecondsElapsed;
  FSecondsElapsed = 0;
  FStartTick = Platform().clock->TickCount() - kStartLead;
  UpdateElapsed();
  FRunning = true;
  UpdateNeedsSeconds();
  if (repaint) Repaint();
}

void TDisplayStopwatch::Stop(bool repaint) {
  FRunning = false;
  UpdateNeedsSeconds();
  if (repaint) Repaint();
}

void TDisplayStopwatch::Reset(bool restart, bool repaint) {
  FSecondsElapsed = 0;
  Stop(repaint);
  if (restart) Start(repaint);
}

std::string TDisplayStopwatch::CurrentText() const {
  const std::int32_t e = FSecondsElapsed;
  const std::string count =
      TwoDigits(e / 3600) + ":" + TwoDigits(e / 60 % 60) + ":" + TwoDigits(e % 60);
  return InsertCounter(StopwatchText, count);
}

void TPainterStopwatch::Prepare(TBitmap32&) {
  FText = static_cast<const TDisplayStopwatch&>(Display()).CurrentText();
}
