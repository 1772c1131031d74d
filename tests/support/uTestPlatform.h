#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "config/uMemoryHive.h"
#include "display/aDisplayWindow.h"
#include "display/uDisplay.h"
#include "display/uDisplayHost.h"
#include "display/uPainter.h"
#include "events/uEvents.h"
#include "support/uCanvas.h"
#include "support/uClock.h"
#include "support/uDesktop.h"
#include "support/uPlatform.h"
#include "support/uWindowTimer.h"

// A clock the test sets.
class TTestClock : public TClock {
 public:
  TSystemTime UtcNow() override { return utc; }
  TSystemTime LocalNow() override { return local; }
  std::uint32_t TickCount() override { return ticks; }
  TSystemTime utc{2026, 12, 0, 6, 8, 0, 0, 0};
  TSystemTime local{2026, 12, 0, 6, 9, 0, 0, 0};
  std::uint32_t ticks = 1000;
};

// Records what it was asked to play, from any thread. With holding on, a
// synchronous play lasts until a purge cuts it (or the test lets go), as a long
// sound would; a stroke that hangs on gives up after five seconds.
class TRecordingSound : public TSound {
 public:
  bool PlayAsync(const std::string& file, bool loop) override;
  bool PlaySync(const std::string& file) override;
  void Purge() override;
  // Lets every held play end and holds no more.
  void Release();
  // Waits until count synchronous plays have begun; false after five seconds.
  bool AwaitSyncPlays(std::size_t count);
  // Read them once the playing threads have ended.
  std::vector<std::string> played;
  int purges = 0;
  bool holding = false;
  // Synchronous plays throw, as a sound service that has gone away might.
  bool failing = false;
  // When each synchronous play began.
  std::vector<std::chrono::steady_clock::time_point> syncStarts;

 private:
  std::mutex FLock;
  std::condition_variable FChanged;
};

// English names and fixed formats: short date 12/6/2026, long date
// "Sunday, December 6, 2026", time 9:05:07 AM (or 09:05:07 with 24 hours).
class TEnglishLocale : public TLocale {
 public:
  std::string DayName(int day, bool abbreviated) override;
  std::string MonthName(int month, bool abbreviated) override;
  std::string FormatDate(const TSystemTime& time, bool longDate) override;
  std::string FormatTime(const TSystemTime& time, unsigned timeFlags) override;
  std::string TimeMarker(bool pm) override { return pm ? "PM" : "AM"; }
  bool TwelveHour() override { return twelveHour; }
  // Letters of Latin-1 folded to their lower-case base letters.
  int CompareText(const std::string& a, const std::string& b) override;
  bool twelveHour = true;
};

// A monitor of the fake desktop; unnamed, it is \\.\DISPLAYn by its place in the list.
struct TFakeMonitor {
  TRect rect;
  std::string name;
};

// Monitors side by side as the test lists them; nearest by edge distance. As on the system, the
// primary monitor is the one at the origin.
class TFakeDesktop : public TDesktop {
 public:
  std::optional<TRect> MonitorFromRect(const TRect& r, bool nearest) override;
  TRect WorkAreaNear(TPoint p) override;
  std::vector<TMonitor> Monitors() override;
  int DpiAt(TPoint) override { return dpi; }
  TPoint CursorPos() override { return cursor; }
  bool IsShiftDown() override { return shiftDown; }
  bool IsPrimaryButtonDown() override { return primaryDown; }
  std::vector<TFakeMonitor> monitors{{{0, 0, 1024, 768}}};
  // Each monitor's work area leaves a task bar of this height at its bottom.
  int taskBarHeight = 40;
  TPoint cursor;
  int dpi = 96;  // every monitor's
  bool shiftDown = false;
  bool primaryDown = false;
};

// One drawing call as the recording canvas saw it.
struct TCanvasCall {
  std::string op;  // "FillRect", "Rectangle", "Ellipse", "Polygon", "Polyline", "DrawText"
  std::vector<TPoint> points;
  TRect rect;
  TColor penColor = 0;
  int penWidth = 1;
  TPenStyle penStyle = TPenStyle::Solid;
  TColor brushColor = 0;
  TBrushStyle brushStyle = TBrushStyle::Solid;
  std::string text;
  unsigned format = 0;
  TColor fontColor = 0;
  TFontQuality fontQuality = TFontQuality::Default;
  TFontSpec font;
};

