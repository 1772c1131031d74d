// Whole-program tests: quorvel.exe runs under Wine on a virtual display and is
// looked at from outside, as a user or another program would see it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/fMsgHandler.h"
#include "app/uMainMenuItems.h"
#include "app/uStartup.h"
#include "config/uFileHive.h"
#include "config/uVarnRegistry.h"
#include "config/uWin32Hive.h"
#include "config/uWin32SettingsFile.h"
#include "events/fEvent.h"
#include "support/uTestPlatform.h"
#include "support/uWin32Platform.h"
#include "support/uWinHandles.h"
#include "support/uWinText.h"
#include "win/uScreenShot.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kMainClass[] = L"TQuorvelDisplay";
constexpr wchar_t kCaption[] = L"Quorvel";

void PumpFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    std::this_thread::sleep_for(20ms);
  } while (std::chrono::steady_clock::now() < end);
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    PumpFor(50ms);
  }
  return condition();
}

class TProcess {
 public:
  explicit TProcess(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" QUORVEL_EXE_W L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    started = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &si, &pi);
    if (!started) return;
    FProcess = TUniqueKernelHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    id = pi.dwProcessId;
  }
  ~TProcess() {
    if (FProcess && WaitForSingleObject(FProcess.get(), 0) == WAIT_TIMEOUT)
      TerminateProcess(FProcess.get(), 99);
  }
  // The exit code, or -1 when the process has not ended in time.
  long WaitForExit(std::chrono::milliseconds timeout) {
    if (!FProcess) return -1;
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (WaitForSingleObject(FProcess.get(), 0) == WAIT_TIMEOUT) {
      if (std::chrono::steady_clock::now() > end) return -1;
      PumpFor(50ms);
    }
    DWORD code = 0;
    GetExitCodeProcess(FProcess.get(), &code);
    return static_cast<long>(code);
  }
  bool started = false;
  DWORD id = 0;

 private:
  TUniqueKernelHandle FProcess;
};

std::vector<HWND> TopLevelWindows(DWORD processId, const wchar_t* className) {
  struct Search {
    DWORD processId;
    const wchar_t* className;
    std::vector<HWND> found;
  } search{processId, className, {}};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        if (pid == s->processId && lstrcmpW(cls, s->className) == 0) s->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Stands in for a running first instance: the marker and a window of the
// main window's class and caption that records what it is sent.
class TFakeFirstInstance {
 public:
  TFakeFirstInstance() {
    semaphore = TUniqueKernelHandle(CreateSemaphoreW(nullptr, 0, 1, SingleInstanceSemaphoreName));
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
      if (msg == 1282) received.push_back(wp);
      return DefWindowProcW(w, msg, wp, lp);
    };
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kMainClass;
    RegisterClassW(&wc);
    window = TUniqueWindow(CreateWindowExW(0, kMainClass, kCaption, WS_OVERLAPPED, 0, 0, 10, 10,
                                           nullptr, nullptr, wc.hInstance, nullptr));
    received.clear();
  }
  ~TFakeFirstInstance() {
    window.reset();
    UnregisterClassW(kMainClass, GetModuleHandleW(nullptr));
  }
  TUniqueKernelHandle semaphore;
  TUniqueWindow window;
  static inline std::vector<WPARAM> received;
};

TEST(Program, SecondStartTellsTheFirstAndEnds) {
  TFakeFirstInstance first;
  ASSERT_TRUE(first.window);
  {
    TProcess second(L"/config");
    ASSERT_TRUE(second.started);
    EXPECT_EQ(second.WaitForExit(10s), 0);
  }
  {
    TProcess third(L"");
    EXPECT_EQ(third.WaitForExit(10s), 0);
  }
  ASSERT_TRUE(WaitFor([] { return TFakeFirstInstance::received.size() == 2; }, 2s));
  EXPECT_EQ(TFakeFirstInstance::received[0], 1u);  // "/CONFIG", whatever its case
  EXPECT_EQ(TFakeFirstInstance::received[1], 0u);
}

// How many display windows of a process are visible.
int VisibleDisplays(DWORD processId) {
  int n = 0;
  for (HWND w : TopLevelWindows(processId, L"TfrmDisplay")) n += IsWindowVisible(w) ? 1 : 0;
  return n;
}

