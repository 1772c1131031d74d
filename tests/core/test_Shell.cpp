#include <gtest/gtest.h>

#include "app/uMainMenuItems.h"
#include "app/uTooltip.h"
#include "events/uEvents.h"
#include "kinds/uDisplayStopwatch.h"
#include "support/uColorButtonLayout.h"
#include "support/uTestPlatform.h"

namespace {

using K = TMenuEntryKind;

// Kind, caption, command and states of each entry, one a line, submenus indented after their item.
std::string Outline(const std::vector<TMenuEntry>& menu, const std::string& indent = "") {
  std::string lines;
  for (const TMenuEntry& e : menu) {
    lines += indent +
             (e.kind == K::Separator ? "-"
              : e.kind == K::Header  ? "#"
                                     : "") +
             e.caption + " " + std::to_string(e.id) + (e.enabled ? "" : " grey") +
             (e.checked ? " checked" : "") + (e.isDefault ? " default" : "") + "\n";
    lines += Outline(e.submenu, indent + "  ");
  }
  return lines;
}

TEST(PopupMenu, TrayMenuItemsInOrderWithTheirStates) {
  TTestPlatform platform;
  const std::string common =
      "Adjust date and time... 9\n- 0\nShow all active displays 6\nHide all active displays 7\n"
      "- 0\nChime 20 checked\n- 0\nEvents 0\n  Events... 17\n  Add event... 18\n- 0\n"
      "Quorvel on the web 0\n  Quorvel Home Page 11\n  Free programs from the same maker 16\n"
      "About... 19\n- 0\nCalendar 8\n- 0\nExit Quorvel 2\n";
  TMenuState state;
  state.chimeEnabled = true;
  EXPECT_EQ(Outline(BuildPopupMenu(nullptr, state)),
            "#Quorvel 1\nPreferences... 3 default\n" + common);

  // A display menu: its header and items on top, its "Hide display" the one default; with the
  // chime off and the event list full.
  state.chimeEnabled = false;
  state.eventCount = TEvents::MaxEvents;
  const auto watch = TDisplay::Create<TDisplayStopwatch>();
  std::string expected =
      "#Display 99\nConfigure display... 1002\nAlways on top 1004 checked\n- 0\n"
      "Hide display 1001 default\nDeactivate display 1003\n- 0\n"
      "Start 1008\nStop 1009 grey\nReset 1010\nRestart 1011\n#Quorvel 1\nPreferences... 3\n" +
      common;
  expected.replace(expected.find("Chime 20 checked"), 16, "Chime 20");
  expected.replace(expected.find("Add event... 18"), 15, "Add event... 18 grey");
  EXPECT_EQ(Outline(BuildPopupMenu(watch.get(), state)), expected);
}

TEST(PopupMenu, PendingEventsSortedByTriggerWithTheirRecurrenceAfterATab) {
  TTestPlatform platform;
  TMenuState state;
  const TDateTime dec6 = SystemTimeToDateTime({2026, 12, 0, 6, 0, 0, 0, 0});
  state.pending = {{5, dec6 + 0.75, "", ""},
                   {0, dec6 + 0.5, "Lunch", "daily"},
                   {2, dec6 + 1.25, "", "every Monday"},
                   {7, dec6 + 0.5, "Tea & cake", ""}};  // the same time: in list order
  EXPECT_EQ(Outline(BuildPopupMenu(nullptr, state)[9].submenu),
            "Events... 17\nAdd event... 18\n- 0\n12/6/2026 12:00 PM: Lunch\t[daily] 1100\n"
            "12/6/2026 12:00 PM: Tea && cake\t 1107\n12/6/2026 6:00 PM\t 1105\n"
            "12/7/2026 6:00 AM\t[every Monday] 1102\n");
}

TEST(PopupMenu, HeaderIsARuleWithTheCaptionOnADarkTab) {
  TTestPlatform platform;
  TMemoryBitmap bitmap;
  bitmap.SetSize(200, 22);
  TRecordingCanvas& canvas = bitmap.Recorder();
  const TFontSpec bold{"MS Sans Serif", -11, true};
  DrawMenuHeader(canvas, {0, 0, 200, 22}, "Quorvel", 0xC0C0C0, bold, 96);
  ASSERT_EQ(canvas.calls.size(), 4u);
  EXPECT_EQ(canvas.calls[0].brushColor, 0xC0C0C0u);
  EXPECT_EQ(canvas.calls[1].points, (std::vector<TPoint>{{0, 11}, {200, 11}}));
  EXPECT_EQ(canvas.calls[1].penColor, 0x705030u);
  EXPECT_EQ(canvas.calls[1].penWidth, 2);
  EXPECT_EQ(canvas.calls[2].rect, (TRect{0, 2, 7 * 8 + 10, 20}));  // the caption's width + 10
  EXPECT_EQ(canvas.calls[2].brushColor, 0x705030u);
  EXPECT_EQ(canvas.calls[3].rect, (TRect{4, -5, 204, 17}));
  EXPECT_EQ(canvas.calls[3].fontColor, 0xE0E0E0u);
  EXPECT_EQ(canvas.calls[3].format & (TextFormat::SingleLine | TextFormat::Bottom),
            TextFormat::SingleLine | TextFormat::Bottom);
  EXPECT_EQ(canvas.measureFonts.back(), bold);

  // On a monitor at 144 dpi its rule, margins and tab grow by half (the caption's font is the
  // menu's own at that DPI, given).
  canvas.calls.clear();
  DrawMenuHeader(canvas, {0, 0, 200, 33}, "Quorvel", 0xC0C0C0, bold, 144);
  ASSERT_EQ(canvas.calls.size(), 4u);
  EXPECT_EQ(canvas.calls[1].penWidth, 3);
  EXPECT_EQ(canvas.calls[2].rect, (TRect{0, 3, 7 * 8 + 15, 30}));
  EXPECT_EQ(canvas.calls[3].rect, (TRect{6, -8, 206, 25}));
}

class TFakeTooltipWindow : public TTooltipWindow {
 public:
  bool IsVisible() const override { return visible; }
  void ShowAt(const TRect& r) override {
    bounds = r;
    visible = true;
  }
  void HideWindow() override { visible = false; }
  bool visible = false;
  TRect bounds;
};

const TFontSpec kTahoma10{"Tahoma", -13};  // 10 points at 96 pixels per inch

TEST(Tooltip, ShowsAfterTheCursorRestsAndGoesWhenItLeavesOrClicks) {
  TTestPlatform platform;
  TFakeTooltipWindow window;
  TFakeTimer timer;
  TTooltip tip(window, timer);
  tip.Template = "Hello";
  // The fonts the tip measures its text in.
  std::vector<TFontSpec> measured;
  struct TKeepsFonts : TMemoryBitmap {
    explicit TKeepsFonts(std::vector<TFontSpec>& fonts) : kept(fonts) {}
    ~TKeepsFonts() override { kept = Recorder().measureFonts; }
    std::vector<TFontSpec>& kept;
  };
  Platform().newBitmap = [&] { return std::make_unique<TKeepsFonts>(measured); };
  platform.desktop.cursor = {1020, 760};  // the tray at the bottom right
  tip.HandleTrayMouse(true);
  EXPECT_FALSE(timer.running);  // not before start-up has finished
  tip.Enabled = true;
  tip.HandleTrayMouse(true);
  EXPECT_TRUE(timer.running);
  EXPECT_EQ(timer.interval, 500u);
  tip.TimerTick();
  ASSERT_TRUE(window.visible);
  EXPECT_EQ(tip.Text(), "Hello");
  EXPECT_EQ(measured, (std::vector<TFontSpec>{kTahoma10}));
  // 160 + 20 wide at least; above and left of the cursor, 16 px inside the work area.
  EXPECT_EQ(window.bounds, (TRect{1024 - 16 - 180, 768 - 40 - 16 - 46, 1024 - 16, 768 - 40 - 16}));
  EXPECT_TRUE(timer.running);  // watching for the cursor to leave
  tip.TimerTick();
  EXPECT_TRUE(window.visible);
  platform.desktop.cursor = {900, 500};
  tip.TimerTick();
  EXPECT_FALSE(window.visible);
  EXPECT_FALSE(timer.running);

  // A click hides it, and resting at the clicked spot does not bring it back.
  tip.HandleTrayMouse(true);
  tip.TimerTick();
  ASSERT_TRUE(window.visible);
  tip.HandleTrayMouse(false);
  EXPECT_FALSE(window.visible);
  EXPECT_FALSE(timer.running);
  tip.HandleTrayMouse(true);
  tip.TimerTick();
  EXPECT_FALSE(window.visible);
  platform.desktop.cursor = {300, 200};  // a move elsewhere: it comes back
  tip.HandleTrayMouse(true);
  platform.desktop.cursor = {301, 200};  // moved within the interval
  tip.TimerTick();
  EXPECT_FALSE(window.visible);
  EXPECT_FALSE(timer.running);
  tip.Template = "";
  tip.HandleTrayMouse(true);
  tip.TimerTick();
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(tip.Text(), "no text");
  EXPECT_EQ(window.bounds, (TRect{301 - 180, 200 - 46, 301, 200}));
  // Its room grows with the DPI, as its fonts do.
  platform.desktop.dpi = 192;
  tip.HandleTrayMouse(false);
  platform.desktop.cursor = {302, 200};
  tip.HandleTrayMouse(true);
  tip.TimerTick();
  EXPECT_EQ(window.bounds.Width(), 360);
}

TEST(ColorButton, FrameCaptionAndSwatchByState) {
  enum { kDefault = 1, kPressed = 2, kFocused = 4, kDisabled = 8, kCaption = 16 };
  const struct {
    int state;
    TRect frame, text, edge, swatch;
  } cases[] = {
      {kCaption, {0, 0, 100, 24}, {2, 2, 72, 22}, {79, 5, 95, 19}, {81, 7, 93, 17}},
      // The default button's frame, pressed: all shifted by one.
      {kDefault | kPressed | kFocused | kCaption,
       {1, 1, 99, 23},
       {2, 2, 73, 24},
       {80, 6, 96, 20},
       {82, 8, 94, 18}},
      // Pressed and focused, not the default: a flat frame and no focus rectangle.
      {kPressed | kFocused | kCaption,
       {0, 0, 100, 24},
       {2, 2, 74, 24},
       {80, 6, 96, 20},
       {82, 8, 94, 18}},
      // No caption: the swatch takes the whole face; disabled: a cross one pixel inside.
      {kDisabled, {0, 0, 100, 24}, {2, 2, 72, 22}, {5, 5, 95, 19}, {8, 8, 92, 16}},
  };
  for (const auto& c : cases) {
    const auto has = [&](int flag) { return (c.state & flag) != 0; };
    const TColorButtonLayout l = LayoutColorButton({0, 0, 100, 24}, has(kDefault), has(kPressed),
                                                   has(kFocused), has(kDisabled), has(kCaption));
    EXPECT_EQ(l.frame, c.frame) << c.state;
    EXPECT_EQ(l.flatFrame, has(kPressed));
    EXPECT_EQ(l.caption, c.text) << c.state;
    EXPECT_EQ(l.swatchEdge, c.edge) << c.state;
    EXPECT_EQ(l.swatch, c.swatch) << c.state;
    EXPECT_EQ(l.cross, has(kDisabled));
    EXPECT_EQ(l.defaultFrame.has_value(), has(kDefault));
    EXPECT_EQ(l.focus,
              has(kDefault) && has(kFocused) ? std::optional<TRect>({3, 3, 97, 21}) : std::nullopt);
  }
}

}  // namespace
