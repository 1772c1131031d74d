#include <gtest/gtest.h>

#include <stdexcept>

#include "config/uOptions.h"
#include "display/fDisplay.h"
#include "display/uDisplayList.h"
#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uDisplayKinds.h"
#include "support/uDisplayDisc.h"
#include "support/uTestPlatform.h"
#include "support/uWin32Platform.h"
#include "support/uWin32Tools.h"
#include "win/uPumpMessages.h"
#include "win/uScreenShot.h"

namespace {

// Real windows and GDI bitmaps, with the clock and the desktop of the test.
class DisplayWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Platform();
    Platform().clock = &clock;
    Platform().desktop = &desktop;
    desktop.monitors = {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
    options.AutoHide = false;
    DisplayWindows().make = [this](TDisplay& d) {
      return std::make_unique<TfrmDisplay>(d, host, options, list);
    };
  }
  void TearDown() override {
    list.Clear();
    Platform() = TPlatform{};
    DisplayWindows() = {};
  }
  TDisplay& AddShown(std::unique_ptr<TDisplay> made, int left, int top, int width, int height) {
    TDisplay* d = list.Add(std::move(made));
    d->Left = left;
    d->Top = top;
    d->Width = width;
    d->Height = height;
    d->SetActive(true);
    d->Show();
    PumpMessages();
    return *d;
  }
  TDisplayDisc& AddDisc(bool background) {
    std::unique_ptr<TDisplay> disc = TDisplay::Create<TDisplayDisc>();
    disc->HasBackground = background;
    return static_cast<TDisplayDisc&>(AddShown(std::move(disc), 50, 60, 200, 100));
  }
  static HWND HandleOf(const TDisplay& d) {
    return dynamic_cast<TfrmDisplay&>(*d.Window()).Handle();
  }

  TTestClock clock;
  TFakeDesktop desktop;
  TFakeDisplayHost host;
  TOptions options;
  TDisplayList list{CreateDisplay};
};

TEST_F(DisplayWindowTest, PopupToolWindowWithoutOwnerOrTaskbarButton) {
  TDisplay& d = AddDisc(true);
  const HWND w = HandleOf(d);
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS), WS_POPUP);
  const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(ex & WS_EX_APPWINDOW);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
  EXPECT_TRUE(IsWindowVisible(w));
  d.SetAlwaysOnTop(false);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(DisplayWindowTest, ShapedDisplayIsCutToItsDiscAndFramedOneIsRectangular) {
  TDisplay& shaped = AddDisc(false);
  TUniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(GetWindowRgn(HandleOf(shaped), region.get()), COMPLEXREGION);
  const int size = TDisplayDisc::DiscSize;
  EXPECT_TRUE(PtInRegion(region.get(), size / 2, size / 2));
  EXPECT_FALSE(PtInRegion(region.get(), 1, 1));
  EXPECT_FALSE(PtInRegion(region.get(), size - 2, size - 2));

  TDisplay& framed = AddDisc(true);
  EXPECT_EQ(GetWindowRgn(HandleOf(framed), region.get()), ERROR);
  EXPECT_EQ(framed.Window()->Bounds(), (TRect{50, 60, 250, 160}));
}

// What the screen shows of a 200 px analog clock at (50, 60) at a time the test sets.
TEST_F(DisplayWindowTest, AnalogClockShowsItsHandsAndMarksWhereTheTimeSays) {
  auto& face = static_cast<TDisplayAnalogClock&>(*list.Add(dkAnalogClock));
  face.ShowText = false;
  face.Left = 50;
  face.Top = 60;
  face.SetActive(true);
  const TScreenShot empty;
  face.Show();
  const auto shoot = [&](int hour, int minute, std::uint8_t style) {
    face.TickMarks = style;
    face.SetSecondsHand(hour != 12);
    face.Window()->ShowDisplay();
    clock.local = {2026, 12, 0, 6, static_cast<WORD>(hour), static_cast<WORD>(minute)};
    face.Repaint();
    PumpMessages();
    return TScreenShot();
  };
  // Relative to the centre of the face, at (150, 160) on the screen.
  const auto drawn = [&](const TScreenShot& shot, int dx, int dy) {
    return shot.At(150 + dx, 160 + dy) != empty.At(150 + dx, 160 + dy);
  };
  struct Case {
    int hour, minute;
    std::vector<POINT> hands, free;
  };
  const Case cases[] = {
      {12, 0, {{0, -50}, {0, -80}}, {{0, 50}, {50, 0}, {-50, 0}}},
      {3, 0, {{40, 0}, {0, -80}, {0, -50}}, {{-40, 0}, {0, 50}}},
      // The hour hand 15 degrees past straight down, the minute hand down.
      {6, 30, {{-10, 39}, {0, 80}, {0, -50}}, {{10, 39}, {-50, 0}, {50, 0}}},
  };
  for (const Case& c : cases) {
    const TScreenShot shot = shoot(c.hour, c.minute, tmNone);
    for (const POINT p : c.hands)
      EXPECT_TRUE(drawn(shot, p.x, p.y)) << c.hour << " " << p.x << "," << p.y;
    for (const POINT p : c.free)
      EXPECT_FALSE(drawn(shot, p.x, p.y)) << c.hour << " " << p.x << "," << p.y;
  }
  EXPECT_EQ(shoot(12, 0, tmNone).At(150, 110), RGB(0xFF, 0xFF, 0xFF));  // the hands' fill

  // Each dial style marks hour 1 at 94 % of the radius; between hours 1 and 2
  // only the ring of style 2 is drawn.
  for (std::uint8_t style = tmNone; style <= tmStars; ++style) {
    const TScreenShot shot = shoot(9, 0, style);
    EXPECT_EQ(drawn(shot, 47, -81), style != tmNone) << int{style};
    EXPECT_EQ(drawn(shot, 66, -67), style == tmCircle) << int{style};
    EXPECT_FALSE(drawn(shot, 40, -40)) << int{style};  // inside the marks
  }
}