// The screen without a running program's displays (hidden by its menu command 7), then with
// them (shown by command 6); count is how many displays it shows.
std::optional<std::pair<TScreenShot, TScreenShot>> DesktopWithoutAndWith(DWORD processId,
                                                                         int count) {
  const auto visible = [&] { return VisibleDisplays(processId); };
  const HWND main = FindWindowW(kMainClass, kCaption);
  PostMessageW(main, WM_COMMAND, 7, 0);
  if (!WaitFor([&] { return visible() == 0; }, 5s)) return std::nullopt;
  PumpFor(1000ms);
  TScreenShot desktop;
  PostMessageW(main, WM_COMMAND, 6, 0);
  if (!WaitFor([&] { return visible() == count; }, 5s)) return std::nullopt;
  PumpFor(1000ms);
  return std::pair{std::move(desktop), TScreenShot()};
}

// A digital clock on a background of 300 x 100 pixels into the registry's open key.
void WriteFramedClock(TVarnRegistry& reg, int left, int top) {
  reg.WriteString("", "2");
  reg.WriteBool("HasBackground", true);
  reg.WriteInteger("Left", left);
  reg.WriteInteger("Top", top);
  reg.WriteInteger("Width", 300);
  reg.WriteInteger("Height", 100);
}

// Two stored clocks: one cut to its glyphs, one on a background of its own size.
void StoreTwoClocks() {
  InstallWin32Hives();
  TVarnRegistry reg;
  reg.DeleteKey("Software\\Quorvel II");
  reg.OpenKey("Software\\Quorvel II\\Displays", true);
  reg.WriteInteger("Count", 2);
  reg.WriteInteger("Primary", 0);
  reg.OpenKey("\\Software\\Quorvel II\\Displays\\000", true);
  reg.WriteString("", "2");
  reg.WriteString("Text", "&hh;:&nn;");
  reg.WriteInteger("Left", 100);
  reg.WriteInteger("Top", 100);
  reg.OpenKey("\\Software\\Quorvel II\\Displays\\001", true);
  WriteFramedClock(reg, 450, 100);
}

class RunningProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    StoreTwoClocks();
    program = std::make_unique<TProcess>(L"");
    ASSERT_TRUE(program->started);
    ASSERT_TRUE(WaitFor([&] { return DisplayWindows().size() == 2; }, 30s));
    PumpFor(1500ms);
  }
  void TearDown() override {
    if (const HWND main = FindWindowW(kMainClass, kCaption)) PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(program->WaitForExit(10s), 0);
  }
  std::vector<HWND> DisplayWindows() const { return TopLevelWindows(program->id, L"TfrmDisplay"); }
  int VisibleDisplays() const { return ::VisibleDisplays(program->id); }
  std::unique_ptr<TProcess> program;
};

TEST_F(RunningProgram, SecondStartReachesTheFirstInstance) {
  const HWND main = FindWindowW(kMainClass, kCaption);
  ASSERT_NE(main, nullptr);
  PostMessageW(main, WM_COMMAND, 7, 0);  // "hide all displays"
  ASSERT_TRUE(WaitFor([&] { return VisibleDisplays() == 0; }, 5s));

  TProcess second(L"");
  EXPECT_EQ(second.WaitForExit(10s), 0);
  EXPECT_EQ(TopLevelWindows(program->id, kMainClass).size(), 1u);
  // The first instance answers by opening its preferences, which shows every display; the
  // program then ends (TearDown) with that window open.
  EXPECT_TRUE(WaitFor([&] { return VisibleDisplays() == 2; }, 5s));
  EXPECT_TRUE(WaitFor(
      [&] {
        const auto dialogs = TopLevelWindows(program->id, L"#32770");
        return std::any_of(dialogs.begin(), dialogs.end(), [](HWND w) {
          wchar_t caption[32] = {};
          GetWindowTextW(w, caption, 32);
          return IsWindowVisible(w) && std::wstring(caption) == kCaption;
        });
      },
      5s));
}

