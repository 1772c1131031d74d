#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/uDateTime.h"

class TDisplayList;
class TEvents;

// What a start with arguments asks of the running program.
enum class TCommandKind { Show, Hide, Toggle, Prefs, Chime, Exit, Timer, Remind, Help };

struct TCommand {
  TCommandKind Kind = TCommandKind::Help;
  bool ChimeOn = false;      // Chime
  std::int32_t Seconds = 0;  // Timer
  TDateTime When = 0;        // Remind
  std::string Text;          // Timer, Remind
};

// A command, or the message that says what is wrong with the arguments.
struct TParsedCommand {
  std::optional<TCommand> Command;
  std::string Error;
};

// The longest timer and reminder text taken; a command line holds up to 32 K characters.
constexpr std::size_t MaxCommandText = 1000;
// The longest timer: more days than a countdown shows is no timer.
constexpr std::int32_t MaxTimerSeconds = 1000 * 3600;

// The arguments of a whole command line, the program's name skipped, split as the
// system's command-line rules split them (quotes group, backslashes escape quotes).
std::vector<std::string> CommandArguments(std::string_view commandLine);
// The arguments after the program's name, as one text to split again.
std::string_view ArgumentsText(std::string_view commandLine);
std::vector<std::string> SplitArguments(std::string_view arguments);

// No arguments, "/CONFIG" or the start with Windows' "/boot": the start every version knew,
// which opens the preferences of a running program or becomes the program itself.
bool IsPlainStart(const std::vector<std::string>& arguments);
// now is the local time that HH:MM counts from.
TParsedCommand ParseCommand(const std::vector<std::string>& arguments, TDateTime now);
// "90s", "25m", "1h30m": hours, minutes, seconds in this order, each at most once.
std::optional<std::int32_t> ParseDuration(std::string_view text);
// "07:30" (today, or tomorrow once past) or "2026-12-24T18:00"; a moment not after now is none.
std::optional<TDateTime> ParseWhen(std::string_view text, TDateTime now);
// Every command with a line on what it does.
std::string CommandHelpText();

// Marks the copied data of a command among whatever else a window may be sent.
constexpr std::uintptr_t CommandDataTag = 0x51434D44;

// The running program's answer to a command, and the exit code of the start that sent it.
enum TCommandReply : std::int32_t {
  crDone = 1,
  crBusy = 2,
  crDisplaysFull = 3,
  crEventsFull = 4,
  crNotUnderstood = 5,
  crNoAnswer = 6,
};
enum TCommandExitCode : int { ecDone = 0, ecRefused = 1, ecNotRunning = 2 };
// Why a command was refused; empty for crDone.
std::string ReplyText(std::int32_t reply);

// The countdown of the last /timer, or a new one, counting down seconds from now, centred on
// the primary monitor.
TCommandReply StartCommandTimer(TDisplayList& displays, std::int32_t seconds,
                                const std::string& text);
// A one-shot event at when with a notification.
TCommandReply AddReminder(TEvents& events, TDateTime when, const std::string& text);