// A clock with everything switched off shows nothing, not a rectangle of the colour key, and
// keeps its place.
TEST_F(DisplayWindowTest, AnAnalogClockThatDrawsNothingLeavesTheScreenUntouched) {
  auto& face = static_cast<TDisplayAnalogClock&>(*list.Add(dkAnalogClock));
  face.TickMarks = tmNone;
  face.ShowText = face.ShowHourHand = face.ShowMinuteHand = false;
  face.SetSecondsHand(false);
  face.Left = 50;
  face.Top = 60;
  face.SetActive(true);
  const TScreenShot before;
  face.Show();
  PumpMessages();
  const TScreenShot after;
  int changed = 0, keyed = 0;
  for (int y = 60; y < 260; ++y)
    for (int x = 50; x < 250; ++x) {
      changed += after.At(x, y) != before.At(x, y);
      keyed += after.At(x, y) == clColorKey;
    }
  EXPECT_EQ(changed, 0);
  EXPECT_EQ(keyed, 0);
  EXPECT_TRUE(face.IsVisible());
  EXPECT_EQ(face.Window()->Bounds(), (TRect{50, 60, 250, 260}));
}

TEST_F(DisplayWindowTest, HitTestZonesOfADisplayWithBackground) {
  struct Case {
    int x, y;
    LRESULT expected;
  };
  const Case cases[] = {{5, 50, HTLEFT},         {6, 50, HTCLIENT},   {94, 50, HTCLIENT},
                        {95, 50, HTRIGHT},       {50, 2, HTTOP},      {50, 97, HTBOTTOM},
                        {2, 2, HTTOPLEFT},       {97, 2, HTTOPRIGHT}, {2, 97, HTBOTTOMLEFT},
                        {97, 97, HTBOTTOMRIGHT}, {50, 50, HTCLIENT}};
  for (const Case& c : cases)
    EXPECT_EQ(TfrmDisplay::ResizeZone(true, c.x, c.y, 100, 100), c.expected) << c.x << "," << c.y;
  // Too narrow for both zones: left and right at once is the client area.
  EXPECT_EQ(TfrmDisplay::ResizeZone(true, 5, 50, 10, 100), HTCLIENT);
  EXPECT_EQ(TfrmDisplay::ResizeZone(true, 5, 2, 10, 100), HTCLIENT);
  EXPECT_EQ(TfrmDisplay::ResizeZone(false, 0, 0, 100, 100), HTCLIENT);

  TDisplay& framed = AddDisc(true);
  const TRect r = framed.Window()->Bounds();
  EXPECT_EQ(SendMessageW(HandleOf(framed), WM_NCHITTEST, 0, MAKELPARAM(r.left + 2, r.top + 50)),
            HTLEFT);
}