// One hidden main window; the displays are borderless tool windows without an owner, the
// shaped one cut to its glyphs.
TEST_F(RunningProgram, BorderlessToolWindowsAndAShapedClockShowsTheDesktopAroundItsGlyphs) {
  const auto mains = TopLevelWindows(program->id, kMainClass);
  ASSERT_EQ(mains.size(), 1u);
  wchar_t caption[32] = {};
  GetWindowTextW(mains[0], caption, 32);
  EXPECT_STREQ(caption, kCaption);
  EXPECT_FALSE(IsWindowVisible(mains[0]));
  // The hidden owner has exactly the tool-window style: no taskbar button.
  const HWND owner = GetWindow(mains[0], GW_OWNER);
  ASSERT_NE(owner, nullptr);
  EXPECT_EQ(GetWindowLongPtrW(owner, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
  HWND shaped = nullptr, framed = nullptr;
  for (HWND w : DisplayWindows()) {
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS), WS_POPUP);
    EXPECT_EQ(GetWindowLongPtrW(w, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW),
              WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindow(w, GW_OWNER), nullptr);
    TUniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    (GetWindowRgn(w, region.get()) == ERROR ? framed : shaped) = w;
  }
  ASSERT_NE(shaped, nullptr);
  ASSERT_NE(framed, nullptr);
  RECT s{}, f{};
  GetWindowRect(shaped, &s);
  GetWindowRect(framed, &f);
  EXPECT_EQ(f.right - f.left, 300);
  EXPECT_EQ(f.bottom - f.top, 100);
  // A screen reader reads the framed clock's default text, its date and time, as one line.
  const auto dateAndTime = [] {
    wchar_t date[128] = {}, time[64] = {};
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, nullptr, nullptr, date, 128);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, 64);
    return std::wstring(date) + L", " + time;
  };
  wchar_t text[256] = {};
  // Again when the minute turned between reading the window and the clock.
  WaitFor([&] { return GetWindowTextW(framed, text, 256) && text == dateAndTime(); }, 2s);
  EXPECT_EQ(text, dateAndTime());

  const auto shots = DesktopWithoutAndWith(program->id, 2);
  ASSERT_TRUE(shots);
  const auto& [desktop, shot] = *shots;

  // Around the glyphs the desktop shows, never the colour key the painter left there.
  int drawn = 0, key = 0, fontColour = 0;
  for (int y = s.top; y < s.bottom; ++y)
    for (int x = s.left; x < s.right; ++x) {
      drawn += shot.At(x, y) != desktop.At(x, y);
      key += shot.At(x, y) == RGB(1, 1, 1);
      fontColour += shot.At(x, y) == RGB(0xFF, 0xCF, 0x3F);
    }
  EXPECT_EQ(key, 0);
  EXPECT_GT(drawn, 200);       // the time is drawn
  EXPECT_GT(fontColour, 100);  // in the clock's own colour
  for (const POINT p : {POINT{s.left + 2, s.top + 2}, POINT{s.right - 3, s.bottom - 3}})
    EXPECT_EQ(shot.At(p.x, p.y), desktop.At(p.x, p.y)) << p.x << "," << p.y;
  // The framed clock covers its whole rectangle.
  EXPECT_NE(shot.At(f.left + 3, f.top + 3), desktop.At(f.left + 3, f.top + 3));
  EXPECT_NE(shot.At(f.right - 4, f.bottom - 4), desktop.At(f.right - 4, f.bottom - 4));
}

// Commands from a later start: carried out and answered with 0, refused with 1 and nothing
// changed, and 2 once no program runs.
TEST_F(RunningProgram, ALaterStartCarriesOutCommandsAndExitSavesFirst) {
  const auto run = [](const std::wstring& arguments) {
    TProcess command(arguments);
    return command.WaitForExit(20s);
  };
  EXPECT_EQ(run(L"/nonsense"), 1);
  EXPECT_EQ(DisplayWindows().size(), 2u);
  EXPECT_EQ(run(L"/timer 2m Tea"), 0);
  ASSERT_TRUE(WaitFor([&] { return VisibleDisplays() == 3; }, 5s));
  // Centred on the primary monitor.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const auto windows = DisplayWindows();
  const bool centred = std::any_of(windows.begin(), windows.end(), [&](HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return std::abs(r.left + r.right - work.left - work.right) <= 1 &&
           std::abs(r.top + r.bottom - work.top - work.bottom) <= 1;
  });
  EXPECT_TRUE(centred);
  EXPECT_EQ(run(L"/remind 23:59 \"Call home\""), 0);
  EXPECT_EQ(run(L"/exit"), 0);
  EXPECT_EQ(program->WaitForExit(10s), 0);
  EXPECT_EQ(run(L"/exit"), 2);
  EXPECT_EQ(FindWindowW(kMainClass, kCaption), nullptr);  // and none was started for it

  // Saved before it ended.
  TVarnRegistry r;
  ASSERT_TRUE(r.OpenKey("Software\\Quorvel II\\Displays\\002", false));
  EXPECT_TRUE(r.ReadBoolOr("CommandTimer", false));
  EXPECT_EQ(r.ReadStringDef("Text", ""), "|&br;Tea");
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const TDateTime local = SystemTimeToDateTime(
      {now.wYear, now.wMonth, 0, now.wDay, now.wHour, now.wMinute, now.wSecond, 0});
  EXPECT_NEAR(r.ReadFloatOr("FinalTime", 0), local + 2.0 / 1440, 30.0 / 86400);
  ASSERT_TRUE(r.OpenKey("\\Software\\Quorvel II\\Events\\000", false));
  EXPECT_EQ(r.ReadStringDef("Message", ""), "Call home");
}

