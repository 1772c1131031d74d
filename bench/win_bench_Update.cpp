// Cost of repainting real display windows under the platform's GDI: one full
// Update (render, size, region, copy) of a shaped and of a framed display.
// Run it under Wine or Windows; it prints microseconds per Update.
#include <windows.h>

#include <chrono>
#include <cstdio>

#include "config/uOptions.h"
#include "display/fDisplay.h"
#include "display/uDisplayList.h"
#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uDisplayCountdown.h"
#include "kinds/uDisplayDigitalClock.h"
#include "kinds/uDisplayKinds.h"
#include "support/uDisplayDisc.h"
#include "support/uPlatform.h"
#include "support/uTestPlatform.h"
#include "support/uWin32Platform.h"

namespace {

double MicrosecondsPerUpdate(TDisplay& display, TTestClock& clock, int rounds, bool moveEachTime) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    if (moveEachTime) clock.local.wSecond = static_cast<std::uint16_t>(i % 60);
    display.Painter()->Update();
  }
  const std::chrono::duration<double, std::micro> elapsed =
      std::chrono::steady_clock::now() - start;
  return elapsed.count() / rounds;
}

}  // namespace

int main() {
  InstallWin32Platform();
  TTestClock clock;
  Platform().clock = &clock;
  TOptions options;
  options.AutoHide = false;
  TDisplayList list{CreateDisplay};
  TFakeDisplayHost host;
  DisplayWindows().make = [&](TDisplay& d) {
    return std::make_unique<TfrmDisplay>(d, host, options, list);
  };
  auto shaped = TDisplay::Create<TDisplayDisc>();
  auto framed = TDisplay::Create<TDisplayDisc>();
  framed->HasBackground = true;
  framed->Width = 240;
  framed->Height = 160;
  for (TDisplay* d : {shaped.get(), framed.get()}) {
    d->SetActive(true);
    d->Show();
  }
  auto clockDisplay = TDisplay::Create<TDisplayDigitalClock>();
  clockDisplay->SetText("&ldate;\r\n&time -s;");
  clockDisplay->SetActive(true);
  clockDisplay->Show();
  constexpr int kRounds = 2000;
  std::printf("shaped display, new shape every update: %.1f us per Update\n",
              MicrosecondsPerUpdate(*shaped, clock, kRounds, true));
  std::printf("shaped display, same shape:             %.1f us per Update\n",
              MicrosecondsPerUpdate(*shaped, clock, kRounds, false));
  std::printf("framed display:                         %.1f us per Update\n",
              MicrosecondsPerUpdate(*framed, clock, kRounds, true));
  std::printf("default digital clock with seconds:      %.1f us per Update\n",
              MicrosecondsPerUpdate(*clockDisplay, clock, 500, true));
  std::printf("default digital clock, same text:       %.1f us per Update\n",
              MicrosecondsPerUpdate(*clockDisplay, clock, 500, false));
  // The other kinds beside that floor of a text display.
  auto analog = TDisplay::Create<TDisplayAnalogClock>();
  auto countdown = TDisplay::Create<TDisplayCountdown>();
  for (TDisplay* d :
       {static_cast<TDisplay*>(analog.get()), static_cast<TDisplay*>(countdown.get())}) {
    d->SetActive(true);
    d->Show();
  }
  std::printf("default analog clock, 200 px, seconds:  %.1f us per Update\n",
              MicrosecondsPerUpdate(*analog, clock, 500, true));
  std::printf("default countdown with seconds:         %.1f us per Update\n",
              MicrosecondsPerUpdate(*countdown, clock, 500, true));
  analog->DisplaySize = 1000000;
  analog->HourHandWidth = analog->MinuteHandWidth = analog->SecondsHandWidth = INT32_MAX;
  analog->TickMarkSize = INT32_MAX;
  analog->TickMarkSettings.OutlineWidth = INT32_MAX;
  std::printf("analog clock of size 10^6, widths 2^31-1: %.1f us per Update\n",
              MicrosecondsPerUpdate(*analog, clock, 200, true));
  clockDisplay->HasBackground = true;
  clockDisplay->Width = 420;
  clockDisplay->Height = 110;
  std::printf("digital clock on a background, seconds: %.1f us per Update\n",
              MicrosecondsPerUpdate(*clockDisplay, clock, 500, true));
  // Stored numbers far beyond what a window shows: drawing stops at its bounds.
  for (const bool background : {false, true}) {
    auto extreme = TDisplay::Create<TDisplayDigitalClock>();
    extreme->SetText("&ldate;\r\n&time -s;");
    extreme->Font.OutlineWidth = INT32_MAX;
    extreme->BevelWidth = INT32_MAX;
    extreme->HasBackground = background;
    extreme->Width = MaxDisplayWidth;
    extreme->Height = MaxDisplayHeight;
    extreme->SetActive(true);
    extreme->Show();
    std::printf("outline and bevel of 2147483647, %s: %.1f us per Update\n",
                background ? "1200 x 640 background" : "no background        ",
                MicrosecondsPerUpdate(*extreme, clock, 200, true));
    std::printf("  same text: %.1f us per Update\n",
                MicrosecondsPerUpdate(*extreme, clock, 200, false));
  }
  return 0;
}
