#include "support/uTestPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "config/uVarnRegistry.h"

std::optional<TRect> TFakeDesktop::MonitorFromRect(const TRect& r, bool nearest) {
  for (const TFakeMonitor& m : monitors)
    if (m.rect.Intersects(r)) return m.rect;
  if (!nearest || monitors.empty()) return std::nullopt;
  const auto gap = [&](const TFakeMonitor& f) {
    const TRect& m = f.rect;
    const long dx = std::max({m.left - r.right, r.left - m.right, 0});
    const long dy = std::max({m.top - r.bottom, r.top - m.bottom, 0});
    return dx * dx + dy * dy;
  };
  return std::min_element(monitors.begin(), monitors.end(),
                          [&](const auto& a, const auto& b) { return gap(a) < gap(b); })
      ->rect;
}

std::vector<TMonitor> TFakeDesktop::Monitors() {
  std::vector<TMonitor> list;
  for (const TFakeMonitor& m : monitors) {
    const std::string name =
        m.name.empty() ? "\\\\.\\DISPLAY" + std::to_string(list.size() + 1) : m.name;
    const TRect work{m.rect.left, m.rect.top, m.rect.right, m.rect.bottom - taskBarHeight};
    list.push_back({name, m.rect, work, m.rect.left == 0 && m.rect.top == 0});
  }
  return list;
}

std::string TEnglishLocale::DayName(int day, bool abbreviated) {
  static const char* names[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                "Friday", "Saturday", "Sunday"};
  const std::string name = names[day];
  return abbreviated ? name.substr(0, 3) : name;
}

std::string TEnglishLocale::MonthName(int month, bool abbreviated) {
  static const char* names[] = {"January",   "February", "March",    "April",
                                "May",       "June",     "July",     "August",
                                "September", "October",  "November", "December"};
  const std::string name = names[(month - 1) % 12];
  return abbreviated ? name.substr(0, 3) : name;
}

namespace {

int ProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(getpid());
#endif
}

// The text with every letter of Latin-1 as its lower-case base letter.
std::string FoldLatin1(const std::string& text) {
  // U+00C0 .. U+00FF; '*' and '/' are the two signs among them.
  static const char base[] =
      "aaaaaaaceeeeiiiidnooooo*ouuuuyts"
      "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
  std::string folded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
    if (c == 0xC3 && (next & 0xC0) == 0x80) {
      folded += base[next & 0x3F];
      ++i;
    } else {
      folded += static_cast<char>(std::tolower(c));
    }
  }
  return folded;
}

}  // namespace

int TEnglishLocale::CompareText(const std::string& a, const std::string& b) {
  return FoldLatin1(a).compare(FoldLatin1(b));
}

std::string TEnglishLocale::FormatDate(const TSystemTime& t, bool longDate) {
  if (!longDate)
    return std::to_string(t.wMonth) + "/" + std::to_string(t.wDay) + "/" + std::to_string(t.wYear);
  const int mondayFirst = (t.wDayOfWeek + 6) % 7;
  return DayName(mondayFirst, false) + ", " + MonthName(t.wMonth, false) + " " +
         std::to_string(t.wDay) + ", " + std::to_string(t.wYear);
}

std::string TEnglishLocale::FormatTime(const TSystemTime& t, unsigned flags) {
  const bool twelve = twelveHour && !(flags & TimeFlags::Force24Hour);
  const int hour = twelve ? (t.wHour % 12 == 0 ? 12 : t.wHour % 12) : t.wHour;
  const auto two = [](int v) {
    char digits[16];
    std::snprintf(digits, sizeof(digits), "%02d", v);
    return std::string(digits);
  };
  std::string text = twelve ? std::to_string(hour) : two(hour);
  if (!(flags & TimeFlags::NoMinutesOrSeconds)) {
    text.append(":").append(two(t.wMinute));
    if (!(flags & TimeFlags::NoSeconds)) text.append(":").append(two(t.wSecond));
  }
  if (twelve && !(flags & TimeFlags::NoTimeMarker)) text += t.wHour >= 12 ? " PM" : " AM";
  return text;
}

TRect TFakeDesktop::WorkAreaNear(TPoint p) {
  TRect m = *MonitorFromRect({p.x, p.y, p.x + 1, p.y + 1}, true);
  m.bottom -= taskBarHeight;
  return m;
}

void TRecordingCanvas::SetPen(TColor c, int width, TPenStyle style) {
  FPenColor = c;
  FPenWidth = width;
  FPenStyle = style;
}

void TRecordingCanvas::SetBrush(TColor c, TBrushStyle style) {
  FBrushColor = c;
  FBrushStyle = style;
}

TCanvasCall& TRecordingCanvas::Record(const std::string& op, const TRect& r) {
  calls.push_back({op, {}, r, FPenColor, FPenWidth, FPenStyle, FBrushColor, FBrushStyle, {}, 0});
  calls.back().fontColor = FFontColor;
  calls.back().fontQuality = FFont.quality;
  calls.back().font = FFont;
  return calls.back();
}