// The settings a run leaves in the registry of the Wine session.
class StoredSettings : public ::testing::Test {
 protected:
  static constexpr char kProduct[] = "Software\\Quorvel II\\";
  static constexpr char kOld[] = "Software\\Varn Software\\Quorvel\\";
  static constexpr char kRun[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

  void SetUp() override {
    InstallWin32Hives();
    reg.DeleteKey(kProduct);
    reg.DeleteKey("Software\\Varn Software");
    if (reg.OpenKey(kRun, false)) reg.DeleteValue("Quorvel");
    reg.CloseKey();
  }
  void TearDown() override { SetUp(); }

  // One start, the given menu commands and a normal exit, as a user would do it; where the
  // first display was.
  RECT RunOnce(std::initializer_list<WPARAM> commands = {}) {
    RECT where{};
    TProcess program(L"");
    EXPECT_TRUE(program.started);
    // Shown, not only made: a window is placed before it shows.
    EXPECT_TRUE(WaitFor([&] { return VisibleDisplays(program.id) > 0; }, 30s));
    for (HWND w : TopLevelWindows(program.id, L"TfrmDisplay"))
      if (IsWindowVisible(w)) GetWindowRect(w, &where);
    for (const WPARAM command : commands)
      PostMessageW(FindWindowW(kMainClass, kCaption), WM_COMMAND, command, 0);
    PostMessageW(FindWindowW(kMainClass, kCaption), WM_COMMAND, 2, 0);  // "Exit"
    EXPECT_EQ(program.WaitForExit(10s), 0);
    return where;
  }
  std::optional<TRegData> Raw(const std::string& key, const std::string& name) {
    auto k = HiveOf(TRootKey::CurrentUser)->OpenKey(key, false, RegAccess::Read);
    return k ? k->QueryValue(name) : std::nullopt;
  }
  std::string String(const std::string& key, const std::string& name) {
    TVarnRegistry r;
    return r.OpenKey(key, false) ? r.ReadStringDef(name, "<none>") : "<no key>";
  }
  std::int32_t Integer(const std::string& key, const std::string& name) {
    TVarnRegistry r;
    return r.OpenKey(key, false) ? r.ReadIntegerDef(name, -1) : -2;
  }
  TVarnRegistry reg;
};

TEST_F(StoredSettings, FirstRunStoresEveryOptionInItsType) {
  const RECT first = RunOnce();
  EXPECT_EQ(String(kProduct, "Language"), "english");
  const auto stop = Raw(kProduct, "ChimeStop");
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->type, static_cast<std::uint32_t>(REG_BINARY));
  ASSERT_EQ(stop->bytes.size(), 8u);
  double value = 0;
  std::memcpy(&value, stop->bytes.data(), 8);
  EXPECT_DOUBLE_EQ(value, 1439.0 / 1440.0);
  EXPECT_EQ(Raw(kProduct, "ChimeStart")->bytes.size(), 8u);
  for (const char* name : {"ChimeEnabled", "AutoHide", "ShowTrayIcon", "AOT5s"}) {
    ASSERT_TRUE(Raw(kProduct, name)) << name;
    EXPECT_EQ(Raw(kProduct, name)->type, static_cast<std::uint32_t>(REG_DWORD)) << name;
    EXPECT_EQ(Integer(kProduct, name), 1) << name;
  }
  for (const char* name :
       {"ChimeTowerClock", "ChimeQuarter", "ChimeHalf", "ChimeThreeQuarters", "ChimeTop",
        "AutoHideAllDisplays", "HK_ShowHideDisplays", "HK_ShowDisplays", "HK_HideDisplays"})
    EXPECT_EQ(Integer(kProduct, name), 0) << name;
  EXPECT_EQ(Integer(kProduct, "AutoHideInterval"), 200);
  EXPECT_EQ(Integer(kProduct, "AutoShowInterval"), 500);
  EXPECT_EQ(Integer(kProduct, "LastSnoozeTime"), 5);
  for (const char* name : {"ChimeQuarterSound", "ChimeHalfSound", "ChimeThreeQuartersSound",
                           "ChimeTopSound", "ToolTipText"})
    EXPECT_EQ(Raw(kProduct, name)->type, static_cast<std::uint32_t>(REG_SZ)) << name;
  EXPECT_EQ(String("Software\\Quorvel II\\CustomColors", "000"), "ColorA=FFFFFF");
  EXPECT_EQ(String("Software\\Quorvel II\\CustomColors", "015"), "ColorP=FFFFFF");
  EXPECT_EQ(String(kRun, "Quorvel"), "<none>");
  // The first start made the default clock and stored it.
  EXPECT_EQ(Integer("Software\\Quorvel II\\Displays", "Count"), 1);
  EXPECT_EQ(String("Software\\Quorvel II\\Displays\\000", ""), "2");
  EXPECT_EQ(String("Software\\Quorvel II\\Displays\\000", "Description"), "Default display");
  // The second run shows the same clock at the same place.
  const RECT second = RunOnce();
  EXPECT_EQ(second.left, first.left);
  EXPECT_EQ(second.top, first.top);
  EXPECT_GT(second.right - second.left, 100);
  EXPECT_EQ(Integer("Software\\Quorvel II\\Displays", "Count"), 1);
}

