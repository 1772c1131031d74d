#include "display/uDisplay.h"

#include <algorithm>

#include "config/uMultilanguage.h"
#include "config/uStoredValues.h"
#include "config/uVarnRegistry.h"
#include "display/uPainter.h"
#include "support/uDpi.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

namespace {

std::unique_ptr<TPainter> NewBasePainter(TDisplay& display) {
  return std::make_unique<TPainter>(display);
}

// The look of a display: what a preset carries too.
const TStoredValue<TDisplay> kLookValues[] = {
    {"Transparent", TAccessor<TDisplay, bool>{[](const TDisplay& d) { return d.Transparent(); },
                                              [](TDisplay& d, bool v) {
                                                d.SetTransparent(Platform().layeredWindows && v);
                                              }}},
    {"AlphaBlendValue", TAccessor<TDisplay, std::int32_t>{
                            [](const TDisplay& d) { return d.AlphaBlendValue(); },
                            [](TDisplay& d, std::int32_t v) { d.SetAlphaBlendValue(v); }}},
    {"AlwaysOnTop", TAccessor<TDisplay, bool>{[](const TDisplay& d) { return d.AlwaysOnTop(); },
                                              [](TDisplay& d, bool v) { d.SetAlwaysOnTop(v); }}},
};

// Its place, name and text, which a preset leaves alone.
const TStoredValue<TDisplay> kPlaceValues[] = {
    {"Left", &TDisplay::Left},
    {"Top", &TDisplay::Top},
    {"Width", &TDisplay::Width},
    {"Height", &TDisplay::Height},
    {"Description", &TDisplay::Description},
    {"Text",
     TAccessor<TDisplay, std::string>{[](const TDisplay& d) { return d.Text(); },
                                      [](TDisplay& d, std::string v) { d.SetText(v); }},
     TStoredForm::MultiLine},
};

// The monitor it stands on and its place there, beside Left and Top, which older versions read.
const TStoredValue<TMonitorPlace> kMonitorPlaceValues[] = {
    {"Monitor", &TMonitorPlace::monitor},
    {"MonitorLeft", &TMonitorPlace::monitorLeft},
    {"MonitorTop", &TMonitorPlace::monitorTop},
    {"MonitorRight", &TMonitorPlace::monitorRight},
    {"MonitorBottom", &TMonitorPlace::monitorBottom},
    {"MonitorPlaceX", &TMonitorPlace::x},
    {"MonitorPlaceY", &TMonitorPlace::y},
};

// A place that is missing or damaged in any part counts as absent.
std::optional<TMonitorPlace> LoadMonitorPlace(TVarnRegistry& registry) {
  TMonitorPlace place;
  LoadValues<TMonitorPlace>(registry, place, kMonitorPlaceValues);
  if (!place.Usable()) return std::nullopt;
  return place;
}

std::vector<TMonitor> Monitors() {
  TDesktop* desktop = Platform().desktop;
  return desktop ? desktop->Monitors() : std::vector<TMonitor>{};
}

}  // namespace

TDisplay::TDisplay(TDisplayKind kind) : FKind(kind) {}

// No virtual from here: the kind's part is gone already. The display list
// deactivates a display before it destroys it, so the kind hears of it.
TDisplay::~TDisplay() { DestroyWindowAndPainter(); }

TPainterClass TDisplay::GetPainterClass() const { return &NewBasePainter; }

void TDisplay::UpdateNeedsSeconds() { FNeedsSeconds = false; }

void TDisplay::SetDefaults() {
  HasBackground = false;
  BackgroundColor = RGBColor(0x96, 0x8A, 0xF2);
  BevelWidth = 2;
  BevelColor = RGBColor(0x96, 0x8A, 0xF2);
  Bevel3D = true;
}

void TDisplay::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  FDisplayFormat.Parse(FText);
}

bool TDisplay::NeedsRepaint() { return true; }

void TDisplay::ActiveChanged() {}

void TDisplay::LoadFromRegistry(TVarnRegistry& registry, bool presetOnly) {
  LoadValues<TDisplay>(registry, *this, kLookValues);
  if (!presetOnly) {
    LoadValues<TDisplay>(registry, *this, kPlaceValues);
    FMonitorPlace = LoadMonitorPlace(registry);
    // Last: the window is made with the place read before.
    SetActive(registry.ReadBoolOr("Active", true));
  }
  FitToMonitors();
}

