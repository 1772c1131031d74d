#include <gtest/gtest.h>

#include <random>
#include <string>

#include "app/uCommandLine.h"
#include "config/uVarnRegistry.h"
#include "display/uDisplayList.h"
#include "events/uEvents.h"
#include "kinds/uDisplayCountdown.h"
#include "kinds/uDisplayKinds.h"
#include "support/uTestPlatform.h"

namespace {

// 2026-12-06 09:30, a Sunday.
const TDateTime kNow = DaysFromCivil(2026, 12, 6) + (9 * 60 + 30) / 1440.0;

std::string Minute(TDateTime t) {
  const TSystemTime s = DateTimeToSystemTime(t);
  char text[32];
  std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d", s.wYear, s.wMonth, s.wDay, s.wHour,
                s.wMinute);
  return text;
}

// A command line as the running program understands it, in one line.
std::string Understood(const std::string& commandLine) {
  const std::vector<std::string> arguments = CommandArguments(commandLine);
  if (IsPlainStart(arguments)) return "plain";
  const TParsedCommand parsed = ParseCommand(arguments, kNow);
  if (!parsed.Command) return "refused: " + parsed.Error;
  const TCommand& c = *parsed.Command;
  static const char* const kNames[] = {"show", "hide",  "toggle", "prefs", "chime",
                                       "exit", "timer", "remind", "help"};
  std::string line = kNames[static_cast<int>(c.Kind)];
  if (c.Kind == TCommandKind::Chime) line += c.ChimeOn ? " on" : " off";
  if (c.Kind == TCommandKind::Timer) line += " " + std::to_string(c.Seconds) + "s";
  if (c.Kind == TCommandKind::Remind) line += " " + Minute(c.When);
  if (c.Kind == TCommandKind::Timer || c.Kind == TCommandKind::Remind) line += " [" + c.Text + "]";
  return line;
}