void TRecordingCanvas::Fill(const TRect& r, TColor c) {
  if (!fillPixels) return;
  const int x0 = std::max(r.left, 0), x1 = std::min(r.right, FBitmap.Width());
  const int y0 = std::max(r.top, 0), y1 = std::min(r.bottom, FBitmap.Height());
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) FBitmap.Pixel(x, y) = PixelOf(c);
}

void TRecordingCanvas::FillRect(const TRect& r) {
  Record("FillRect", r);
  if (FBrushStyle == TBrushStyle::Solid) Fill(r, FBrushColor);
}

void TRecordingCanvas::Rectangle(const TRect& r) {
  Record("Rectangle", r);
  if (FPenStyle == TPenStyle::Clear) {
    // Without a pen the fill stops one pixel short on the right and at the bottom.
    if (FBrushStyle == TBrushStyle::Solid)
      Fill({r.left, r.top, r.right - 1, r.bottom - 1}, FBrushColor);
    return;
  }
  // The frame inside r, as an inside-frame pen draws it.
  const TRect in = r.Inflated(-FPenWidth);
  if (FBrushStyle == TBrushStyle::Solid) Fill(in, FBrushColor);
  for (const TRect& band :
       {TRect{r.left, r.top, r.right, in.top}, TRect{r.left, in.bottom, r.right, r.bottom},
        TRect{r.left, in.top, in.left, in.bottom}, TRect{in.right, in.top, r.right, in.bottom}})
    Fill(band, FPenColor);
}

void TRecordingCanvas::Polygon(std::span<const TPoint> points) {
  Record("Polygon").points.assign(points.begin(), points.end());
}

void TRecordingCanvas::Polyline(std::span<const TPoint> points) {
  Record("Polyline").points.assign(points.begin(), points.end());
  if (FPenStyle == TPenStyle::Clear) return;
  // Each segment without its last point, as the platform draws it.
  for (std::size_t i = 1; i < points.size(); ++i) {
    const TPoint a = points[i - 1], b = points[i];
    const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
    for (int k = 0; k < steps; ++k) {
      const int x = a.x + static_cast<int>(std::lround(double(b.x - a.x) * k / steps));
      const int y = a.y + static_cast<int>(std::lround(double(b.y - a.y) * k / steps));
      Fill({x, y, x + 1, y + 1}, FPenColor);
    }
  }
}

int TRecordingCanvas::DrawText(const std::string& text, TRect& r, unsigned format) {
  int lines = 1, widest = 0;
  std::string line;
  const auto measureLine = [&] {
    const auto fixed = lineWidths.find(line);
    const int width =
        fixed != lineWidths.end() ? fixed->second : static_cast<int>(line.size()) * charWidth;
    widest = std::max(widest, width);
    line.clear();
  };
  for (char ch : text) {
    if (ch == '\n') {
      ++lines;
      measureLine();
    } else if (ch != '\r') {
      line += ch;
    }
  }
  measureLine();
  const int height = lines * lineHeight;
  if (format & TextFormat::CalcRect) {
    measureFonts.push_back(FFont);
    r.right = r.left + widest;
    r.bottom = r.top + height;
  } else {
    TCanvasCall& call = Record("DrawText", r);
    call.text = text;
    call.format = format;
  }
  return height;
}

void TMemoryBitmap::SetSize(int width, int height) {
  FWidth = width;
  FHeight = height;
  FPixels.assign(std::size_t(width) * height, 0);
  ++resizeCount;
}

void TFakeDisplayWindow::ShowDisplay() {
  if (display.Painter()) display.Painter()->Update();
  visible = true;
  ApplyZOrder();
}

void TFakeDisplayWindow::SetBounds(const TRect& r) {
  bounds = r;
  SetClientSize(r.Width(), r.Height());
  guardSeenOnSetBounds = guard;
}

void TFakeDisplayWindow::MoveTo(int left, int top) {
  bounds = BoundsRect(left, top, bounds.Width(), bounds.Height());
}

void TFakeDisplayWindow::SetClientSize(int width, int height) {
  // The limits of a real display window.
  bounds.right = bounds.left + std::clamp(width, MinDisplaySize, MaxDisplayWidth);
  bounds.bottom = bounds.top + std::clamp(height, MinDisplaySize, MaxDisplayHeight);
}

bool TFakeDisplayWindow::SetRegion(const std::vector<TRect>& runs) {
  ++regionSetCount;
  if (refuseRegion) return false;
  region = runs;
  return true;
}

void TFakeDisplayWindow::RemoveRegion() {
  region.reset();
  ++regionRemoveCount;
}

