#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "config/fPresetManager.h"
#include "config/uOptions.h"
#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uDisplayCountdown.h"
#include "kinds/uDisplayDigital.h"
#include "kinds/uDisplayStopwatch.h"
#include "prefs/fAnalogClockPreferences.h"
#include "prefs/fCountdownPreferences.h"
#include "prefs/fDisplayPreferences.h"
#include "support/uDialogControls.h"
#include "timezones/fSelectTimeZone.h"
#include "timezones/uTimeZones.h"
#include "win/uMainWindowTest.h"
#include "win/uModalSteps.h"
#include "win/uPumpMessages.h"

namespace {

using D = TacDisplayPreferencesDigital;

class DisplayPreferencesTest : public MainWindowTest {
 protected:
  TDisplayDigital& Clock() { return static_cast<TDisplayDigital&>(List()[1]); }
  TacDisplayPreferences& Open(TDisplay& display) {
    EXPECT_TRUE(display.Configure(nullptr));
    TacDisplayPreferences* window = DisplayPreferencesOf(display);
    if (!window) throw std::runtime_error("no display preferences window");
    return *window;
  }
  void Slide(TacDisplayPreferences& window, int id, int position) {
    const HWND track = window.Control(id);
    SendMessageW(track, TBM_SETPOS, TRUE, position);
    SendMessageW(GetParent(track), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
                 reinterpret_cast<LPARAM>(track));
  }
  void Click(TacDisplayPreferences& window, int id) {
    SendMessageW(window.Control(id), BM_CLICK, 0, 0);
  }
  std::string Text(TacDisplayPreferences& window, int id) {
    return ControlText(GetParent(window.Control(id)), id);
  }
  // Picks red, green, blue in the colour dialog that the button opens.
  void PickColor(TacDisplayPreferences& window, int button, int red, int green, int blue) {
    AnswerModalWindows({[=] {
      const HWND dialog = FindDialogWith(706);  // the red value of the colour dialog
      if (!dialog) return false;
      SetDlgItemInt(dialog, 706, static_cast<UINT>(red), FALSE);
      SetDlgItemInt(dialog, 707, static_cast<UINT>(green), FALSE);
      SetDlgItemInt(dialog, 708, static_cast<UINT>(blue), FALSE);
      ::Click(dialog, IDOK);
      return true;
    }});
    Click(window, button);
  }
};

TEST_F(DisplayPreferencesTest, EveryChangeReachesTheLiveDisplayAndTheNameOnClosing) {
  SetCursorPos(640, 480);
  TacDisplayPreferences& window = Open(Clock());
  EXPECT_FALSE(Main().IsIdle());
  RECT r{};
  GetWindowRect(window.Handle(), &r);
  EXPECT_LE(std::abs((r.left + r.right) / 2 - 640), 1);  // centred on the cursor
  EXPECT_LE(std::abs((r.top + r.bottom) / 2 - 480), 1);

  Slide(window, D::TranslucencyId, 50);
  EXPECT_EQ(Clock().AlphaBlendValue(), 128);
  EXPECT_EQ(Text(window, D::TranslucencyLabelId), "50 %");
  const bool onTop = Clock().AlwaysOnTop();
  Click(window, D::AlwaysOnTopId);
  EXPECT_NE(Clock().AlwaysOnTop(), onTop);
  Click(window, D::TranslucentId);
  EXPECT_TRUE(Clock().Transparent());

  // Each change repaints at once; which control moves which value is the form's, tested apart.
  Clock().SetDirty();
  Slide(window, D::ShadowId, 4);
  EXPECT_EQ(Clock().Shadow, 4);
  EXPECT_FALSE(Clock().Dirty());
  Clock().SetDirty();
  SendMessageW(window.Control(D::AlignmentId), CB_SETCURSEL, 2, 0);
  SendMessageW(GetParent(window.Control(D::AlignmentId)), WM_COMMAND,
               MAKEWPARAM(D::AlignmentId, CBN_SELCHANGE), 0);
  EXPECT_EQ(Clock().Alignment, 2);
  EXPECT_FALSE(Clock().Dirty());

  // A colour picked in the colour dialog.
  Clock().SetDirty();
  PickColor(window, D::ShadowColorId, 10, 20, 30);
  EXPECT_EQ(Clock().ShadowColor, RGBColor(10, 20, 30));
  EXPECT_FALSE(Clock().Dirty());

  // Typing waits for a pause before it repaints.
  const HWND text = window.Control(D::TextId);
  SendMessageW(text, EM_SETSEL, 0, -1);
  Clock().SetDirty();
  SendMessageW(text, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"&time;"));
  EXPECT_EQ(Clock().Text(), "&time;");
  EXPECT_TRUE(Clock().Dirty());
  for (int i = 0; i < 200 && Clock().Dirty(); ++i) {
    Sleep(10);
    PumpMessages();
  }
  EXPECT_FALSE(Clock().Dirty());

