#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <tuple>

#include "config/uOptions.h"
#include "config/uVarnRegistry.h"
#include "display/uDisplayList.h"
#include "events/uEvents.h"
#include "kinds/uDisplayKinds.h"
#include "prefs/uDisplayPreferences.h"
#include "prefs/uPreferences.h"
#include "resources/uResourceIds.h"
#include "support/uTestPlatform.h"
#include "support/uTools.h"

namespace {

constexpr TDateTime kSecond = 1.0 / 86'400.0;
constexpr TDateTime kMillisecond = kSecond / 1000.0;

TEST(Preferences, DelaySlidersShowWholeStepsAndClampStoredNumbers) {
  constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max(), kLeast = -kMost - 1;
  const std::pair<std::int32_t, int> cases[] = {{700, 7},  {250, 2},    {0, 0},
                                                {99, 0},   {2000, 20},  {2100, 20},
                                                {-300, 0}, {kMost, 20}, {kLeast, 0}};
  for (const auto& [stored, position] : cases)
    EXPECT_EQ(IntervalPosition(stored), position) << stored;
  EXPECT_EQ(IntervalLabel(7), "700 ms");
}

TEST(Preferences, TheChimeStopFollowsAStartPastItAndSecondsStayWhole) {
  const TDateTime eight = 8.0 / 24, nine = 9.0 / 24;
  const struct {
    TDateTime start, stop, expectedStart, expectedStop;
  } cases[] = {
      {nine, eight, nine, nine},                // start moved past the stop
      {nine, nine - kMillisecond, nine, nine},  // a millisecond counts
      {eight + 5 * kSecond + 999 * kMillisecond, eight + 30 * kSecond + kMillisecond,
       eight + 5 * kSecond, eight + 30 * kSecond},  // in order: kept, less the milliseconds
  };
  for (const auto& c : cases) {
    const TChimeHours hours = OrderChimeHours(c.start, c.stop);
    EXPECT_NEAR(hours.start, c.expectedStart, kMillisecond / 10) << c.start << " " << c.stop;
    EXPECT_NEAR(hours.stop, c.expectedStop, kMillisecond / 10) << c.start << " " << c.stop;
  }
}

TEST(Preferences, TheTowerClockUsesOnlyTheQuarterAndTopSoundRows) {
  TOptions options;
  for (std::size_t row = 0; row < 4; ++row) {
    options.ChimeTowerClock = false;
    EXPECT_TRUE(SoundRowUsable(row, options)) << row;
    options.ChimeTowerClock = true;
    EXPECT_EQ(SoundRowUsable(row, options), row == 0 || row == 3) << row;
  }
}

TEST(Preferences, AChimeSwitchedOnWithoutASoundGetsTheShippedStroke) {
  TTestPlatform platform;
  const auto folder = std::filesystem::temp_directory_path() / "quorvel-shipped";
  std::filesystem::create_directories(folder / "Sounds");
  for (const char* name : {QuarterStroke, HourStroke}) std::ofstream(folder / "Sounds" / name);
  Platform().programFile = (folder / "quorvel.exe").string();
  const auto shipped = [&folder](const char* name) { return (folder / "Sounds" / name).string(); };
  TOptions o;
  o.ChimeHalfSound = "own.wav";
  SwitchSoundRow(o, 0, true);
  SwitchSoundRow(o, 1, true);
  SwitchSoundRow(o, 2, false);
  SwitchSoundRow(o, 3, true);
  EXPECT_EQ(std::tie(o.ChimeQuarter, o.ChimeHalf, o.ChimeThreeQuarters, o.ChimeTop),
            std::make_tuple(true, true, false, true));
  EXPECT_EQ(o.ChimeQuarterSound, shipped(QuarterStroke));
  EXPECT_EQ(o.ChimeHalfSound, "own.wav");
  EXPECT_EQ(o.ChimeThreeQuartersSound, "");
  EXPECT_EQ(o.ChimeTopSound, shipped(HourStroke));
  EXPECT_EQ(SoundOrShipped("", EventAlert), "");  // not shipped here: nothing to fill in
  std::filesystem::remove_all(folder);
}

TEST(Preferences, AddingStopsAtTwentyDisplaysAndEightEvents) {
  const auto flags = [](const TPreferenceActions& a) {
    return std::vector<bool>{a.addDisplay, a.addEvent, a.displaySelected, a.eventSelected};
  };
  EXPECT_EQ(flags(PreferenceActions(19, false, 7, true)), (std::vector<bool>{1, 1, 0, 1}));
  EXPECT_EQ(flags(PreferenceActions(20, true, 8, false)), (std::vector<bool>{0, 0, 1, 0}));
}

TEST(Preferences, RowsShowTheListsAndEventsComeEarliestFirst) {
  TTestPlatform platform;
  TDisplayList displays{CreateDisplay};
  TDisplay* analog = displays.Add(1);
  TDisplay* digital = displays.Add(2);
  analog->Description = "Kitchen";
  displays.Primary = digital;
  EXPECT_EQ(DisplayRowTexts(*analog, displays),
            (std::vector<std::string>{"Analog clock", "Kitchen", ""}));
  EXPECT_EQ(DisplayRowTexts(*digital, displays)[2], "yes");
  // A stored display of a kind this version does not know is kept, and named by its number.
  TVarnRegistry reg;
  reg.OpenKey("Software\\Quorvel II\\Displays\\000", true);
  reg.WriteString("", "7");
  displays.Load();
  EXPECT_EQ(DisplayRowTexts(displays[0], displays)[0], "Unknown display (kind 7)");

  TEvent early(LocalDateTimeNow()), late(LocalDateTimeNow()), sameAsEarly(LocalDateTimeNow());
  const TDateTime noon = SystemTimeToDateTime({2026, 12, 0, 24, 12, 30, 0, 0});
  early.SetTrigger(noon);
  sameAsEarly.SetTrigger(noon + 30 * kSecond);  // triggers keep whole minutes
  late.SetTrigger(noon + 60 * kSecond);
  EXPECT_EQ((std::vector<bool>{EventRowBefore(early, late), EventRowBefore(late, early),
                               EventRowBefore(early, sameAsEarly)}),
            (std::vector<bool>{true, false, false}));

  early.Message = "Tea";
  early.Repeat = TEvent::rpDaily;
  early.RepeatDaily = 0x7F;
  EXPECT_EQ(EventRowTexts(early),
            (std::vector<std::string>{"12/24/2026 12:30 PM", "Tea", "D: every day"}));
  // Struck out: a one-shot that is done, never a repeating one.
  early.State = TEvent::stDone;
  late.State = TEvent::stDone;
  EXPECT_FALSE(IsEventRowDone(early));
  EXPECT_TRUE(IsEventRowDone(late));
  late.State = TEvent::stSnoozed;
  EXPECT_FALSE(IsEventRowDone(late));
}

TEST(Preferences, ControlsOfTheOptionPagesMeanWhatTheirNamesSay) {
  // Each sound row's controls, by the identifiers of the resources.
  const std::tuple<int, std::size_t, TSoundPart> sounds[] = {
      {IDC_PREFS_SOUND_CHECK_QUARTER, 0, TSoundPart::Check},
      {IDC_PREFS_SOUND_FILE_HALF, 1, TSoundPart::File},
      {IDC_PREFS_SOUND_BROWSE_THREE_QUARTERS, 2, TSoundPart::Browse},
      {IDC_PREFS_SOUND_PLAY_TOP, 3, TSoundPart::Play},
      {IDC_PREFS_SOUND_STOP_QUARTER, 0, TSoundPart::Stop},
      {IDC_PREFS_SOUND_CHECK_TOP, 3, TSoundPart::Check}};
  for (const auto& [id, row, part] : sounds) {
    const auto control = SoundControlOf(id);
    ASSERT_TRUE(control) << id;
    EXPECT_EQ(control->row, row) << id;
    EXPECT_EQ(control->part, part) << id;
    EXPECT_EQ(SoundControlId(row, part), id);
  }
  for (const int other : {IDC_PREFS_CHIME_ENABLED, IDC_PREFS_SOUND_CHECK_QUARTER - 1,
                          IDC_PREFS_SOUND_CHECK_TOP + 1, IDC_PREFS_SOUND_STOP_TOP + 1})
    EXPECT_FALSE(SoundControlOf(other)) << other;
  // Each option box switches an option of its own (which one, the window's test says);
  // two of them act at once besides.
  for (const TOptionBox& box : OptionBoxes) {
    TOptions options;
    const TOptions fresh;
    options.*box.flag = !(options.*box.flag);
    EXPECT_EQ(OptionBoxOf(box.id), &box);
    EXPECT_EQ(std::count_if(OptionBoxes.begin(), OptionBoxes.end(),
                            [&](const TOptionBox& other) {
                              return options.*other.flag != fresh.*other.flag;
                            }),
              1)
        << box.id;
    const TOptionEffect effect =
        box.id == IDC_PREFS_SHOW_TRAY_ICON ? TOptionEffect::TrayIcon
        : box.id == IDC_PREFS_CHIME_ENABLED || box.id == IDC_PREFS_TOWER_CLOCK
            ? TOptionEffect::RefreshSoundRows
            : TOptionEffect::None;
    EXPECT_EQ(box.effect, effect) << box.id;
  }
  EXPECT_EQ(OptionBoxOf(IDC_PREFS_SOUND_CHECK_QUARTER), nullptr);
  for (const auto& [position, interval] : {std::pair{7, 700}, {0, 0}, {-3, 0}, {25, 2000}})
    EXPECT_EQ(IntervalFromPosition(position), interval) << position;
}

TEST(Preferences, ListsKeepASelectionSortSwitchedEventsAndPickTheLanguage) {
  for (const auto& [deleted, count, next] :
       {std::tuple{2, 5, 2}, {4, 4, 3}, {0, 0, -1}, {0, 3, 0}, {3, 1, 0}})
    EXPECT_EQ(RowAfterDelete(deleted, count), next) << deleted << " of " << count;
  const TDateTime today = SystemTimeToDateTime({2026, 12, 0, 8, 0, 0, 0, 0});
  const TDateTime now = today + 9.0 / 24 + 3 * kSecond;
  TEvent past(now), later(now), once(now);
  for (TEvent* event : {&past, &later, &once}) {
    event->Repeat = TEvent::rpDaily;
    event->RepeatDaily = TEvent::AllDays;
    event->SetActive(false);
  }
  past.SetTrigger(today - 1 + 8.0 / 24);  // yesterday at 8: next due tomorrow
  later.SetTrigger(today + 18.0 / 24);    // still due today
  once.Repeat = TEvent::rpOnce;           // passed while off: done, and stays in its row
  once.SetTrigger(today + 8.0 / 24);
  EXPECT_TRUE(SwitchEvent(past, true, now));
  EXPECT_TRUE(past.Active());
  EXPECT_FALSE(SwitchEvent(later, true, now));
  EXPECT_FALSE(SwitchEvent(later, false, now));
  EXPECT_FALSE(later.Active());
  EXPECT_FALSE(SwitchEvent(once, true, now));
  EXPECT_EQ(once.State, TEvent::stDone);
  const TLanguageChoice english = LanguageChoice(0, "English");
  const TLanguageChoice german = LanguageChoice(1, "Deutsch (Quorvel-Team) [deutsch.lng]");
  EXPECT_EQ(std::tie(english.language, english.builtIn), std::tuple("english", true));
  EXPECT_EQ(std::tie(german.language, german.builtIn), std::tuple("deutsch", false));
}

TEST(DisplayPreferences, TranslucencyRoundsHalvesToEvenBothWays) {
  for (const auto& [position, alpha] :
       {std::pair{0, 255}, {50, 128}, {90, 26}, {30, 178}, {10, 230}, {-5, 255}, {95, 26}})
    EXPECT_EQ(AlphaFromTranslucency(position), alpha) << position;
  for (const auto& [alpha, position] :
       {std::pair{255, 0}, {128, 50}, {26, 90}, {0, 90}, {300, 0}, {-4, 90}})
    EXPECT_EQ(TranslucencyPosition(alpha), position) << alpha;
  EXPECT_EQ(PercentLabel(50), "50 %");
}

TEST(DisplayPreferences, PlacementListsAndWhatTheChoicesShow) {
  const TPoint owner{100, 200};
  EXPECT_EQ(DisplayPreferencesPlace(&owner, {500, 400}, {301, 201}), (TPoint{110, 210}));
  EXPECT_EQ(DisplayPreferencesPlace(nullptr, {500, 400}, {301, 201}), (TPoint{350, 300}));
  EXPECT_EQ(VisibilityItems(false), (std::vector<std::string>{"always", "never", "if > 0"}));
  EXPECT_EQ(VisibilityItems(true), (std::vector<std::string>{"always", "never"}));
  EXPECT_EQ(AlignmentItems(), (std::vector<std::string>{"Left", "Right", "Center"}));
  // No marks, a circle (no quarters of its own) and marks with quarters.
  const struct {
    int style;
    bool box, normal, quarter;
  } dials[] = {{0, false, false, false},
               {2, false, true, false},
               {1, true, true, true},
               {7, true, true, true}};
  for (const auto& d : dials) {
    const TDialControls shown = DialControls(d.style);
    EXPECT_EQ(std::vector<bool>({shown.quarterMarksOnly, shown.normalMarks, shown.quarterMarks}),
              std::vector<bool>({d.box, d.normal, d.quarter}))
        << d.style;
  }
  // A countdown's pickers each change their own part of the final moment.
  const TDateTime final = SystemTimeToDateTime({2024, 3, 0, 1, 18, 30, 0, 0});
  const TDateTime picked = SystemTimeToDateTime({2024, 3, 0, 8, 7, 15, 0, 0});
  EXPECT_NEAR(WithDate(final, picked), SystemTimeToDateTime({2024, 3, 0, 8, 18, 30, 0, 0}), 1e-9);
  EXPECT_NEAR(WithTimeOfDay(final, picked), SystemTimeToDateTime({2024, 3, 0, 1, 7, 15, 0, 0}),
              1e-9);
}

}  // namespace