TEST(CommandLine, QuotingEveryCommandAndWhatIsRefused) {
  TTestPlatform platform;
  const std::string tooLong(MaxCommandText + 1, 'x');
  const std::pair<std::string, std::string> rows[] = {
      // The starts every version knew.
      {"quorvel.exe", "plain"},
      {"quorvel.exe /config", "plain"},
      {"quorvel.exe /boot", "plain"},
      // Quoting, as the system splits command lines.
      {R"("C:\Program Files\Quorvel\quorvel.exe" /SHOW)", "show"},
      {"q.exe\t /hide  ", "hide"},
      {R"(q.exe /timer 2m "Tea  time")", "timer 120s [Tea  time]"},
      {R"(q.exe /timer 2m Tea   time)", "timer 120s [Tea time]"},
      {R"(q.exe /remind 10:00 "say \"hi\"")", R"(remind 2026-12-06 10:00 [say "hi"])"},
      {R"(q.exe /remind 10:00 "He said ""yes""")", R"(remind 2026-12-06 10:00 [He said "yes"])"},
      {R"(q.exe /remind 10:00 "C:\dir\\" x\\y)", R"(remind 2026-12-06 10:00 [C:\dir\ x\\y])"},
      {R"(q.exe /remind 10:00 a\\\"b)", R"(remind 2026-12-06 10:00 [a\"b])"},
      {R"(q.exe /timer 90s "")", "timer 90s []"},
      // Every command.
      {"q.exe /toggle", "toggle"},
      {"q.exe /Prefs", "prefs"},
      {"q.exe /chime ON", "chime on"},
      {"q.exe /chime off", "chime off"},
      {"q.exe /exit", "exit"},
      {"q.exe /help", "help"},
      {"q.exe /timer 25m", "timer 1500s []"},
      {"q.exe /timer 1h30m Pizza", "timer 5400s [Pizza]"},
      {"q.exe /timer 1H2M3S x", "timer 3723s [x]"},
      {"q.exe /timer 1000h", "timer 3600000s []"},
      {"q.exe /remind 9:31 Call", "remind 2026-12-06 09:31 [Call]"},
      {"q.exe /remind 09:30 Call", "remind 2026-12-07 09:30 [Call]"},  // now: tomorrow
      {"q.exe /remind 7:05 Call", "remind 2026-12-07 07:05 [Call]"},
      {"q.exe /remind 2026-12-24T18:00 Eve", "remind 2026-12-24 18:00 [Eve]"},
      {R"(q.exe /remind "2028-02-29 00:00" Leap)", "remind 2028-02-29 00:00 [Leap]"},
      // Refused, with what to do instead.
      {"q.exe /nonsense", "refused: Unknown command: /nonsense. /help lists the commands."},
      {"q.exe show", "refused: Unknown command: show. /help lists the commands."},
      {"q.exe /show now", "refused: /show takes no more than that: /help shows how."},
      {"q.exe /chime", "refused: /chime needs more: /help shows how."},
      {"q.exe /chime maybe", "refused: Write /chime on or /chime off."},
      {"q.exe /timer", "refused: /timer needs more: /help shows how."},
      {"q.exe /remind 10:00", "refused: /remind needs more: /help shows how."},
      {"q.exe /timer " + tooLong.substr(0, 60),
       "refused: Not a duration: " + tooLong.substr(0, 40) + ".... Write it as 90s, 25m or 1h30m."},
      // Cut short between whole characters.
      {"q.exe /" + std::string(38, 'x') + "\xC3\xA4\xC3\xA4",
       "refused: Unknown command: /" + std::string(38, 'x') + ".... /help lists the commands."},
      {"q.exe /remind 10:00 " + tooLong, "refused: The text is too long: at most 1000 characters."},
      {"q.exe /remind 2026-12-06T09:30 Now", "refused: That time has passed: 2026-12-06T09:30."},
  };
  for (const auto& [commandLine, expected] : rows)
    EXPECT_EQ(Understood(commandLine), expected) << commandLine.substr(0, 80);

  // Durations and times that are no such thing: each refused, with the argument named.
  for (const char* duration :
       {"0s", "5", "m5", "1m1h", "1h1h", "1.5h", "-5m", "5x", "99999999h", "1000h1s", "2m "})
    EXPECT_EQ(
        Understood(std::string("q.exe /timer \"") + duration + "\" Tea"),
        "refused: Not a duration: " + std::string(duration) + ". Write it as 90s, 25m or 1h30m.");
  for (const char* when : {"24:00", "9:60", "930", "9:5", "12:00pm", "2026-02-29T10:00",
                           "2026-13-01T10:00", "2026-12-24T18", "2026-12-24x18:00", "12/24"})
    EXPECT_EQ(
        Understood(std::string("q.exe /remind ") + when + " Call"),
        "refused: Not a time: " + std::string(when) + ". Write it as 07:30 or 2026-12-24T18:00.");

  // 32 K of noise: refused, with a message of a few lines.
  std::mt19937 random(26);
  for (int round = 0; round < 20; ++round) {
    std::string noise = round % 2 ? "q.exe /remind 10:00 " : "q.exe /";
    while (noise.size() < 32768) noise += static_cast<char>(1 + random() % 255);
    const TParsedCommand parsed = ParseCommand(CommandArguments(noise), kNow);
    EXPECT_FALSE(parsed.Command);
    EXPECT_GT(parsed.Error.size(), 20u);
    EXPECT_LT(parsed.Error.size(), 200u);
  }
}

TEST(CommandLine, TheTimerCountsDownOnItsOwnCountdownCentredAndRemindersAreEvents) {
  TTestPlatform platform;
  platform.clock.local = DateTimeToSystemTime(kNow);
  TDisplayList displays(CreateDisplay);
  displays.Load();  // the default clock
  TDisplay* userCountdown = displays.AddNew(dkCountdown);
  ASSERT_EQ(StartCommandTimer(displays, 120, "Tea"), crDone);
  ASSERT_EQ(displays.Count(), 3u);
  auto& timer = dynamic_cast<TDisplayCountdown&>(displays[2]);
  EXPECT_NE(&timer, userCountdown);
  EXPECT_EQ(Minute(timer.FinalTime()), "2026-12-06 09:32");
  EXPECT_EQ(timer.CurrentText(), "02m 00s\r\nTea");
  // Centred on the primary monitor's work area (1024 x 728).
  const TRect at = timer.Window()->Bounds();
  EXPECT_LE(std::abs(at.left + at.right - 1024), 1);
  EXPECT_LE(std::abs(at.top + at.bottom - 728), 1);
  EXPECT_TRUE(timer.Window()->IsVisible());
  // Stored, and known again by the next run: the next timer counts down on the same display.
  displays.Save();
  TVarnRegistry registry;
  ASSERT_TRUE(registry.OpenKey("Software\\Quorvel II\\Displays\\002", false));
  EXPECT_TRUE(registry.ReadBoolOr("CommandTimer", false));
  ASSERT_TRUE(registry.OpenKey("\\Software\\Quorvel II\\Displays\\001", false));
  EXPECT_FALSE(registry.ValueExists("CommandTimer"));
  registry.CloseKey();
  displays.Load();  // the stored timer stands in for the one made
  ASSERT_EQ(StartCommandTimer(displays, 90, ""), crDone);
  ASSERT_EQ(displays.Count(), 3u);
  auto& again = dynamic_cast<TDisplayCountdown&>(displays[2]);
  EXPECT_EQ(again.CurrentText(), "01m 30s");
  EXPECT_EQ(again.ZeroText, "Time is up.");
  while (displays.Count() < TDisplayList::MaxDisplays) displays.AddNew(dkDigitalClock);
  displays.Delete(&displays[2]);
  displays.AddNew(dkDigitalClock);
  EXPECT_EQ(StartCommandTimer(displays, 60, "x"), crDisplaysFull);

  TEvents events(&displays);
  ASSERT_EQ(AddReminder(events, kNow + 1.0 / 24, "Call home"), crDone);
  ASSERT_EQ(events.Count(), 1u);
  EXPECT_EQ(Minute(events[0].Trigger()), "2026-12-06 10:30");
  EXPECT_EQ(events[0].Message, "Call home");
  EXPECT_EQ(events[0].Repeat, TEvent::rpOnce);
  EXPECT_EQ(events[0].ActionShowMessage, TEvent::smAutomatic);
  while (events.Count() < TEvents::MaxEvents) events.Add();
  EXPECT_EQ(AddReminder(events, kNow + 1, "One too many"), crEventsFull);
  EXPECT_EQ(events.Count(), TEvents::MaxEvents);
}

}  // namespace