void TDisplay::SaveToRegistry(TVarnRegistry& registry, bool presetOnly) {
  StoreBounds();
  registry.WriteString("", std::to_string(static_cast<int>(FKind)));
  SaveValues<TDisplay>(registry, *this, kLookValues);
  if (presetOnly) return;
  registry.WriteBool("Active", IsActive());
  SaveValues<TDisplay>(registry, *this, kPlaceValues);
  if (!FMonitorPlace) FMonitorPlace = MonitorPlaceOf(CurrentBounds(), Monitors());
  if (FMonitorPlace) SaveValues<TMonitorPlace>(registry, *FMonitorPlace, kMonitorPlaceValues);
}

TDisplayWindows& DisplayWindows() {
  static TDisplayWindows windows;
  return windows;
}

void TDisplay::SetActive(bool value) {
  const bool changed = value != IsActive();
  if (value) {
    if (!FPainter) FPainter = GetPainterClass()(*this);
    if (!FWindow) {
      FWindow = DisplayWindows().make(*this);
      FWindow->SetSizeUpdateGuard(true);
      try {
        FWindow->SetBounds(StoredBounds());
      } catch (...) {
        FWindow->SetSizeUpdateGuard(false);
        throw;
      }
      FWindow->SetSizeUpdateGuard(false);
      FWindow->SetAlphaBlendValue(FAlphaBlendValue);
      FWindow->SetAlphaBlend(FTransparent);
    }
  } else {
    DestroyWindowAndPainter();
  }
  if (changed) ActiveChanged();
}

void TDisplay::DestroyWindowAndPainter() {
  if (FWindow) {
    StoreBounds();
    FWindow.reset();
  }
  FPainter.reset();
}

void TDisplay::Show() {
  if (FWindow) FWindow->ShowDisplay();
}

void TDisplay::Hide() {
  if (FWindow && FWindow->IsVisible()) FWindow->HideWindow();
}

void TDisplay::Repaint() {
  FDirty = false;
  if (IsActive() && FPainter) FPainter->Update();
}

void TDisplay::StoreBounds() {
  if (!FWindow) return;
  const TRect r = FWindow->Bounds();
  Left = r.left;
  Top = r.top;
  // Stored at 96 dpi, so that the same settings look alike on every monitor.
  Width = ScaleFromDpi(r.Width(), Dpi());
  Height = ScaleFromDpi(r.Height(), Dpi());
}

int TDisplay::Dpi() const { return FWindow ? FWindow->Dpi() : BaseDpi; }

int TDisplay::Scaled(int pixels) const { return ScaleToDpi(pixels, Dpi()); }

void TDisplay::DpiChanged() {
  FDirty = true;
  Repaint();
}

void TDisplay::BoundsChanged() {
  StoreBounds();
  Repaint();
}

void TDisplay::SetHighlighted(bool value) {
  if (value == FHighlighted && (!value || FDirty)) return;
  FHighlighted = value;
  FDirty = true;
}

void TDisplay::Flash(TColor fill, TColor outline) {
  FlashFillColor = fill;
  FlashOutlineColor = outline;
  FFlashing = true;
  Show();
}

void TDisplay::StopFlashing() {
  if (!FFlashing) return;
  FFlashing = false;
  FDirty = true;
}

void TDisplay::SetTransparent(bool value) {
  FTransparent = value;
  if (FWindow) FWindow->SetAlphaBlend(value);
}

void TDisplay::SetAlphaBlendValue(int value) {
  FAlphaBlendValue = value;
  if (FWindow) FWindow->SetAlphaBlendValue(value);
}

void TDisplay::SetAlwaysOnTop(bool value) {
  FAlwaysOnTop = value;
  if (FWindow) FWindow->ApplyZOrder();
}

void TDisplay::SetTopmost(bool value) {
  if (FWindow) FWindow->SetTopmost(value);
}

void TDisplay::ResetPosition() {
  SetActive(true);
  Show();
  MoveTo(100, 100);
  TakeMonitorPlace();
}

bool TDisplay::Configure(void* owner) {
  const auto& open = DisplayWindows().openPreferences;
  if (!open || GetKindName().empty()) return false;
  FHighlighted = false;
  const bool wasActive = IsActive();
  SetActive(true);
  if (open(*this, owner)) return true;
  // No window for it (a display kept as stored): it stays as it was.
  SetActive(wasActive);
  return false;
}

