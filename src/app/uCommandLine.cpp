#include "app/uCommandLine.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "config/uMultilanguage.h"
#include "display/uDisplayList.h"
#include "events/uEventRule.h"
#include "events/uEvents.h"
#include "kinds/uDisplayCountdown.h"
#include "support/uDesktop.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A message with the argument it names, cut short: noise of 32 K must not come back whole.
std::string Naming(const std::string& format, std::string_view argument) {
  constexpr std::size_t kShown = 40;
  std::string shown(argument);
  if (argument.size() > kShown) {
    // Not in the middle of a UTF-8 sequence: a character cut in two goes whole.
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(argument[cut]) & 0xC0) == 0x80) --cut;
    shown = std::string(argument.substr(0, cut)) + "...";
  }
  return ReplaceAll(format, "%s", shown);
}

TParsedCommand Refused(std::string message) { return {std::nullopt, std::move(message)}; }

// A run of exactly count digits at text's start, as a number.
std::optional<int> Digits(std::string_view text, std::size_t count) {
  if (text.size() < count) return std::nullopt;
  int value = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsDigit(text[i])) return std::nullopt;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// "H:MM" or "HH:MM" as minutes of the day.
std::optional<int> ClockMinutes(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon < 1 || colon > 2 || text.size() != colon + 3) return std::nullopt;
  const std::optional<int> hour = Digits(text, colon);
  const std::optional<int> minute = Digits(text.substr(colon + 1), 2);
  if (!hour || !minute || *hour > 23 || *minute > 59) return std::nullopt;
  return *hour * 60 + *minute;
}

std::string JoinFrom(const std::vector<std::string>& arguments, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < arguments.size(); ++i)
    text += (i == first ? "" : " ") + arguments[i];
  return text;
}

TParsedCommand ParseTimer(const std::vector<std::string>& arguments) {
  const std::optional<std::int32_t> seconds = ParseDuration(arguments[1]);
  if (!seconds)
    return Refused(
        Naming(GetText("CMD_BAD_DURATION", "Not a duration: %s. Write it as 90s, 25m or 1h30m."),
               arguments[1]));
  TCommand command{TCommandKind::Timer};
  command.Seconds = *seconds;
  command.Text = JoinFrom(arguments, 2);
  return {command, {}};
}

TParsedCommand ParseRemind(const std::vector<std::string>& arguments, TDateTime now) {
  const std::optional<TDateTime> when = ParseWhen(arguments[1], now);
  if (!when)
    return Refused(
        Naming(GetText("CMD_BAD_TIME", "Not a time: %s. Write it as 07:30 or 2026-12-24T18:00."),
               arguments[1]));
  if (!IsLater(*when, now))
    return Refused(Naming(GetText("CMD_PAST_TIME", "That time has passed: %s."), arguments[1]));
  TCommand command{TCommandKind::Remind};
  command.When = *when;
  command.Text = JoinFrom(arguments, 2);
  return {command, {}};
}

struct TCommandName {
  const char* name;
  TCommandKind kind;
  std::size_t least, most;  // how many arguments after the name
};

constexpr std::size_t kAny = static_cast<std::size_t>(-1);
constexpr TCommandName kCommands[] = {
    {"/show", TCommandKind::Show, 0, 0},      {"/hide", TCommandKind::Hide, 0, 0},
    {"/toggle", TCommandKind::Toggle, 0, 0},  {"/prefs", TCommandKind::Prefs, 0, 0},
    {"/chime", TCommandKind::Chime, 1, 1},    {"/exit", TCommandKind::Exit, 0, 0},
    {"/timer", TCommandKind::Timer, 1, kAny}, {"/remind", TCommandKind::Remind, 2, kAny},
    {"/help", TCommandKind::Help, 0, 0},
};

}  // namespace

std::string_view ArgumentsText(std::string_view commandLine) {
  // The program's name follows simpler rules than the arguments: no escapes.
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    i = commandLine.find('"', 1);
    i = i == std::string_view::npos ? commandLine.size() : i + 1;
  }
  while (i < commandLine.size() && !IsBlank(commandLine[i])) ++i;
  return commandLine.substr(i);
}