// A portable.ini beside the program for as long as it lives, and the copies the program keeps
// aside of a damaged one.
class TPortableFile {
 public:
  explicit TPortableFile(const std::string& text) {
    const TUniqueFile file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
  ~TPortableFile() {
    DeleteFileW(path.c_str());
    ForEachDamagedCopy([](const std::wstring& copy) { DeleteFileW(copy.c_str()); });
  }
  std::optional<std::string> Text() const { return TWin32SettingsFile(path).Load(); }
  // A stored value as the program reads it from the file.
  std::optional<TRegData> Stored(const std::string& key, const std::string& name) const {
    TMemoryHive hive;
    ReadSettingsText(Text().value_or(""), hive);
    const auto k = hive.OpenKey(key, false, RegAccess::Read);
    return k ? k->QueryValue(name) : std::nullopt;
  }
  std::vector<std::string> DamagedCopies() const {
    std::vector<std::string> texts;
    ForEachDamagedCopy([&](const std::wstring& copy) {
      texts.push_back(TWin32SettingsFile(copy).Load().value_or("<unreadable>"));
    });
    return texts;
  }

 private:
  void ForEachDamagedCopy(const std::function<void(const std::wstring&)>& visit) const {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((path + L".damaged-*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do visit(folder + found.cFileName);
    while (FindNextFileW(search, &found));
    FindClose(search);
  }
  const std::wstring exe = QUORVEL_EXE_W;
  const std::wstring folder = exe.substr(0, exe.find_last_of(L"\\/") + 1);
  const std::wstring path = folder + L"portable.ini";
};

const TRegData kChimeOff{REG_DWORD, {0, 0, 0, 0}};

TEST_F(StoredSettings, WithAPortableFileEverySettingLivesInItAndTheRegistryStaysUntouched) {
  const TPortableFile file("");
  // The first start makes the default clock; the menu switches the chime off.
  const RECT first = RunOnce({cmdToggleChime});
  EXPECT_FALSE(reg.KeyExists(kProduct));
  EXPECT_EQ(file.Stored(kProduct, "ChimeEnabled"), kChimeOff);
  EXPECT_EQ(file.Stored("Software\\Quorvel II\\Displays", "Count"),
            (TRegData{REG_DWORD, {1, 0, 0, 0}}));
  // The second start shows that clock where it was and keeps the chime off.
  const RECT second = RunOnce();
  EXPECT_EQ(second.left, first.left);
  EXPECT_EQ(second.top, first.top);
  EXPECT_EQ(file.Stored(kProduct, "ChimeEnabled"), kChimeOff);
  EXPECT_FALSE(reg.KeyExists(kProduct));
}

// The file as it was is kept aside and the user hears of it once; what could be read still
// serves, and the next save writes the file whole again.
TEST_F(StoredSettings, ADamagedPortableFileIsKeptAsideAndWhatCouldBeReadStillServes) {
  const std::string damaged =
      "[Software\\Quorvel II]\n\"ChimeEnabled\"=REG_DWORD:00000000\nnot a line of settings\n";
  const TPortableFile file(damaged);
  TProcess program(L"");
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        const auto boxes = TopLevelWindows(program.id, L"#32770");
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr;
      },
      30s));
  wchar_t text[512] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 512);  // a message box's text
  EXPECT_NE(std::wstring(text).find(L"portable.ini.damaged-<date>"), std::wstring::npos) << text;
  EXPECT_EQ(file.DamagedCopies(), std::vector<std::string>{damaged});
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitFor([&] { return VisibleDisplays(program.id) > 0; }, 30s));
  PostMessageW(FindWindowW(kMainClass, kCaption), WM_COMMAND, 2, 0);  // "Exit"
  EXPECT_EQ(program.WaitForExit(10s), 0);
  EXPECT_EQ(file.Stored(kProduct, "ChimeEnabled"), kChimeOff);
  EXPECT_EQ(file.Text().value_or("").find("not a line"), std::string::npos);
  // Whole again: the next start says nothing (it would wait on its message) and copies nothing.
  RunOnce();
  EXPECT_EQ(file.DamagedCopies().size(), 1u);
  EXPECT_FALSE(reg.KeyExists(kProduct));
}