TEST_F(DisplayWindowTest, ResizingWritesBackUnlessGuardedAndKeepsTheLimits) {
  TDisplay& framed = AddDisc(true);
  SetWindowPos(HandleOf(framed), nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(framed.Width, 300);
  EXPECT_EQ(framed.Height, 150);
  EXPECT_EQ(framed.Painter()->Bitmap().Width(), 300);

  framed.Window()->SetSizeUpdateGuard(true);
  framed.Window()->SetBounds({0, 0, 5000, 5000});
  framed.Window()->SetSizeUpdateGuard(false);
  EXPECT_EQ(framed.Width, 300);
  EXPECT_EQ(framed.Window()->Bounds().Width(), TfrmDisplay::MaxWidth);
  EXPECT_EQ(framed.Window()->Bounds().Height(), TfrmDisplay::MaxHeight);
}

// The system moves a display onto a monitor of another DPI: the picture is rendered again at
// that DPI and the window takes the rectangle the system suggests, while the stored size stays.
TEST_F(DisplayWindowTest, ADpiChangeRendersAtTheNewDpiAndTakesTheSuggestedRectangle) {
  const struct {
    const char* name;
    bool analog;
  } cases[] = {{"analog clock, shaped by its face", true},
               {"digital clock with a background", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TDisplay> made;
    if (c.analog) {
      made = TDisplay::Create<TDisplayAnalogClock>();
    } else {
      made = CreateDisplay(dkDigitalClock);
      made->HasBackground = true;
    }
    TDisplay* d = &AddShown(std::move(made), 40, 50, 150, 60);
    const int before = d->Window()->Dpi();
    ASSERT_EQ(before, WindowDpi(HandleOf(*d)));
    const TRect old = d->Window()->Bounds();
    const int width = d->Width, height = d->Height;
    const int dpi = before * 3 / 2;
    RECT suggested{70, 80, 70 + MulDiv(old.Width(), dpi, before),
                   80 + MulDiv(old.Height(), dpi, before)};
    SendMessageW(HandleOf(*d), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    PumpMessages();
    EXPECT_EQ(d->Window()->Dpi(), dpi);
    EXPECT_EQ(d->Window()->Bounds(),
              (TRect{suggested.left, suggested.top, suggested.right, suggested.bottom}));
    // The picture itself is 1.5 times the size: the bitmap, and the shape cut from its pixels.
    const TBitmap32& bitmap = d->Painter()->Bitmap();
    EXPECT_NEAR(bitmap.Width(), old.Width() * 1.5, 1.0);
    EXPECT_NEAR(bitmap.Height(), old.Height() * 1.5, 1.0);
    if (c.analog) {
      TUniqueRegion region(CreateRectRgn(0, 0, 0, 0));
      ASSERT_EQ(GetWindowRgn(HandleOf(*d), region.get()), COMPLEXREGION);
      RECT box{};
      GetRgnBox(region.get(), &box);
      EXPECT_GT(box.right - box.left, old.Width() * 5 / 4);
    }
    d->StoreBounds();
    EXPECT_EQ(std::pair(d->Width, d->Height), std::pair(width, height));
  }
}

TEST_F(DisplayWindowTest, DragFollowsThePhysicalButtonAndEscPutsItBackAClickShowsNotifications) {
  TDisplay& d = AddDisc(true);
  const HWND w = HandleOf(d);
  desktop.cursor = {100, 100};
  desktop.primaryDown = true;
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
  EXPECT_EQ(host.notificationRequests, 1);
  desktop.cursor = {130, 110};
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, 0);
  EXPECT_EQ(d.Window()->Bounds().left, 80);
  EXPECT_EQ(d.Window()->Bounds().top, 70);

  desktop.primaryDown = false;  // released outside: no more moving
  desktop.cursor = {160, 160};
  SendMessageW(w, WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(d.Window()->Bounds().left, 80);

  desktop.primaryDown = true;
  SendMessageW(w, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_EQ(d.Window()->Bounds().left, 50);
  EXPECT_EQ(d.Window()->Bounds().top, 60);
  ReleaseCapture();
  host.idle = false;  // busy: a click shows no notifications
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
  EXPECT_EQ(host.notificationRequests, 1);
  ReleaseCapture();

  // Neither Esc nor a click gave it a place on a monitor; a drop elsewhere does.
  EXPECT_FALSE(d.MonitorPlace());
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
  desktop.cursor = {190, 180};
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, 0);
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(50, 40));
  ASSERT_TRUE(d.MonitorPlace());
  EXPECT_EQ(d.MonitorPlace()->x, 80.0 / (GetSystemMetrics(SM_CXSCREEN) - 200));
}

TEST_F(DisplayWindowTest, CloseIsSwallowedDoubleClickHidesRightClickAsksForTheMenu) {
  TDisplay& d = AddDisc(false);
  const HWND w = HandleOf(d);
  SendMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  PumpMessages();
  EXPECT_TRUE(IsWindow(w));
  EXPECT_TRUE(d.IsVisible());
  host.idle = false;  // busy: a double click does nothing
  SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 60));
  EXPECT_TRUE(d.IsVisible());
  host.idle = true;
  SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 60));
  EXPECT_FALSE(d.IsVisible());
  EXPECT_TRUE(d.IsActive());
  SendMessageW(w, WM_RBUTTONUP, 0, MAKELPARAM(60, 60));
  EXPECT_EQ(host.popupMenus, (std::vector<TDisplay*>{&d}));
}