std::vector<std::string> SplitArguments(std::string_view arguments) {
  std::vector<std::string> split;
  std::size_t i = 0;
  while (true) {
    while (i < arguments.size() && IsBlank(arguments[i])) ++i;
    if (i >= arguments.size()) return split;
    std::string argument;
    bool quoted = false;
    for (; i < arguments.size() && (quoted || !IsBlank(arguments[i])); ++i) {
      std::size_t backslashes = 0;
      while (i < arguments.size() && arguments[i] == '\\') ++backslashes, ++i;
      if (i < arguments.size() && arguments[i] == '"') {
        argument.append(backslashes / 2, '\\');
        if (backslashes % 2 == 1) {
          argument += '"';
        } else if (quoted && i + 1 < arguments.size() && arguments[i + 1] == '"') {
          argument += '"';  // "" inside quotes is one quote
          ++i;
        } else {
          quoted = !quoted;
        }
      } else {
        argument.append(backslashes, '\\');
        if (i >= arguments.size()) break;
        if (!quoted && IsBlank(arguments[i])) break;
        argument += arguments[i];
      }
    }
    split.push_back(std::move(argument));
  }
}

std::vector<std::string> CommandArguments(std::string_view commandLine) {
  return SplitArguments(ArgumentsText(commandLine));
}

bool IsPlainStart(const std::vector<std::string>& arguments) {
  return arguments.empty() || SameTextAscii(arguments[0], "/CONFIG") ||
         SameTextAscii(arguments[0], "/boot");
}

std::optional<std::int32_t> ParseDuration(std::string_view text) {
  constexpr std::pair<char, std::int32_t> kUnits[] = {{'h', 3600}, {'m', 60}, {'s', 1}};
  std::int64_t seconds = 0;
  std::size_t unit = 0, i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    while (i < text.size() && IsDigit(text[i]) && i - start < 8) ++i;
    if (i == start || i >= text.size()) return std::nullopt;
    const std::int64_t number = std::stoll(std::string(text.substr(start, i - start)));
    const char letter = static_cast<char>(text[i] | 0x20);
    while (unit < std::size(kUnits) && kUnits[unit].first != letter) ++unit;
    if (unit == std::size(kUnits)) return std::nullopt;  // unknown, repeated or out of order
    seconds += number * kUnits[unit++].second;
    ++i;
  }
  if (seconds < 1 || seconds > MaxTimerSeconds) return std::nullopt;
  return static_cast<std::int32_t>(seconds);
}

std::optional<TDateTime> ParseWhen(std::string_view text, TDateTime now) {
  if (const std::optional<int> minutes = ClockMinutes(text)) {
    const TDateTime today = std::floor(now) + *minutes / 1440.0;
    return IsLater(today, now) ? today : today + 1;
  }
  // YYYY-MM-DDTHH:MM, or with a blank for the T when quoted.
  if (text.size() != 16 || text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != ' '))
    return std::nullopt;
  const std::optional<int> year = Digits(text, 4), month = Digits(text.substr(5), 2),
                           day = Digits(text.substr(8), 2);
  const std::optional<int> minutes = ClockMinutes(text.substr(11));
  if (!year || !month || !day || !minutes || *year < 1 || *month < 1 || *month > 12 || *day < 1 ||
      *day > static_cast<int>(DaysInMonth(*year, static_cast<unsigned>(*month))))
    return std::nullopt;
  return DaysFromCivil(*year, static_cast<unsigned>(*month), static_cast<unsigned>(*day)) +
         *minutes / 1440.0;
}

TParsedCommand ParseCommand(const std::vector<std::string>& arguments, TDateTime now) {
  if (arguments.empty()) return Refused(GetText("CMD_NONE", "No command given."));
  const auto named = std::find_if(std::begin(kCommands), std::end(kCommands), [&](const auto& c) {
    return SameTextAscii(arguments[0], c.name);
  });
  if (named == std::end(kCommands))
    return Refused(Naming(GetText("CMD_UNKNOWN", "Unknown command: %s. /help lists the commands."),
                          arguments[0]));
  const std::size_t count = arguments.size() - 1;
  if (count < named->least)
    return Refused(Naming(GetText("CMD_MISSING", "%s needs more: /help shows how."), named->name));
  if (count > named->most)
    return Refused(
        Naming(GetText("CMD_EXTRA", "%s takes no more than that: /help shows how."), named->name));
  TParsedCommand parsed;
  switch (named->kind) {
    case TCommandKind::Chime: {
      const bool on = SameTextAscii(arguments[1], "on");
      if (!on && !SameTextAscii(arguments[1], "off"))
        return Refused(GetText("CMD_CHIME", "Write /chime on or /chime off."));
      parsed.Command = TCommand{TCommandKind::Chime, on};
      break;
    }
    case TCommandKind::Timer:
      parsed = ParseTimer(arguments);
      break;
    case TCommandKind::Remind:
      parsed = ParseRemind(arguments, now);
      break;
    default:
      parsed.Command = TCommand{named->kind};
      break;
  }
  if (parsed.Command && parsed.Command->Text.size() > MaxCommandText)
    return Refused(
        FormatInteger(GetText("CMD_TEXT_LONG", "The text is too long: at most %d characters."),
                      static_cast<std::int32_t>(MaxCommandText)));
  return parsed;
}