TEST_F(StoredSettings, StartWithWindowsEntryFollowsTheOption) {
  // The option is on when the entry exists; saving writes the program's own path.
  ASSERT_TRUE(reg.OpenKey(kRun, true));
  reg.WriteString("Quorvel", "stale");
  reg.CloseKey();
  RunOnce();
  const std::string entry = String(kRun, "Quorvel");
  ASSERT_GT(entry.size(), 9u);
  EXPECT_EQ(entry.front(), '"');
  EXPECT_EQ(entry.substr(entry.size() - 7), "\" /boot");
  wchar_t own[MAX_PATH];
  GetFullPathNameW(QUORVEL_EXE_W, MAX_PATH, own, nullptr);
  EXPECT_EQ(lstrcmpiW(Utf8ToWide(entry.substr(1, entry.size() - 8)).c_str(), own), 0);
}

TEST_F(StoredSettings, DamagedValuesCostOnlyThemselvesAndExtremeOnesStillShow) {
  RunOnce();  // every option and the default clock stored
  // A second clock with an outline and a bevel far wider than any window.
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Displays\\001", true));
  WriteFramedClock(reg, 400, 300);
  reg.WriteInteger("Font_OutlineWidth", INT32_MAX);
  reg.WriteInteger("BevelWidth", INT32_MAX);
  reg.CloseKey();
  TRegistryHive& hive = *HiveOf(TRootKey::CurrentUser);
  const auto stored = RegistrySnapshot(hive, "Software\\Quorvel II");
  // Damaged as registry cleaners and hand edits damage them.
  const std::map<std::string, std::string> damage{
      {"Software\\Quorvel II", "AutoHide"},
      {"Software\\Quorvel II\\Displays", "Count"},
      {"Software\\Quorvel II\\Displays\\000", "Font_FontSize"}};
  for (const auto& [key, name] : damage) {
    ASSERT_TRUE(reg.OpenKey(key, false));
    reg.WriteString(name, "garbage");
    reg.CloseKey();
  }

  TProcess program(L"");
  ASSERT_TRUE(program.started);
  const auto visible = [&] { return VisibleDisplays(program.id); };
  ASSERT_TRUE(WaitFor([&] { return visible() == 2; }, 30s));
  const auto shots = DesktopWithoutAndWith(program.id, 2);
  ASSERT_TRUE(shots);
  const auto& [desktop, shot] = *shots;
  int covered = 0;
  for (int y = 300; y < 400; ++y)
    for (int x = 400; x < 700; ++x) covered += shot.At(x, y) != desktop.At(x, y);
  EXPECT_GT(covered, 300 * 100 * 9 / 10);  // the bevelled clock shows over its whole place
  PostMessageW(FindWindowW(kMainClass, kCaption), WM_COMMAND, 2, 0);
  EXPECT_EQ(program.WaitForExit(10s), 0);

  const auto after = RegistrySnapshot(hive, "Software\\Quorvel II");
  for (const auto& [path, value] : stored) {
    const std::size_t split = path.rfind('\\');
    const auto damaged = damage.find(path.substr(0, split));
    if (damaged != damage.end() && damaged->second == path.substr(split + 1)) continue;
    const auto it = after.find(path);
    EXPECT_TRUE(it != after.end() && it->second == value) << path;
  }
}

// A display whose monitor is not there stands fully on the primary monitor at its place there, and
// keeps its own place for that monitor's return.
TEST_F(StoredSettings, ADisplayWhoseMonitorIsGoneStandsOnThePrimaryAndKeepsItsPlace) {
  const std::string key = "Software\\Quorvel II\\Displays\\000";
  ASSERT_TRUE(reg.OpenKey(key, true));
  WriteFramedClock(reg, 10, 10);
  reg.WriteString("Monitor", "\\\\.\\DISPLAY9");
  reg.WriteInteger("MonitorLeft", 5000);
  reg.WriteInteger("MonitorTop", 0);
  reg.WriteInteger("MonitorRight", 6920);
  reg.WriteInteger("MonitorBottom", 1080);
  reg.WriteFloat("MonitorPlaceX", 0.25);
  reg.WriteFloat("MonitorPlaceY", 0.75);
  reg.CloseKey();
  TRegistryHive& hive = *HiveOf(TRootKey::CurrentUser);
  const auto stored = RegistrySnapshot(hive, key);

  const RECT at = RunOnce();
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(at.left, work.left + std::lround(0.25 * (work.right - work.left - 300)));
  EXPECT_EQ(at.top, work.top + std::lround(0.75 * (work.bottom - work.top - 100)));
  EXPECT_LE(at.right, work.right);
  EXPECT_LE(at.bottom, work.bottom);
  const auto after = RegistrySnapshot(hive, key);
  for (const auto& [path, value] : stored) {
    if (path.find("\\Monitor") == std::string::npos) continue;
    EXPECT_TRUE(after.count(path) && after.at(path) == value) << path;
  }
  EXPECT_EQ(Integer(key, "Left"), at.left);
}

