#include "support/uMonitorPlace.h"

#include <algorithm>
#include <cstdint>

#include "support/uTools.h"

namespace {

// No desktop is larger; beyond this a stored rectangle is damaged.
constexpr int kMaxCoordinate = 1 << 24;

std::int64_t Overlap(const TRect& a, const TRect& b) {
  const std::int64_t w = std::int64_t{std::min(a.right, b.right)} - std::max(a.left, b.left);
  const std::int64_t h = std::int64_t{std::min(a.bottom, b.bottom)} - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

const TMonitor* Primary(const std::vector<TMonitor>& monitors) {
  const auto it =
      std::find_if(monitors.begin(), monitors.end(), [](const TMonitor& m) { return m.primary; });
  if (it != monitors.end()) return &*it;
  return monitors.empty() ? nullptr : &monitors.front();
}

// The monitor a window overlaps most, the primary one when it overlaps none.
const TMonitor* MonitorOf(const TRect& window, const std::vector<TMonitor>& monitors) {
  const TMonitor* on = Primary(monitors);
  std::int64_t most = 0;
  for (const TMonitor& m : monitors)
    if (const std::int64_t overlap = Overlap(window, m.rect); overlap > most) {
      most = overlap;
      on = &m;
    }
  return on;
}

// Where a window side of length side starting at start stands along a work area's side: 0 at its
// start, 1 flush with its end.
double Fraction(int start, int areaStart, int area, int side) {
  const int room = area - side;
  return room > 0 ? std::clamp(double(start - areaStart) / room, 0.0, 1.0) : 0.0;
}

int Start(double fraction, int areaStart, int area, int side) {
  return areaStart + RoundHalfEven(fraction * std::max(area - side, 0));
}

bool InRange(int v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; }

bool IsFraction(double v) { return v >= 0.0 && v <= 1.0; }  // false for NaN

}  // namespace

bool TMonitorPlace::Usable() const {
  const bool nameOk = !monitor.empty() && monitor.size() <= 64 &&
                      std::none_of(monitor.begin(), monitor.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x20; });
  const bool rectOk = InRange(monitorLeft) && InRange(monitorTop) && InRange(monitorRight) &&
                      InRange(monitorBottom) && monitorLeft < monitorRight &&
                      monitorTop < monitorBottom;
  return nameOk && rectOk && IsFraction(x) && IsFraction(y);
}

std::optional<TMonitorPlace> MonitorPlaceOf(const TRect& window,
                                            const std::vector<TMonitor>& monitors) {
  const TMonitor* on = MonitorOf(window, monitors);
  if (!on) return std::nullopt;
  const TRect &r = on->rect, &work = on->work;
  return TMonitorPlace{on->name,
                       r.left,
                       r.top,
                       r.right,
                       r.bottom,
                       Fraction(window.left, work.left, work.Width(), window.Width()),
                       Fraction(window.top, work.top, work.Height(), window.Height())};
}

TRect PlaceOnMonitors(const TMonitorPlace& place, const TRect& current,
                      const std::vector<TMonitor>& monitors) {
  const auto own = std::find_if(monitors.begin(), monitors.end(),
                                [&](const TMonitor& m) { return m.name == place.monitor; });
  if (own != monitors.end()) {
    const TRect taken{place.monitorLeft, place.monitorTop, place.monitorRight, place.monitorBottom};
    if (own->rect == taken && MonitorOf(current, monitors) == &*own) return current;
  }
  const TMonitor* to = own != monitors.end() ? &*own : Primary(monitors);
  if (!to) return current;
  const TRect& work = to->work;
  const int w = current.Width(), h = current.Height();
  return BoundsRect(Start(place.x, work.left, work.Width(), w),
                    Start(place.y, work.top, work.Height(), h), w, h);
}