  // Ctrl+Tab steps to the next tab, the font's.
  SetForegroundWindow(window.Handle());
  SetFocus(window.TabControl());
  Press({VK_CONTROL, VK_TAB});
  EXPECT_TRUE(IsWindowVisible(window.Control(D::FontNameId)));

  // The name is taken over only when the window closes.
  SetWindowTextW(window.Control(D::DescriptionId), L"Desk");
  EXPECT_NE(Clock().Description, "Desk");
  SendMessageW(window.Handle(), WM_COMMAND, D::CloseId, 0);
  EXPECT_EQ(DisplayPreferencesOf(Clock()), nullptr);
  EXPECT_EQ(Clock().Description, "Desk");
  EXPECT_TRUE(Main().IsIdle());
}

TEST_F(DisplayPreferencesTest, ADigitalClockKeptAsStoredAfterAFailedLoadOpensNoWindow) {
  Main().SaveAll();
  const auto makeWindow = DisplayWindows().make;
  DisplayWindows().make = [](TDisplay&) -> std::unique_ptr<TDisplayWindow> {
    throw std::runtime_error("no window");
  };
  Main().LoadAll();
  DisplayWindows().make = makeWindow;
  ASSERT_EQ(List()[0].Kind(), dkDigitalClock);
  EXPECT_FALSE(List()[0].Configure(nullptr));
  EXPECT_EQ(DisplayPreferencesOf(List()[0]), nullptr);
  EXPECT_FALSE(List()[0].IsActive());
}

TEST_F(DisplayPreferencesTest, TheBackgroundNoteShowsOnceAndTheControlsFollowTheBackground) {
  TacDisplayPreferences& window = Open(Clock());
  Clock().HasBackground = false;
  int notes = 0;
  const auto answerNote = [&] {
    const HWND box = FindDialogWith(IDOK);
    if (!box) return false;
    ++notes;
    ::Click(box, IDOK);
    return true;
  };
  AnswerModalWindows({answerNote});
  Click(window, D::HasBackgroundId);
  EXPECT_TRUE(Clock().HasBackground);
  EXPECT_TRUE(quorvel->Options().BackgroundNoteShown);
  const auto enabled = [&](int id) { return IsWindowEnabled(window.Control(id)) != 0; };
  EXPECT_FALSE(enabled(D::ShadowId));
  EXPECT_FALSE(enabled(D::ShadowColorId));
  EXPECT_TRUE(enabled(D::BevelWidthId));
  EXPECT_TRUE(enabled(D::BackgroundColorId));
  Click(window, D::HasBackgroundId);
  EXPECT_TRUE(enabled(D::ShadowId));
  EXPECT_FALSE(enabled(D::BevelColorId));
  AnswerModalWindows({answerNote});
  Click(window, D::HasBackgroundId);
  EXPECT_EQ(notes, 1);
  ModalSteps().clear();

  // Tab runs from the tabs through the shown tab's pages in order, then to Close.
  using V = std::vector<int>;
  const V order = TabOrder(window.Handle());
  EXPECT_EQ(V(order.begin(), order.begin() + 6),
            (V{D::TabsId, D::DescriptionId, D::TranslucentId, D::TranslucencyId, D::AlwaysOnTopId,
               D::SavePresetId}));
  EXPECT_EQ(order.back(), D::CloseId);
  SendMessageW(window.Handle(), WM_COMMAND, IDCANCEL, 0);  // Esc
  EXPECT_EQ(DisplayPreferencesOf(Clock()), nullptr);
}