// One display of each kind, a running stopwatch among them: all show, the
// analog clock cut to its marks and hands, and the stopwatch counts on.
TEST_F(StoredSettings, EveryKindShowsAndARunningStopwatchCountsOn) {
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Displays", true));
  reg.WriteInteger("Count", 3);
  const auto display = [&](const char* index, int kind, int left) {
    reg.OpenKey(std::string("\\Software\\Quorvel II\\Displays\\") + index, true);
    reg.WriteInteger("", kind);
    reg.WriteInteger("Left", left);
    reg.WriteInteger("Top", 100);
  };
  display("000", 257, 100);  // the low 8 bits: an analog clock
  display("001", 3, 400);
  reg.WriteString("DTA", " days ");
  display("002", 4, 700);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const TSystemTime local{now.wYear, now.wMonth,  now.wDayOfWeek, now.wDay,
                          now.wHour, now.wMinute, now.wSecond,    now.wMilliseconds};
  reg.WriteFloat("Saved", SystemTimeToDateTime(local) - 100.0 / 86400);
  reg.WriteInteger("SecondsElapsed", 100);
  reg.WriteBool("Running", true);
  reg.CloseKey();

  TProcess program(L"");
  ASSERT_TRUE(program.started);
  ASSERT_TRUE(WaitFor([&] { return VisibleDisplays(program.id) == 3; }, 30s));
  // On a busy machine a display may hide or paint a moment late: shoot again until its face shows.
  std::optional<std::pair<TScreenShot, TScreenShot>> shots;
  for (int attempt = 0; attempt < 3; ++attempt) {
    shots = DesktopWithoutAndWith(program.id, 3);
    if (!shots || shots->second.At(200, 108) != shots->first.At(200, 108)) break;
  }
  ASSERT_TRUE(shots);
  const auto& [desktop, shot] = *shots;
  const auto drawn = [&](int x, int y) { return shot.At(x, y) != desktop.At(x, y); };
  HWND analog = nullptr;
  for (HWND w : TopLevelWindows(program.id, L"TfrmDisplay")) {
    RECT r{};
    GetWindowRect(w, &r);
    if (r.left == 100) analog = w;
  }
  ASSERT_NE(analog, nullptr);
  RECT face{};
  GetWindowRect(analog, &face);
  EXPECT_EQ(face.right - face.left, 200);
  EXPECT_EQ(face.bottom - face.top, 200);
  // The twelve o'clock mark and the dial text are drawn; the corners and the
  // space between marks and centre show the desktop.
  EXPECT_TRUE(drawn(200, 108));
  EXPECT_TRUE(drawn(200, 248));
  for (const POINT p : {POINT{102, 102}, POINT{297, 297}, POINT{130, 130}, POINT{270, 130}})
    EXPECT_FALSE(drawn(p.x, p.y)) << p.x << "," << p.y;
  PostMessageW(FindWindowW(kMainClass, kCaption), WM_COMMAND, 2, 0);
  EXPECT_EQ(program.WaitForExit(10s), 0);

  const std::string watch = "Software\\Quorvel II\\Displays\\002";
  EXPECT_GE(Integer(watch, "SecondsElapsed"), 100 + 100);
  EXPECT_EQ(Integer(watch, "Running"), 1);
  EXPECT_EQ(String("Software\\Quorvel II\\Displays\\000", ""), "1");
  EXPECT_EQ(Integer("Software\\Quorvel II\\Displays\\000", "TickMarks"), 5);
  EXPECT_EQ(String("Software\\Quorvel II\\Displays\\001", "DTA"), " days ");
}

