#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "display/aDisplayWindow.h"
#include "display/uDisplayFormat.h"
#include "support/uMonitorPlace.h"
#include "support/uTypes.h"

class TDisplay;
class TPainter;
class TVarnRegistry;

enum TDisplayKind : std::uint8_t {
  dkAnalogClock = 1,
  dkDigitalClock = 2,
  dkCountdown = 3,
  dkStopwatch = 4,
};

// Popup-menu item identifiers of the display base.
enum TDisplayMenuCommand : int {
  cmdHideDisplay = 1001,
  cmdConfigureDisplay = 1002,
  cmdDeactivateDisplay = 1003,
  cmdAlwaysOnTop = 1004,
};

// Appends one popup-menu item; the caption "-" makes a separator.
using TAddMenuItem = std::function<void(const std::string& caption, int id, bool isDefault,
                                        bool checked, bool enabled)>;

using TPainterClass = std::unique_ptr<TPainter> (*)(TDisplay& display);

// Makes the windows of displays: the program's own, installed at start-up,
// or doubles in tests.
struct TDisplayWindows {
  std::function<std::unique_ptr<TDisplayWindow>(TDisplay&)> make;
  // Opens the preferences window of a display's kind; false when the kind has none.
  std::function<bool(TDisplay&, void* owner)> openPreferences;
};

TDisplayWindows& DisplayWindows();

// The model of one display: its settings, the flags that decide when to
// repaint, and its popup-menu items. Window and painter exist while active.
class TDisplay {
 public:
  // Builds a display of a kind with its defaults applied (the kind's
  // SetDefaults must run after its constructor has finished).
  template <class TKind>
  static std::unique_ptr<TKind> Create() {
    auto display = std::make_unique<TKind>();
    display->SetDefaults();
    return display;
  }

  virtual ~TDisplay();
  TDisplay(const TDisplay&) = delete;
  TDisplay& operator=(const TDisplay&) = delete;

  virtual TPainterClass GetPainterClass() const;
  virtual void UpdateNeedsSeconds();
  virtual void SetDefaults();
  virtual void SetText(const std::string& text);
  virtual bool NeedsRepaint();
  virtual void ActiveChanged();
  // Reads or writes the display's values in the registry's open key. The
  // preset form is the look alone, without place, name, text or active state.
  virtual void LoadFromRegistry(TVarnRegistry& registry, bool presetOnly);
  virtual void SaveToRegistry(TVarnRegistry& registry, bool presetOnly);
  virtual void Tick(bool hourChanged, bool minuteChanged, bool secondChanged, int second);
  // The first whole second after nowMs (local milliseconds since 1899-12-30) at which Tick
  // repaints without a new hour or minute; nothing when only those repaint it.
  virtual std::optional<std::int64_t> NextRepaintWithinMinute(std::int64_t nowMs);
  virtual void BuildMenu(const TAddMenuItem& addItem) const;
  virtual void MenuCommand(int id);

  bool IsActive() const { return FWindow != nullptr; }
  bool IsVisible() const { return FWindow && FWindow->IsVisible(); }
  void SetActive(bool value);
  void Show();
  void Hide();
  void Repaint();
  void StoreBounds();
  void BoundsChanged();
  void SetHighlighted(bool value);
  void Flash(TColor fill, TColor outline);
  void StopFlashing();
  void SetTransparent(bool value);
  void SetAlphaBlendValue(int value);
  void SetAlwaysOnTop(bool value);
  void SetTopmost(bool value);
  void ResetPosition();
  // Opens the display's preferences window; false when none opened.
  bool Configure(void* owner);
  std::string GetKindName() const;
  // Brings a display that lies on no monitor half onto the nearest one.
  void KeepOnScreen();
  // Back onto its own monitor at its place there (the primary one while that monitor is gone);
  // a display without a place first comes on screen and takes the one it stands at.
  void FitToMonitors();
  // The display belongs to the monitor it stands on from now on, at the place it stands there
  // (after the user moved it).
  void TakeMonitorPlace();
  const std::optional<TMonitorPlace>& MonitorPlace() const { return FMonitorPlace; }
  // Left, top, width and height as a rectangle a window can take: the stored size is at 96 dpi
  // and grows with the window's DPI.
  TRect StoredBounds() const;
  // The DPI the display renders for: its window's, 96 without one.
  int Dpi() const;
  // A length the display's rules give at 96 dpi, at the display's DPI.
  int Scaled(int pixels) const;
  // The window took a new DPI: everything is drawn again at its sizes.
  void DpiChanged();

  TDisplayWindow* Window() const { return FWindow.get(); }
  TPainter* Painter() const { return FPainter.get(); }
  TDisplayKind Kind() const { return FKind; }
  const std::string& Text() const { return FText; }
  TDisplayFormat& DisplayFormat() { return FDisplayFormat; }
  bool Highlighted() const { return FHighlighted; }
  bool Flashing() const { return FFlashing; }
  bool FlashPhase() const { return FFlashPhase; }
  bool Transparent() const { return FTransparent; }
  int AlphaBlendValue() const { return FAlphaBlendValue; }
  bool AlwaysOnTop() const { return FAlwaysOnTop; }
  bool NeedsSeconds() const { return FNeedsSeconds; }
  bool Dirty() const { return FDirty; }
  void SetDirty() { FDirty = true; }

  int Left = 100;
  int Top = 100;
  int Width = 20;
  int Height = 20;
  TColor FlashFillColor = 0x000000;
  TColor FlashOutlineColor = 0x0000FF;
  std::string Description;
  bool HasBackground = false;
  TColor BackgroundColor = 0;
  int BevelWidth = 0;
  TColor BevelColor = 0;
  bool Bevel3D = false;

 protected:
  explicit TDisplay(TDisplayKind kind);
  void SetNeedsSeconds(bool value) { FNeedsSeconds = value; }

 private:
  void DestroyWindowAndPainter();
  // The window's bounds while it has one, else the stored ones.
  TRect CurrentBounds() const;
  void MoveTo(int left, int top);

  std::unique_ptr<TDisplayWindow> FWindow;
  std::unique_ptr<TPainter> FPainter;
  bool FHighlighted = false;
  bool FFlashing = false;
  bool FFlashPhase = false;
  bool FTransparent = false;
  int FAlphaBlendValue = 255;
  TDisplayFormat FDisplayFormat;
  std::string FText;
  bool FAlwaysOnTop = true;
  TDisplayKind FKind;
  bool FNeedsSeconds = false;
  bool FDirty = false;
  // Kept while the display stands elsewhere because its monitor is gone.
  std::optional<TMonitorPlace> FMonitorPlace;
};

// A display window's size limits at 96 dpi; nothing beyond them can ever be seen.
constexpr int MinDisplaySize = 20;
constexpr int MaxDisplayWidth = 1200;
constexpr int MaxDisplayHeight = 640;
// Stored positions beyond this are treated as this; no desktop is that large.
constexpr int MaxDisplayCoordinate = 1 << 24;
