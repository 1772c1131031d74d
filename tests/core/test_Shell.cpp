#include <gtest/gtest.h>

#include "app/uMainMenuItems.h"
#include "app/uTooltip.h"
#include "events/uEvents.h"
#include "kinds/uDisplayStopwatch.h"
#include "support/uColorButtonLayout.h"
#include "support/uTestPlatform.h"

namespace {

using K = TMenuEntryKind;

// Kind, caption and command of each entry, flattened with submenus after their item.
std::vector<std::string> Outline(const std::vector<TMenuEntry>& menu,
                                 const std::string& indent = "") {
  std::vector<std::string> lines;
  for (const TMenuEntry& e : menu) {
    const char* kind = e.kind == K::Separator ? "-" : e.kind == K::Header ? "#" : "";
    std::string line = indent + kind + e.caption + " " + std::to_string(e.id);
    if (!e.enabled) line += " grey";
    if (e.checked) line += " checked";
    if (e.isDefault) line += " default";
    lines.push_back(line);
    for (const std::string& sub : Outline(e.submenu, indent + "  ")) lines.push_back(sub);
  }
  return lines;
}

TEST(PopupMenu, TrayMenuItemsInOrderWithTheirStates) {
  TTestPlatform platform;
  const std::vector<std::string> tray = {
      "#Quorvel 1",
      "Preferences... 3 default",
      "Adjust date and time... 9",
      "- 0",
      "Show all active displays 6",
      "Hide all active displays 7",
      "- 0",
      "Chime 20 checked",
      "- 0",
      "Events 0",
      "  Events... 17",
      "  Add event... 18",
      "- 0",
      "Quorvel on the web 0",
      "  Quorvel Home Page 11",
      "  Free programs from the same maker 16",
      "About... 19",
      "- 0",
      "Calendar 8",
      "- 0",
      "Exit Quorvel 2",
  };
  TMenuState state;
  state.chimeEnabled = true;
  EXPECT_EQ(Outline(BuildPopupMenu(nullptr, state)), tray);

  state.chimeEnabled = false;
  state.eventCount = TEvents::MaxEvents;  // the list is full
  const auto full = Outline(BuildPopupMenu(nullptr, state));
  EXPECT_EQ(full[7], "Chime 20");
  EXPECT_EQ(full[11], "  Add event... 18 grey");

  // A display menu: its header and items on top, its "Hide display" the one default.
  const auto watch = TDisplay::Create<TDisplayStopwatch>();
  const auto menu = Outline(BuildPopupMenu(watch.get(), state));
  const std::vector<std::string> top = {"#Display 99",
                                        "Configure display... 1002",
                                        "Always on top 1004 checked",
                                        "- 0",
                                        "Hide display 1001 default",
                                        "Deactivate display 1003",
                                        "- 0",
                                        "Start 1008",
                                        "Stop 1009 grey",
                                        "Reset 1010",
                                        "Restart 1011",
                                        "#Quorvel 1",
                                        "Preferences... 3"};
  EXPECT_EQ(std::vector<std::string>(menu.begin(), menu.begin() + 13), top);
}

TEST(PopupMenu, PendingEventsSortedByTriggerWithTheirRecurrenceAfterATab) {
  TTestPlatform platform;
  TMenuState state;
  const TDateTime dec6 = SystemTimeToDateTime({2026, 12, 0, 6, 0, 0, 0, 0});
  state.pending = {{5, dec6 + 0.75, "", ""},
                   {0, dec6 + 0.5, "Lunch", "daily"},
                   {2, dec6 + 1.25, "", "every Monday"},
                   {7, dec6 + 0.5, "Tea", ""}};  // the same time: in list order
  const auto menu = BuildPopupMenu(nullptr, state);
  const auto& events = menu[9].submenu;
  ASSERT_EQ(events.size(), 7u);
  EXPECT_EQ(events[2].kind, K::Separator);
  EXPECT_EQ(events[3].caption, "12/6/2026 12:00 PM: Lunch\t[daily]");
  EXPECT_EQ(events[3].id, 1100);
  EXPECT_EQ(events[4].caption, "12/6/2026 12:00 PM: Tea\t");
  EXPECT_EQ(events[5].caption, "12/6/2026 6:00 PM\t");
  EXPECT_EQ(events[5].id, 1105);
  EXPECT_EQ(events[6].caption, "12/7/2026 6:00 AM\t[every Monday]");
}

TEST(PopupMenu, HeaderIsARuleWithTheCaptionOnADarkTab) {
  TTestPlatform platform;
  TMemoryBitmap bitmap;
  bitmap.SetSize(200, 22);
  TRecordingCanvas& canvas = bitmap.Recorder();
  const TFontSpec bold{"MS Sans Serif", -11, true};
  DrawMenuHeader(canvas, {0, 0, 200, 22}, "Quorvel", 0xC0C0C0, bold);
  ASSERT_EQ(canvas.calls.size(), 4u);
  EXPECT_EQ(canvas.calls[0].op, "FillRect");
  EXPECT_EQ(canvas.calls[0].brushColor, 0xC0C0C0u);
  EXPECT_EQ(canvas.calls[1].points, (std::vector<TPoint>{{0, 11}, {200, 11}}));
  EXPECT_EQ(canvas.calls[1].penColor, 0x705030u);
  EXPECT_EQ(canvas.calls[1].penWidth, 2);
  EXPECT_EQ(canvas.calls[2].op, "Rectangle");
  EXPECT_EQ(canvas.calls[2].rect, (TRect{0, 2, 7 * 8 + 10, 20}));  // the caption's width + 10
  EXPECT_EQ(canvas.calls[2].brushColor, 0x705030u);
  EXPECT_EQ(canvas.calls[3].op, "DrawText");
  EXPECT_EQ(canvas.calls[3].rect, (TRect{4, -5, 204, 17}));
  EXPECT_EQ(canvas.calls[3].fontColor, 0xE0E0E0u);
  EXPECT_EQ(canvas.calls[3].format & (TextFormat::SingleLine | TextFormat::Bottom),
            TextFormat::SingleLine | TextFormat::Bottom);
  EXPECT_EQ(canvas.measureFonts.back(), bold);
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

  // Any bytes at any length make some text and a window.
  std::string noise;
  for (int i = 0; i < 100000; ++i) noise += static_cast<char>("&<;\"tz x\xC3\n"[i % 11] + i % 3);
  tip.Template = noise;
  window.visible = false;
  tip.HandleTrayMouse(true);
  tip.TimerTick();
  EXPECT_TRUE(window.visible);
  EXPECT_FALSE(tip.Text().empty());
}

TEST(Tooltip, PaintsAFrameATitleStripAndTheText) {
  TTestPlatform platform;
  TMemoryBitmap bitmap;
  bitmap.SetSize(180, 62);
  TRecordingCanvas& canvas = bitmap.Recorder();
  PaintTooltip(canvas, {0, 0, 180, 62}, "line", 0xE1FFFF, 0x000001);
  ASSERT_EQ(canvas.calls.size(), 4u);
  EXPECT_EQ(canvas.calls[0].op, "Rectangle");
  EXPECT_EQ(canvas.calls[0].rect, (TRect{0, 0, 180, 62}));
  EXPECT_EQ(canvas.calls[0].penColor, 0x000001u);
  EXPECT_EQ(canvas.calls[0].penWidth, 1);
  EXPECT_EQ(canvas.calls[0].brushStyle, TBrushStyle::Clear);
  EXPECT_EQ(canvas.calls[1].rect, (TRect{0, 0, 180, 18}));
  EXPECT_EQ(canvas.calls[1].brushColor, 0x000001u);
  EXPECT_EQ(canvas.calls[2].text, "Quorvel");
  EXPECT_EQ(canvas.calls[2].rect.left, 4);
  EXPECT_EQ(canvas.calls[2].rect.top, 2);
  EXPECT_EQ(canvas.calls[2].fontColor, 0xE1FFFFu);
  EXPECT_EQ(canvas.calls[2].font, (TFontSpec{"Tahoma", -11, true}));
  EXPECT_EQ(canvas.calls[3].rect, (TRect{10, 21, 170, 53}));
  EXPECT_EQ(canvas.calls[3].fontColor, 0x000001u);
  EXPECT_EQ(canvas.calls[3].font, kTahoma10);
  EXPECT_EQ(canvas.calls[3].format & TextFormat::SingleLine, 0u);
}

TEST(ColorButton, FrameCaptionAndSwatchByState) {
  struct Case {
    bool isDefault, pressed, focused, disabled, caption;
    TRect frame, text, edge, swatch;
  };
  const Case cases[] = {
      {false,
       false,
       false,
       false,
       true,
       {0, 0, 100, 24},
       {2, 2, 72, 22},
       {79, 5, 95, 19},
       {81, 7, 93, 17}},
      // The default button's frame, pressed: all shifted by one.
      {true,
       true,
       true,
       false,
       true,
       {1, 1, 99, 23},
       {2, 2, 73, 24},
       {80, 6, 96, 20},
       {82, 8, 94, 18}},
      // Pressed and focused, not the default: a flat frame and no focus rectangle.
      {false,
       true,
       true,
       false,
       true,
       {0, 0, 100, 24},
       {2, 2, 74, 24},
       {80, 6, 96, 20},
       {82, 8, 94, 18}},
      // No caption: the swatch takes the whole face; disabled: a cross one pixel inside.
      {false,
       false,
       false,
       true,
       false,
       {0, 0, 100, 24},
       {2, 2, 72, 22},
       {5, 5, 95, 19},
       {8, 8, 92, 16}},
  };
  for (const Case& c : cases) {
    const TColorButtonLayout l = LayoutColorButton({0, 0, 100, 24}, c.isDefault, c.pressed,
                                                   c.focused, c.disabled, c.caption);
    EXPECT_EQ(l.frame, c.frame);
    EXPECT_EQ(l.flatFrame, c.pressed);
    EXPECT_EQ(l.caption, c.text);
    EXPECT_EQ(l.swatchEdge, c.edge);
    EXPECT_EQ(l.swatch, c.swatch);
    EXPECT_EQ(l.cross, c.disabled);
    EXPECT_EQ(l.defaultFrame.has_value(), c.isDefault);
    EXPECT_EQ(l.focus,
              c.isDefault && c.focused ? std::optional<TRect>({3, 3, 97, 21}) : std::nullopt);
  }
}

}  // namespace