TEST_F(DisplayPreferencesTest, APresetSavedForOneKindIsOfferedToThatKindOnly) {
  TacDisplayPreferences& clockWindow = Open(Clock());
  Slide(clockWindow, D::TranslucencyId, 30);
  AnswerModalWindows({[] {
    const HWND presets = FindDialogWith(TfrmPresetManager::NewNameId);
    if (!presets) return false;
    SetDlgItemTextW(presets, TfrmPresetManager::NewNameId, L"Glass");
    ::Click(presets, TfrmPresetManager::OKId);
    return true;
  }});
  Click(clockWindow, D::SavePresetId);
  EXPECT_TRUE(IsWindowEnabled(clockWindow.Control(D::LoadPresetId)));
  SendMessageW(clockWindow.Handle(), WM_COMMAND, D::CloseId, 0);

  TDisplay* stopwatch = List().Add(dkStopwatch);
  TacDisplayPreferences& stopwatchWindow = Open(*stopwatch);
  EXPECT_FALSE(IsWindowEnabled(stopwatchWindow.Control(D::LoadPresetId)));
  SendMessageW(stopwatchWindow.Control(D::TextId), EM_REPLACESEL, TRUE,
               reinterpret_cast<LPARAM>(L"Lap |"));  // typed
  EXPECT_EQ(static_cast<TDisplayStopwatch&>(*stopwatch).StopwatchText, "Lap |");
  SendMessageW(stopwatchWindow.Handle(), WM_COMMAND, D::CloseId, 0);

  // Another digital clock loads the look.
  TDisplay* other = List().Add(dkDigitalClock);
  TacDisplayPreferences& otherWindow = Open(*other);
  AnswerModalWindows({[] {
    const HWND presets = FindDialogWith(TfrmPresetManager::NewNameId);
    if (!presets) return false;
    SendDlgItemMessageW(presets, TfrmPresetManager::PresetsId, LB_SETCURSEL, 0, 0);
    ::Click(presets, TfrmPresetManager::OKId);
    return true;
  }});
  Click(otherWindow, D::LoadPresetId);
  EXPECT_EQ(other->AlphaBlendValue(), Clock().AlphaBlendValue());
  EXPECT_EQ(SendMessageW(otherWindow.Control(D::TranslucencyId), TBM_GETPOS, 0, 0), 30);
  SendMessageW(otherWindow.Handle(), WM_COMMAND, D::CloseId, 0);
}