TTestPlatform::TTestPlatform()
    : FSaved(Platform()),
      FSavedDisplayWindows(DisplayWindows()),
      FSavedNotifyWindowMaker(NotifyWindowMaker()),
      FSavedCurrentUser(HiveOf(TRootKey::CurrentUser)),
      FSavedLocalMachine(HiveOf(TRootKey::LocalMachine)) {
  TPlatform& p = Platform();
  p.clock = &clock;
  p.desktop = &desktop;
  p.newBitmap = [] { return std::make_unique<TMemoryBitmap>(); };
  DisplayWindows() = {[](TDisplay& d) { return std::make_unique<TFakeDisplayWindow>(d); }, nullptr};
  NotifyWindowMaker() = [this](TEvent& e) {
    ++notifyWindowsMade;
    return std::make_unique<TFakeNotifyWindow>(e);
  };
  p.runCommand = [this](const std::string& command) {
    commands.push_back(command);
    return commandsStart;
  };
  p.sound = &sound;
  p.locale = &locale;
  p.programFile = "C:\\Program Files\\Quorvel\\quorvel.exe";
  p.layeredWindows = true;
  SetHive(TRootKey::CurrentUser, &currentUser);
  SetHive(TRootKey::LocalMachine, &localMachine);
}

TTestPlatform::~TTestPlatform() {
  Platform() = FSaved;
  DisplayWindows() = FSavedDisplayWindows;
  NotifyWindowMaker() = FSavedNotifyWindowMaker;
  SetHive(TRootKey::CurrentUser, FSavedCurrentUser);
  SetHive(TRootKey::LocalMachine, FSavedLocalMachine);
}

std::map<std::string, TRegData> RegistrySnapshot(TRegistryHive& hive, const std::string& key) {
  std::map<std::string, TRegData> values;
  const auto opened = hive.OpenKey(key, false, RegAccess::Read);
  if (!opened) return values;
  for (const std::string& name : opened->ValueNames())
    if (auto data = opened->QueryValue(name)) values.emplace(key + "\\" + name, std::move(*data));
  for (const std::string& sub : opened->SubKeyNames())
    values.merge(RegistrySnapshot(hive, key + "\\" + sub));
  return values;
}

bool TRecordingSound::PlayAsync(const std::string& file, bool loop) {
  std::lock_guard lock(FLock);
  played.push_back(file + (loop ? " (loop)" : ""));
  return true;
}

bool TRecordingSound::PlaySync(const std::string& file) {
  if (failing) throw std::runtime_error("no sound service");
  std::unique_lock lock(FLock);
  played.push_back(file + " (sync)");
  syncStarts.push_back(std::chrono::steady_clock::now());
  FChanged.notify_all();
  const int purgesBefore = purges;
  FChanged.wait_for(lock, std::chrono::seconds(5),
                    [&] { return !holding || purges != purgesBefore; });
  return true;
}

void TRecordingSound::Purge() {
  std::lock_guard lock(FLock);
  ++purges;
  FChanged.notify_all();
}

void TRecordingSound::Release() {
  std::lock_guard lock(FLock);
  holding = false;
  FChanged.notify_all();
}

bool TRecordingSound::AwaitSyncPlays(std::size_t count) {
  std::unique_lock lock(FLock);
  return FChanged.wait_for(lock, std::chrono::seconds(5),
                           [&] { return syncStarts.size() >= count; });
}

void TFakeNotifyWindow::CloseByUser() {
  event.Dismiss();
  event.NotifyWindowDestroyed();
}

std::string TestFile(const std::string& suffix) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  // The process id too: the same test may run in two processes at once (parallel test runs).
  const auto path = std::filesystem::temp_directory_path() /
                    ("quorvel-" + std::to_string(ProcessId()) + "-" + test->test_suite_name() +
                     "." + test->name() + "-" + suffix);
  std::ofstream(path) << "RIFF";
  return path.string();
}

void WriteTimeZone(const std::string& name, std::int32_t bias, std::optional<std::int32_t> index,
                   std::size_t tziSize) {
  TVarnRegistry reg;
  reg.SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(
      reg.OpenKey("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\" + name, true));
  reg.WriteString("Display", "(UTC) " + name);
  // Bias, standard bias, daylight bias, then the standard and daylight rules (eight 16-bit
  // fields each: year, month, weekday, day, hour, minute, second, millisecond), little-endian.
  std::vector<std::uint8_t> tzi;
  const auto append = [&](std::int64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) tzi.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  append(bias, 4);
  append(bias == 0 ? 0 : 1, 4);
  append(bias == 0 ? 0 : -60, 4);
  for (const int field : {0, 10, 0, 5, 3, 1, 2, 3}) append(bias == 0 ? 0 : field, 2);
  for (const int field : {0, 3, 0, 5, 2, 4, 5, 6}) append(bias == 0 ? 0 : field, 2);
  tzi.resize(64);
  if (tziSize) reg.WriteBinaryData("TZI", tzi.data(), static_cast<int>(tziSize));
  if (index) reg.WriteInteger("Index", *index);
}