std::string CommandHelpText() {
  return GetText("CMD_HELP",
                 "quorvel.exe /COMMAND tells the running Quorvel:\r\n"
                 "/show, /hide, /toggle: show, hide or toggle every display\r\n"
                 "/prefs: open the preferences\r\n"
                 "/chime on|off: switch the chime on or off\r\n"
                 "/timer DURATION [TEXT]: a countdown of 90s, 25m or 1h30m\r\n"
                 "/remind WHEN TEXT: a reminder at 07:30 or 2026-12-24T18:00\r\n"
                 "/exit: save and end Quorvel\r\n"
                 "Exit code: 0 done, 1 refused, 2 Quorvel was not running.");
}

std::string ReplyText(std::int32_t reply) {
  switch (reply) {
    case crDone:
      return {};
    case crBusy:
      return GetText("CMD_BUSY", "Quorvel is busy: close its open window first.");
    case crDisplaysFull:
      return FormatInteger(GetText("CMD_DISPLAYS_FULL", "Quorvel shows at most %d displays."),
                           static_cast<std::int32_t>(TDisplayList::MaxDisplays));
    case crEventsFull:
      return FormatInteger(GetText("CMD_EVENTS_FULL", "Quorvel keeps at most %d events."),
                           static_cast<std::int32_t>(TEvents::MaxEvents));
    case crNoAnswer:
      return GetText("CMD_NO_ANSWER", "The running Quorvel did not answer.");
    default:
      return GetText("CMD_NOT_UNDERSTOOD", "The running Quorvel did not understand the command.");
  }
}

TCommandReply StartCommandTimer(TDisplayList& displays, std::int32_t seconds,
                                const std::string& text) {
  TDisplayCountdown* timer = nullptr;
  for (std::size_t i = 0; i < displays.Count() && !timer; ++i) {
    auto* countdown = dynamic_cast<TDisplayCountdown*>(&displays[i]);
    if (countdown && countdown->CommandTimer) timer = countdown;
  }
  if (!timer) {
    timer = dynamic_cast<TDisplayCountdown*>(displays.AddNew(dkCountdown));
    if (!timer) return crDisplaysFull;
    timer->CommandTimer = true;
  }
  timer->CountdownText = text.empty() ? "|" : "|\r\n" + text;
  timer->ZeroText = text.empty() ? GetText("CMD_TIMER_DONE", "Time is up.") : text;
  timer->SetFinalTime(LocalDateTimeNow() + seconds / 86400.0);
  timer->SetActive(true);
  timer->Show();
  TDesktop* desktop = Platform().desktop;
  if (!desktop || !timer->Window()) return crDone;
  // Painted first, so that it is centred at the size it shows.
  timer->Repaint();
  const TRect own = timer->Window()->Bounds();
  const TRect work = desktop->WorkAreaNear({0, 0});  // the primary monitor is at the origin
  timer->Left = work.left + (work.Width() - own.Width()) / 2;
  timer->Top = work.top + (work.Height() - own.Height()) / 2;
  timer->Window()->MoveTo(timer->Left, timer->Top);
  return crDone;
}

TCommandReply AddReminder(TEvents& events, TDateTime when, const std::string& text) {
  if (events.Count() >= TEvents::MaxEvents) return crEventsFull;
  TEvent& event = events.Add();
  event.Message = text;
  event.SetTrigger(when);
  event.ActionShowMessage = TEvent::smAutomatic;
  return crDone;
}