TEST_F(DisplayPreferencesTest, ACountdownsButtonsPickersListsAndTextsEachChangeTheirPart) {
  using C = TfrmDisplayPreferencesCountdown;
  auto& countdown = static_cast<TDisplayCountdown&>(*List().Add(dkCountdown));
  countdown.SetFinalTime(SystemTimeToDateTime({2024, 3, 0, 1, 18, 30, 0, 0}));
  auto& window = static_cast<C&>(Open(countdown));
  const auto final = [&] {
    const TSystemTime t = DateTimeToSystemTime(countdown.FinalTime());
    return std::vector<int>{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute};
  };
  Click(window, C::AddWeekId);
  EXPECT_EQ(final(), (std::vector<int>{2024, 3, 8, 18, 30}));
  SYSTEMTIME shown{};
  SendMessageW(window.Control(C::FinalDateId), DTM_GETSYSTEMTIME, 0,
               reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(shown.wDay, 8);
  // The time picker changes the time of day only.
  SYSTEMTIME time{2030, 1, 0, 1, 7, 15, 0, 0};
  SendMessageW(window.Control(C::FinalTimeId), DTM_SETSYSTEMTIME, GDT_VALID,
               reinterpret_cast<LPARAM>(&time));
  NMDATETIMECHANGE change{};
  change.nmhdr = {window.Control(C::FinalTimeId), C::FinalTimeId, DTN_DATETIMECHANGE};
  change.st = time;
  SendMessageW(GetParent(window.Control(C::FinalTimeId)), WM_NOTIFY, C::FinalTimeId,
               reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(final(), (std::vector<int>{2024, 3, 8, 7, 15}));

  // Seconds cannot wait for a value above zero; hours hidden under shown days hide
  // the smaller units too, and their lists say so at once.
  EXPECT_EQ(SendMessageW(window.Control(C::VisibilityId + 3), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(window.Control(C::VisibilityId), CB_GETCOUNT, 0, 0), 3);
  const auto choose = [&](int unit, int item) {
    SendMessageW(window.Control(C::VisibilityId + unit), CB_SETCURSEL, item, 0);
    SendMessageW(GetParent(window.Control(C::VisibilityId)), WM_COMMAND,
                 MAKEWPARAM(C::VisibilityId + unit, CBN_SELCHANGE), 0);
  };
  choose(0, uvAlways);
  choose(1, uvNever);
  EXPECT_EQ(countdown.Visibility, (TVisibility{uvAlways, uvNever, uvNever, uvNever}));
  for (int unit = 0; unit < 4; ++unit)
    EXPECT_EQ(SendMessageW(window.Control(C::VisibilityId + unit), CB_GETCURSEL, 0, 0),
              countdown.Visibility[static_cast<std::size_t>(unit)]);

  const auto type = [&](int id, const wchar_t* text) {
    SendMessageW(window.Control(id), EM_SETSEL, 0, -1);
    SendMessageW(window.Control(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  };
  type(C::AfterId + 1, L" h");
  EXPECT_EQ(countdown.HoursAfter, " h");
  type(C::ZeroTextId, L"Go!");
  EXPECT_EQ(countdown.ZeroText, "Go!");
  type(D::TextId, L"In |");
  EXPECT_EQ(countdown.CountdownText, "In |");
  SendMessageW(window.Control(D::AlignmentId), CB_SETCURSEL, 1, 0);
  SendMessageW(GetParent(window.Control(D::AlignmentId)), WM_COMMAND,
               MAKEWPARAM(D::AlignmentId, CBN_SELCHANGE), 0);
  EXPECT_EQ(countdown.Alignment, 1);
  // A tab chosen shows its page.
  SendMessageW(window.Control(C::TabsId), TCM_SETCURSEL, 4, 0);
  NMHDR tab{window.Control(C::TabsId), C::TabsId, TCN_SELCHANGE};
  SendMessageW(GetParent(window.Control(C::TabsId)), WM_NOTIFY, C::TabsId,
               reinterpret_cast<LPARAM>(&tab));
  EXPECT_TRUE(IsWindowVisible(window.Control(C::ZeroTextId)));
  EXPECT_FALSE(IsWindowVisible(window.Control(C::FinalDateId)));
  SendMessageW(window.Handle(), WM_COMMAND, D::CloseId, 0);
}

TEST_F(DisplayPreferencesTest, AnAnalogClocksDialHandsZoneAndTextFollowTheirControls) {
  using A = TfrmDisplayPreferencesAnalogClock;
  WriteTimeZone("Alpha", -60, 1);
  WriteTimeZone("Beta", 300, 2);
  WriteTimeZone("Pacific Standard Time", 480, 3);  // Seattle's
  WriteTimeZone("Omega, whose name is wider than the list of zones it stands in", 120, 4);
  quorvel->TimeZones().Load();
  auto& analog = static_cast<TDisplayAnalogClock&>(*List().Add(dkAnalogClock));
  auto& window = static_cast<A&>(Open(analog));
  EXPECT_EQ(Text(window, A::SizeId + 1), "40 %");  // labels filled with the controls
  const auto choose = [&](int id, int item) {
    SendMessageW(window.Control(id), CB_SETCURSEL, item, 0);
    SendMessageW(GetParent(window.Control(id)), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), 0);
  };
  const auto visible = [&](int id) { return IsWindowVisible(window.Control(id)) != 0; };
  // No marks hide both groups and the box; a circle shows the normal marks only.
  window.ShowTab(1);
  choose(A::DialStyleId, tmNone);
  EXPECT_EQ(analog.TickMarks, tmNone);
  EXPECT_FALSE(visible(A::QuarterMarksOnlyId) || visible(A::NormalMarksId) ||
               visible(A::QuarterMarksId));
  choose(A::DialStyleId, tmCircle);
  EXPECT_TRUE(visible(A::NormalMarksId));
  EXPECT_FALSE(visible(A::QuarterMarksId) || visible(A::QuarterMarksOnlyId));
  choose(A::DialStyleId, tmStars);
  EXPECT_TRUE(visible(A::QuarterMarksId) && visible(A::QuarterMarksOnlyId));
  // The list names each style at its place.
  EXPECT_EQ(SendMessageW(window.Control(A::DialStyleId), CB_GETCOUNT, 0, 0), tmStars + 1);
  EXPECT_EQ(Text(window, A::DialStyleId), "Stars");
  choose(A::DialStyleId, tmClassicII);
  EXPECT_EQ(Text(window, A::DialStyleId), "Classic II");

  // A slider by hand, with its label; which slider moves which value is the form's.
  Slide(window, A::SizeId, 70);
  EXPECT_EQ(analog.DisplaySize, 70);
  EXPECT_EQ(Text(window, A::SizeId + 1), "70 %");

  Click(window, A::ShowSecondsHandId);
  EXPECT_FALSE(analog.SecondsHand());
  EXPECT_TRUE(analog.ShowHourHand);
  Click(window, A::TextOverHandsId);
  EXPECT_TRUE(analog.TextOverHands);

  // The zone from the list; typing narrows the list, local time first and a row found by its
  // city named with it, and the clock keeps its zone until a row is chosen.
  choose(A::ZoneId, 2);
  ASSERT_NE(analog.TimeZone(), nullptr);
  EXPECT_EQ(analog.TimeZone()->KeyName, quorvel->TimeZones()[1].KeyName);
  // The drop-down is as wide as its longest name.
  RECT zoneList{};
  GetWindowRect(window.Control(A::ZoneId), &zoneList);
  EXPECT_GT(SendMessageW(window.Control(A::ZoneId), CB_GETDROPPEDWIDTH, 0, 0),
            zoneList.right - zoneList.left);
  const auto type = [&](const wchar_t* text) {
    SetWindowTextW(window.Control(A::ZoneSearchId), L"");
    for (const wchar_t* c = text; *c; ++c)
      SendMessageW(window.Control(A::ZoneSearchId), WM_CHAR, *c, 1);
  };
  type(L"bet");
  EXPECT_EQ(Text(window, A::ZoneId), "(UTC) Beta");
  type(L"SEATTLE");
  EXPECT_EQ(SendMessageW(window.Control(A::ZoneId), CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(Text(window, A::ZoneId), "");
  EXPECT_EQ(analog.TimeZone(), &quorvel->TimeZones()[1]);
  choose(A::ZoneId, 1);
  const TTimeZone* pacific = quorvel->TimeZones().FindZone("Pacific Standard Time");
  ASSERT_NE(pacific, nullptr);
  EXPECT_EQ(analog.TimeZone(), pacific);
  EXPECT_EQ(Text(window, A::ZoneId), pacific->DisplayName + " - Seattle");
  // The picker's zone is shown in the list, clear of a search that hid it.
  AnswerModalWindows({[] {
    const HWND picker = FindDialogWith(TfrmSelectTimeZone::ListId);
    if (!picker) return false;
    SelectListRow(picker, TfrmSelectTimeZone::ListId, 0);
    ::Click(picker, TfrmSelectTimeZone::OKId);
    return true;
  }});
  Click(window, A::PickZoneId);
  EXPECT_EQ(analog.TimeZone(), &quorvel->TimeZones()[0]);
  EXPECT_EQ(SendMessageW(window.Control(A::ZoneId), CB_GETCURSEL, 0, 0), 1);
  choose(A::ZoneId, 0);
  EXPECT_EQ(analog.TimeZone(), nullptr);

  // A colour button picks its colour in the colour dialog.
  PickColor(window, A::TextBackgroundColorId, 101, 0, 0);
  EXPECT_EQ(analog.TextBackgroundColor, RGBColor(101, 0, 0));

  // The text: typed, aligned left.
  SendMessageW(window.Control(A::TextId), EM_SETSEL, 0, -1);
  SendMessageW(window.Control(A::TextId), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"&time;"));
  EXPECT_EQ(analog.Text(), "&time;");
  choose(A::TextAlignmentId, 0);
  EXPECT_EQ(analog.TextAlignment, 0);
  SendMessageW(window.Handle(), WM_COMMAND, D::CloseId, 0);
}

}  // namespace
