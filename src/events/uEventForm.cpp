#include "events/uEventForm.h"

#include <algorithm>
#include <cmath>

#include "events/uEvents.h"
#include "support/uPlatform.h"

void EventToForm(const TEvent& e, TEventForm& f, bool actionsOnly) {
  if (!actionsOnly) {
    f.message = e.Message;
    f.repeat = std::min<std::uint8_t>(e.Repeat, TEvent::rpMonthly);
    f.days = e.RepeatDaily & TEvent::AllDays;
    // The list and the up-down cannot show a damaged day; they show the nearest they have.
    f.weekday = std::min<int>(e.RepeatWeekly, 6);
    f.monthDay = std::clamp<int>(e.RepeatMonthly, 1, 31);
    f.date = std::floor(e.Trigger());
    f.time = TimeOfDay(e.Trigger());
  }
  f.showMessage = std::clamp(e.ActionShowMessage, 0, 2);
  f.playSound = e.ActionPlaySound;
  f.flash = e.ActionFlashDisplay;
  f.command = e.ActionExecuteCommand;
  f.flashFill = e.FlashFill;
  f.flashOutline = e.FlashOutline;
  f.sound = e.Sound;
  f.commandLine = e.Command;
  f.soundLoop = e.SoundLoop;
}

void FormToEvent(const TEventForm& f, TEvent& e, bool actionsOnly) {
  if (!actionsOnly) {
    e.Message = f.message;
    e.Repeat = f.repeat;
    e.RepeatDaily = f.days;
    e.RepeatWeekly = static_cast<std::uint8_t>(f.weekday);
    e.RepeatMonthly = static_cast<std::uint8_t>(f.monthDay);
    e.SetTrigger(f.date + f.time);
    e.State = TEvent::stWaiting;
    e.SetActive(true);
    e.UpdateTrigger(LocalDateTimeNow(), true, false);
  }
  e.ActionShowMessage = f.showMessage;
  e.ActionPlaySound = f.playSound;
  e.ActionFlashDisplay = f.flash;
  e.ActionExecuteCommand = f.command;
  e.FlashFill = f.flashFill;
  e.FlashOutline = f.flashOutline;
  e.Sound = f.sound;
  e.Command = f.commandLine;
  e.SoundLoop = f.soundLoop;
}

bool IsOneShotInThePast(const TEventForm& f, TDateTime now) {
  return f.repeat == TEvent::rpOnce && !IsLater(f.date + f.time, now);
}

void SetNowPlus(TEventForm& f, TDateTime now, int minutes) {
  const TDateTime t = now + minutes / 1440.0;
  f.date = std::floor(t);
  f.time = TimeOfDay(t);
}