// Records every call. FillRect, Rectangle and Polyline also set the pixels as the platform
// does (lines one pixel wide), so painter, region and colour-key tests see real rows. Text
// metrics are fixed: every character is charWidth pixels wide and every line lineHeight
// pixels high.
class TRecordingCanvas : public TCanvas {
 public:
  explicit TRecordingCanvas(class TMemoryBitmap& bitmap) : FBitmap(bitmap) {}
  void SetFont(const TFontSpec& font) override { FFont = font; }
  const TFontSpec& Font() const override { return FFont; }
  void SetFontColor(TColor c) override { FFontColor = c; }
  TColor FontColor() const override { return FFontColor; }
  void SetPen(TColor c, int width, TPenStyle style) override;
  void SetBrush(TColor c, TBrushStyle style) override;
  void FillRect(const TRect& r) override;
  void Rectangle(const TRect& r) override;
  void Ellipse(const TRect& r) override { Record("Ellipse", r); }
  void Polygon(std::span<const TPoint> points) override;
  void Polyline(std::span<const TPoint> points) override;
  int DrawText(const std::string& text, TRect& r, unsigned format) override;

  std::vector<TCanvasCall> calls;
  // The font of every measurement (DT_CALCRECT), which draws nothing.
  std::vector<TFontSpec> measureFonts;
  int charWidth = 8;
  int lineHeight = 16;
  // Off for tests that paint thousands of times and look only at the calls.
  bool fillPixels = true;
  // Widths of whole lines that the test fixes, overriding charWidth.
  std::map<std::string, int> lineWidths;

 private:
  TCanvasCall& Record(const std::string& op, const TRect& r = {});
  void Fill(const TRect& r, TColor c);
  TMemoryBitmap& FBitmap;
  TFontSpec FFont;
  TColor FFontColor = 0;
  TColor FPenColor = 0;
  int FPenWidth = 1;
  TPenStyle FPenStyle = TPenStyle::Solid;
  TColor FBrushColor = 0xFFFFFF;
  TBrushStyle FBrushStyle = TBrushStyle::Solid;
};

class TMemoryBitmap : public TBitmap32 {
 public:
  TMemoryBitmap() : FCanvas(*this) {}
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SetSize(int width, int height) override;
  TCanvas& Canvas() override { return FCanvas; }
  TRecordingCanvas& Recorder() { return FCanvas; }
  const std::uint32_t* ScanLine(int y) const override { return &FPixels[std::size_t(y) * FWidth]; }
  std::uint32_t* ScanLine(int y) override { return &FPixels[std::size_t(y) * FWidth]; }
  std::uint32_t& Pixel(int x, int y) { return ScanLine(y)[x]; }
  int resizeCount = 0;

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint32_t> FPixels;
  TRecordingCanvas FCanvas;
};

// A display window that records what the model and painter asked of it.
class TFakeDisplayWindow : public TDisplayWindow {
 public:
  explicit TFakeDisplayWindow(TDisplay& owner) : display(owner) {}
  ~TFakeDisplayWindow() override {
    if (onDestroy) onDestroy();
  }
  void ShowDisplay() override;
  void HideWindow() override { visible = false; }
  bool IsVisible() const override { return visible; }
  void ApplyZOrder() override { ++zOrderCount; }
  void SetTopmost(bool on) override { topmost = on; }
  int Dpi() const override { return dpi; }
  TRect Bounds() const override { return bounds; }
  void SetBounds(const TRect& r) override;
  void MoveTo(int left, int top) override;
  void SetClientSize(int width, int height) override;
  void SetSizeUpdateGuard(bool on) override { guard = on; }
  void SetAlphaBlend(bool on) override { alphaBlend = on; }
  void SetAlphaBlendValue(int value) override { alphaValue = value; }
  bool SetRegion(const std::vector<TRect>& runs) override;
  void RemoveRegion() override;
  void DrawBitmap(const TBitmap32&) override { ++drawCount; }
  void SetShownText(const std::string& text) override { shownText = text; }
  void AutoHide(bool all) override {
    visible = false;
    lastAll = all;
  }
  void AutoShow(bool all) override {
    visible = true;
    lastAll = all;
  }
  bool IsCursorInside() const override { return cursorInside; }