TEST_F(DisplayWindowTest, AllDisplaysHideTogetherAndReturnWhenTheCursorHasLeft) {
  options.AutoHide = true;
  options.AutoHideInterval = 0;
  options.AutoHideAllDisplays = true;
  options.AutoShowInterval = 500;
  TDisplay& a = AddDisc(true);
  TDisplay& b = AddDisc(false);
  b.Window()->MoveTo(400, 300);
  const TRect r = a.Window()->Bounds();
  desktop.cursor = {r.left + 10, r.top + 10};
  SendMessageW(HandleOf(a), WM_NCHITTEST, 0, MAKELPARAM(r.left + 10, r.top + 10));
  EXPECT_FALSE(a.IsVisible());
  EXPECT_FALSE(b.IsVisible());

  auto& wa = dynamic_cast<TfrmDisplay&>(*a.Window());
  desktop.cursor = {5, 5};  // away from both
  clock.ticks += 400;
  SendMessageW(wa.Handle(), WM_TIMER, TfrmDisplay::AutoHideTimerId, 0);
  EXPECT_FALSE(a.IsVisible());
  clock.ticks += 200;
  SendMessageW(wa.Handle(), WM_TIMER, TfrmDisplay::AutoHideTimerId, 0);
  EXPECT_TRUE(a.IsVisible());
  EXPECT_TRUE(b.IsVisible());
}

TEST_F(DisplayWindowTest, TransparencyMakesALayeredWindowWithTheAlphaValue) {
  ASSERT_TRUE(LayeredWindowsSupported());
  TDisplay& d = AddDisc(true);
  d.SetAlphaBlendValue(128);
  d.SetTransparent(true);
  const HWND w = HandleOf(d);
  EXPECT_TRUE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(w, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_TRUE(flags & LWA_ALPHA);
  d.SetTransparent(false);
  EXPECT_FALSE(GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED);
}

// A painter that fails, to show that no exception leaves a window procedure.
class TFailingDisplay : public TDisplayDisc {
 public:
  TPainterClass GetPainterClass() const override {
    return [](TDisplay& d) -> std::unique_ptr<TPainter> {
      class TFailingPainter : public TPainterDisc {
       public:
        using TPainterDisc::TPainterDisc;
        void Paint(TBitmap32&) override {
          if (fail) throw std::runtime_error("paint failed");
        }
      };
      return std::make_unique<TFailingPainter>(d);
    };
  }
  static inline bool fail = false;
};

TEST_F(DisplayWindowTest, NoExceptionCrossesTheWindowProcedure) {
  TDisplay* d = list.Add(TDisplay::Create<TFailingDisplay>());
  d->HasBackground = true;
  d->SetActive(true);
  TFailingDisplay::fail = true;
  // The resize repaints, the paint throws; the message still returns.
  SetWindowPos(HandleOf(*d), nullptr, 0, 0, 260, 120, SWP_NOMOVE | SWP_NOZORDER);
  SendMessageW(HandleOf(*d), WM_SIZE, 0, MAKELPARAM(260, 120));
  PumpMessages();
  TFailingDisplay::fail = false;
  EXPECT_TRUE(IsWindow(HandleOf(*d)));
  EXPECT_EQ(d->Width, 260);
  // The failed resize does not keep later ones from the model.
  SetWindowPos(HandleOf(*d), nullptr, 0, 0, 300, 140, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(d->Width, 300);
}

TEST_F(DisplayWindowTest, ALostCaptureEndsTheDragAndAnotherWindowsCaptureIsLeftAlone) {
  TDisplay& d = AddDisc(true);
  const HWND w = HandleOf(d);
  desktop.cursor = {100, 100};
  desktop.primaryDown = true;
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 40));
  SendMessageW(w, WM_CAPTURECHANGED, 0, 0);
  desktop.cursor = {130, 110};
  SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, 0);
  EXPECT_EQ(d.Window()->Bounds().left, 50);

  const HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
  SetCapture(other);
  SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(50, 40));
  SendMessageW(w, WM_KEYUP, VK_ESCAPE, 0);
  EXPECT_EQ(GetCapture(), other);
  ReleaseCapture();
  DestroyWindow(other);
}

TEST_F(DisplayWindowTest, ThousandsOfRepaintsHoldNoMoreObjects) {
  TDisplayDisc& shaped = AddDisc(false);
  TDisplay& framed = AddDisc(true);
  framed.SetHighlighted(true);
  const long gdi = LiveGdiObjects(), user = LiveUserObjects();
  for (int i = 0; i < 3000; ++i) {
    clock.local.wSecond = static_cast<std::uint16_t>(i % 60);
    shaped.Size = 100 + i % 7;  // a new shape, so a new region every time
    (i % 2 ? static_cast<TDisplay&>(shaped) : framed).Repaint();
    if (i % 100 == 0) PumpMessages();
  }
  PumpMessages();
  EXPECT_EQ(LiveGdiObjects(), gdi);
  EXPECT_EQ(LiveUserObjects(), user);
}

}  // namespace