std::string TDisplay::GetKindName() const {
  switch (FKind) {
    case dkAnalogClock:
      return GetText("ANALOG_CLOCK", "Analog clock");
    case dkDigitalClock:
      return GetText("DIGITAL_CLOCK", "Digital clock");
    case dkCountdown:
      return GetText("COUNTDOWN", "Countdown");
    case dkStopwatch:
      return GetText("STOPWATCH", "Stopwatch");
  }
  return {};
}

void TDisplay::KeepOnScreen() {
  TDesktop* desktop = Platform().desktop;
  TRect r = StoredBounds();
  if (!desktop || desktop->MonitorFromRect(r, false)) return;
  const std::optional<TRect> monitor = desktop->MonitorFromRect(r, true);
  if (!monitor) return;
  KeepHalfInside(r, *monitor);
  MoveTo(r.left, r.top);
}

void TDisplay::FitToMonitors() {
  if (!FMonitorPlace) {
    KeepOnScreen();
    TakeMonitorPlace();
    return;
  }
  const std::vector<TMonitor> monitors = Monitors();
  // Twice at most: a move onto a monitor of another DPI resizes the window, which may then need
  // another place to be fully visible.
  for (int pass = 0; pass < 2; ++pass) {
    const TRect now = CurrentBounds();
    const TRect to = PlaceOnMonitors(*FMonitorPlace, now, monitors);
    if (to == now) return;
    MoveTo(to.left, to.top);
  }
}

void TDisplay::TakeMonitorPlace() {
  StoreBounds();
  FMonitorPlace = MonitorPlaceOf(CurrentBounds(), Monitors());
}

TRect TDisplay::CurrentBounds() const { return FWindow ? FWindow->Bounds() : StoredBounds(); }

void TDisplay::MoveTo(int left, int top) {
  Left = left;
  Top = top;
  if (FWindow) FWindow->MoveTo(left, top);
}

TRect TDisplay::StoredBounds() const {
  const int left = std::clamp(Left, -MaxDisplayCoordinate, MaxDisplayCoordinate);
  const int top = std::clamp(Top, -MaxDisplayCoordinate, MaxDisplayCoordinate);
  return BoundsRect(left, top, Scaled(std::clamp(Width, MinDisplaySize, MaxDisplayWidth)),
                    Scaled(std::clamp(Height, MinDisplaySize, MaxDisplayHeight)));
}

void TDisplay::Tick(bool hourChanged, bool minuteChanged, bool secondChanged, int second) {
  if (!IsVisible()) return;
  if (!hourChanged && !minuteChanged) {
    const bool moves = secondChanged && FNeedsSeconds && NeedsRepaint();
    if (!moves && !FDirty && !FFlashing) return;
  }
  FFlashPhase = FFlashing && second % 2 == 1;
  Repaint();
}

std::optional<std::int64_t> TDisplay::NextRepaintWithinMinute(std::int64_t nowMs) {
  // The same rule as Tick's, a second ahead.
  if (!IsVisible() || !(FDirty || FFlashing || FNeedsSeconds)) return std::nullopt;
  return NextWholeSecond(nowMs);
}

void TDisplay::BuildMenu(const TAddMenuItem& addItem) const {
  addItem(GetText("MNU_CONF", "Configure display..."), cmdConfigureDisplay, false, false, true);
  addItem(GetText("MNU_AOT", "Always on top"), cmdAlwaysOnTop, false, FAlwaysOnTop, true);
  addItem("-", 0, false, false, true);
  addItem(GetText("MNU_HIDE", "Hide display"), cmdHideDisplay, true, false, true);
  addItem(GetText("MNU_DEACTIVATE", "Deactivate display"), cmdDeactivateDisplay, false, false,
          true);
}

void TDisplay::MenuCommand(int id) {
  switch (id) {
    case cmdHideDisplay:
      Hide();
      break;
    case cmdConfigureDisplay:
      Configure(nullptr);
      break;
    case cmdDeactivateDisplay:
      SetActive(false);
      break;
    case cmdAlwaysOnTop:
      SetAlwaysOnTop(!FAlwaysOnTop);
      break;
    default:
      break;
  }
}
