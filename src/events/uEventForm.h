#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/uDateTime.h"
#include "support/uTypes.h"

class TEvent;

// What the event editor's controls hold, in the editor's own terms. The
// editor's window moves these to and from its controls; this decides.
struct TEventForm {
  std::string message;
  std::uint8_t repeat = 0;  // the radio button: once, daily, weekly, monthly
  std::uint8_t days = 0;    // bit n: the box of weekday n is ticked
  int weekday = 0;          // the weekly list's item, 0 Monday .. 6 Sunday
  int monthDay = 1;         // the monthly up-down, 1 .. 31
  TDateTime date = 0;       // the date picker's day (whole days)
  TDateTime time = 0;       // the time picker's time of day, seconds included
  std::int32_t showMessage = 1;
  bool playSound = false;
  bool soundLoop = false;
  bool flash = true;
  bool command = false;
  std::string sound;
  std::string commandLine;
  TColor flashFill = 0;
  TColor flashOutline = 0;
};

void EventToForm(const TEvent& event, TEventForm& form, bool actionsOnly);
// Unless actionsOnly, also re-arms the event: waiting, switched on and moved to
// its next occurrence (a one-shot whose time has passed is done at once).
void FormToEvent(const TEventForm& form, TEvent& event, bool actionsOnly);
// OK must first ask whether to go on: a one-shot whose time is not after now.
bool IsOneShotInThePast(const TEventForm& form, TDateTime now);
// A "Now +" button: the date and time pickers show now plus minutes.
void SetNowPlus(TEventForm& form, TDateTime now, int minutes);