  TDisplay& display;
  int dpi = 96;
  bool visible = false;
  bool topmost = false;
  bool guard = false;
  bool guardSeenOnSetBounds = false;
  bool alphaBlend = false;
  int alphaValue = 255;
  bool cursorInside = false;
  std::string shownText;
  bool lastAll = false;  // the last automatic hiding or showing was meant for all displays
  TRect bounds;
  std::optional<std::vector<TRect>> region;  // none: rectangular
  int regionSetCount = 0;
  bool refuseRegion = false;
  int regionRemoveCount = 0;
  int drawCount = 0;
  int zOrderCount = 0;
  // Runs while the window goes, as the last messages of a real one do.
  std::function<void()> onDestroy;
};

// A file of its own for the running test: tests run side by side in several processes.
// It holds a few bytes, so that it exists as a sound to play.
std::string TestFile(const std::string& suffix);

// Writes a zone of the system's catalogue into the local machine's hive: a
// display name "(UTC) name", the bias (with a daylight rule unless it is 0),
// the index when given and tziSize bytes of the TZI value (none when 0).
void WriteTimeZone(const std::string& name, std::int32_t bias, std::optional<std::int32_t> index,
                   std::size_t tziSize = 44);

// Every value under a key, by its path and name ("Displays\\000\\Left"), as stored.
std::map<std::string, TRegData> RegistrySnapshot(TRegistryHive& hive, const std::string& key);

// The program around a display window, as the test sets it.
class TFakeDisplayHost : public TDisplayHost {
 public:
  bool IsIdle() const override { return idle; }
  bool DisplayPreferencesOpen() const override { return displayPreferencesOpen; }
  bool MenuOpen() const override { return menuOpen; }
  void ShowPopupMenu(TDisplay& display) override { popupMenus.push_back(&display); }
  void ActivateApplication() override { ++activations; }
  void ShowNotifications() override { ++notificationRequests; }
  bool idle = true;
  bool displayPreferencesOpen = false;
  bool menuOpen = false;
  std::vector<TDisplay*> popupMenus;
  int activations = 0;
  int notificationRequests = 0;
};

// A window timer that only records what it was asked.
class TFakeTimer : public TWindowTimer {
 public:
  void Start(unsigned milliseconds) override {
    running = true;
    interval = milliseconds;
  }
  void Stop() override { running = false; }
  bool running = false;
  unsigned interval = 0;
};

// An event's notification window: records how it was shown.
class TFakeNotifyWindow : public TEventNotifyWindow {
 public:
  explicit TFakeNotifyWindow(TEvent& owner) : event(owner) {}
  void ShowWithoutActivation() override { shown = "without activation"; }
  void ShowActivated() override { shown = "activated"; }
  // The user closes it by other means than its buttons: acknowledged, then gone.
  void CloseByUser();
  TEvent& event;
  std::string shown;  // empty while hidden
};

// Installs the doubles as the platform for the lifetime of the object.
class TTestPlatform {
 public:
  TTestPlatform();
  ~TTestPlatform();
  TTestPlatform(const TTestPlatform&) = delete;
  TTestPlatform& operator=(const TTestPlatform&) = delete;

  static TFakeDisplayWindow& WindowOf(const TDisplay& d) {
    return static_cast<TFakeDisplayWindow&>(*d.Window());
  }
  static TMemoryBitmap& BitmapOf(const TDisplay& d) {
    return static_cast<TMemoryBitmap&>(d.Painter()->Bitmap());
  }

  TTestClock clock;
  TFakeDesktop desktop;
  TRecordingSound sound;
  TEnglishLocale locale;
  int notifyWindowsMade = 0;
  // Command lines run, and whether starting them succeeds.
  std::vector<std::string> commands;
  bool commandsStart = true;
  // The registry roots, fresh for every test.
  TMemoryHive currentUser;
  TMemoryHive localMachine;

 private:
  TPlatform FSaved;
  TDisplayWindows FSavedDisplayWindows;
  TMakeNotifyWindow FSavedNotifyWindowMaker;
  TRegistryHive* FSavedCurrentUser;
  TRegistryHive* FSavedLocalMachine;
};