TEST_F(StoredSettings, AnEventDueAtStartUpShowsItsWindowAndOKMarksItDone) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  // Due a minute ago, and nothing but its window to tell: it shows at once.
  TSystemTime due{now.wYear, now.wMonth, now.wDayOfWeek, now.wDay, now.wHour, now.wMinute, 0, 0};
  const TDateTime trigger = SystemTimeToDateTime(due) - 1.0 / 1440;
  due = DateTimeToSystemTime(trigger);
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Events", true));
  reg.WriteInteger("Count", 1);
  reg.OpenKey("000", true);
  reg.WriteString("Message", "Train to Bonn at 10:12");
  reg.WriteFloat("Trigger", trigger);
  reg.WriteBool("ActionFlashDisplay", false);
  reg.CloseKey();

  TProcess program(L"");
  ASSERT_TRUE(program.started);
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (HWND w : TopLevelWindows(program.id, L"#32770"))
          if (IsWindowVisible(w)) window = w;
        return window != nullptr;
      },
      30s));
  const auto text = [&](int id) {
    wchar_t buffer[256] = {};
    GetDlgItemTextW(window, id, buffer, 256);
    return WideToUtf8(buffer);
  };
  TWin32Locale locale;
  EXPECT_EQ(text(4911),
            locale.FormatDate(due, false) + ", " + locale.FormatTime(due, TIME_NOSECONDS) + " ");
  EXPECT_EQ(text(4912), "Train to Bonn at 10:12");
  PostMessageW(GetDlgItem(window, 4904), BM_CLICK, 0, 0);  // OK
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(window); }, 10s));
  PostMessageW(FindWindowW(kMainClass, kCaption), WM_COMMAND, 2, 0);
  EXPECT_EQ(program.WaitForExit(10s), 0);
  EXPECT_EQ(Integer("Software\\Quorvel II\\Events\\000", "State"), 2);
  EXPECT_EQ(String("Software\\Quorvel II\\Events\\000", "Message"), "Train to Bonn at 10:12");
}

// The screen's logical pixels per inch for programs started while it lives; the value before
// comes back however the test ends, as every test of this Wine session shares it.
class TScreenDpi {
 public:
  explicit TScreenDpi(DWORD dpi) {
    DWORD size = sizeof(FBefore);
    RegGetValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &FBefore, &size);
    Set(dpi);
  }
  ~TScreenDpi() { Set(FBefore); }
  TScreenDpi(const TScreenDpi&) = delete;
  TScreenDpi& operator=(const TScreenDpi&) = delete;

 private:
  static void Set(DWORD dpi) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
  }
  static constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
  DWORD FBefore = 96;
};

// How wide the pixels of exactly this colour spread in a rectangle of the screen.
int WidthOf(COLORREF colour, const RECT& r) {
  const TScreenShot shot;
  int left = r.right, right = r.left;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (shot.At(x, y) == colour) {
        left = std::min(left, x);
        right = std::max(right, x + 1);
      }
  return std::max(right - left, 0);
}

// How wide the tray menu's "Quorvel" header caption and the event editor's play glyph are in a
// run of the program at this DPI; 0 for what did not show.
std::pair<int, int> HeaderAndGlyphWidths(DWORD dpi) {
  const TScreenDpi screen(dpi);
  TProcess program(L"");
  if (!WaitFor([&] { return VisibleDisplays(program.id) > 0; }, 30s)) return {};
  // A window of the program once it shows, drawn.
  const auto shown = [](const wchar_t* className, const wchar_t* caption) {
    HWND w = nullptr;
    WaitFor([&] { return (w = FindWindowW(className, caption)) && IsWindowVisible(w); }, 5s);
    PumpFor(500ms);
    return w;
  };
  const HWND main = FindWindowW(kMainClass, kCaption);
  SetCursorPos(200, 200);
  PostMessageW(main, WM_TRAY_NOTIFY, TQuorvelDisplay::TrayIconId, WM_RBUTTONUP);
  const HWND menu = shown(L"#32768", nullptr);
  RECT r{};
  GetWindowRect(menu, &r);
  const int header = WidthOf(clMenuHeaderText, r);
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  PumpFor(500ms);
  PostMessageW(main, WM_COMMAND, cmdNewEvent, 0);
  const HWND editor = shown(L"#32770", L"Event");
  GetWindowRect(GetDlgItem(editor, TfrmEvent::SoundPlayId), &r);
  const int glyph = WidthOf(RGB(0x20, 0x90, 0x20), r);  // the play glyph's green
  PostMessageW(editor, WM_COMMAND, IDCANCEL, 0);
  PostMessageW(main, WM_COMMAND, cmdExit, 0);
  EXPECT_EQ(program.WaitForExit(10s), 0);
  return {header, glyph};
}

// The header's caption and the tool glyphs grow with the screen's DPI as the menu's items do.
TEST_F(StoredSettings, MenuHeadersAndToolGlyphsGrowWithTheScreensDpi) {
  const auto [header96, glyph96] = HeaderAndGlyphWidths(96);
  const auto [header144, glyph144] = HeaderAndGlyphWidths(144);
  EXPECT_GT(header96, 30);
  EXPECT_GT(glyph96, 8);
  EXPECT_GE(header144 * 4, header96 * 5);  // by a quarter at least (a half is asked for)
  EXPECT_GE(glyph144 * 4, glyph96 * 5);
}

}  // namespace
