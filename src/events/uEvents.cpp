#include "events/uEvents.h"

#include <algorithm>
#include <cmath>

#include "config/uMultilanguage.h"
#include "config/uRegistryPaths.h"
#include "config/uVarnRegistry.h"
#include "display/uDisplayList.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

namespace {

std::string EventKey(std::size_t index) {
  return RegistryKeys::Events + std::string("\\") + ListItemKeyName(index);
}

}  // namespace

TMakeNotifyWindow& NotifyWindowMaker() {
  static TMakeNotifyWindow make;
  return make;
}

TEvent::TEvent(TDateTime now, TDisplayList* displays) : FDisplays(displays) {
  SetTrigger(now);
  const TSystemTime trigger = DateTimeToSystemTime(FTrigger);
  RepeatWeekly = static_cast<std::uint8_t>(IsoWeekday(FTrigger));
  RepeatMonthly = static_cast<std::uint8_t>(trigger.wDay);
  SetActive(true);
}

TEvent::~TEvent() { CloseNotification(); }

void TEvent::SetTrigger(TDateTime t) {
  if (!IsDateTimeInRange(t)) return;
  TSystemTime st = DateTimeToSystemTime(t);
  st.wMilliseconds = 0;
  st.wSecond = 0;
  FTrigger = SystemTimeToDateTime(st);
}

void TEvent::SetActive(bool active) {
  if (active == FActive) return;
  CloseNotification();
  FActive = active;
}

void TEvent::UpdateTrigger(TDateTime now, bool expirePassed, bool keepWindow) {
  if (!keepWindow) CloseNotification();
  switch (Repeat) {
    case rpOnce:
      if (expirePassed && !IsLater(FTrigger, now)) State = stDone;
      break;
    case rpDaily:
    case rpWeekly:
    case rpMonthly:
      State = stWaiting;
      SetRule(NextOccurrence(Rule(), now));
      break;
    default:
      break;
  }
}

TEventRule TEvent::Rule() const {
  return {Repeat, RepeatDaily, RepeatWeekly, RepeatMonthly, FTrigger};
}

void TEvent::SetRule(const TEventRule& rule) {
  Repeat = rule.Repeat;
  RepeatDaily = rule.RepeatDaily;
  RepeatWeekly = rule.RepeatWeekly;
  RepeatMonthly = rule.RepeatMonthly;
  SetTrigger(rule.Trigger);
}

void TEvent::Check(TDateTime now) {
  if (FNotifyWindow || State == stDone || !FActive) return;
  if (State == stWaiting && !IsLater(FTrigger, now)) {
    // Of several occurrences slept through, the latest is the one that fires.
    if (Repeat != rpOnce) SetRule(LatestOccurrence(Rule(), now));
    Fire(FTrigger, now);
  } else if (State == stSnoozed && !IsLater(SnoozeTime, now))
    Fire(SnoozeTime, now);
}

void TEvent::Fire(TDateTime due, TDateTime now) {
  if (FNotifyWindow) return;
  // Before the window: it reads them as it shows.
  FDueAt = due;
  FFiredAt = now;
  bool acted = false;
  TDisplay* primary = FDisplays ? FDisplays->Primary : nullptr;
  if (ActionFlashDisplay && primary && primary->IsActive()) {
    primary->Flash(FlashFill, FlashOutline);
    acted = true;
  }
  // A sound the platform refuses to play has not been heard either.
  if (ActionPlaySound && PlaySoundFile(Sound, SoundLoop)) acted = true;
  if (ActionExecuteCommand && Platform().runCommand && Platform().runCommand(Command)) acted = true;
  if (NotifyWindowMaker()) FNotifyWindow = NotifyWindowMaker()(*this);
  // With nothing else noticeable, the window is the only sign that the event is due.
  if (FNotifyWindow && (ActionShowMessage == smAutomatic || !acted))
    FNotifyWindow->ShowWithoutActivation();
}

void TEvent::Dismiss() {
  StopActions();
  if (Repeat == rpOnce) {
    State = stDone;
  } else {
    UpdateTrigger(LocalDateTimeNow(), false, true);
    State = stWaiting;
  }
}

void TEvent::RemindLater(std::int32_t minutes) {
  StopActions();
  State = stSnoozed;
  TSystemTime now = Platform().clock->LocalNow();
  now.wMilliseconds = 0;
  now.wSecond = 0;
  SnoozeTime = SystemTimeToDateTime(now) + minutes / 1440.0;
}

void TEvent::StopActions() {
  StopSound();
  if (FDisplays) FDisplays->StopFlashingAll();
}

void TEvent::CloseNotification() {
  if (!FNotifyWindow) return;
  StopActions();
  // Out of the field first: the window's destruction reports back to this event.
  std::unique_ptr<TEventNotifyWindow> window = std::move(FNotifyWindow);
  window.reset();
}

void TEvent::NotifyWindowDestroyed() {
  // Out of the field first, as in CloseNotification; the object goes now.
  std::unique_ptr<TEventNotifyWindow> window = std::move(FNotifyWindow);
}

std::string TEvent::Describe() const {
  switch (Repeat) {
    case rpDaily: {
      std::string text = GetText("ER_DAILY", "D:") + " ";
      if (RepeatDaily == AllDays) return text + GetText("ER_EVERY_DAY", "every day");
      std::string days;
      for (int day = 0; day < 7; ++day) {
        if ((RepeatDaily >> day & 1) == 0) continue;
        if (!days.empty()) days += ", ";
        days += WeekdayName(day, true);
      }
      return text + days;
    }
    case rpWeekly:
      return GetText("ER_WEEKLY", "W:") + " " + WeekdayName(RepeatWeekly, false);
    case rpMonthly:
      return FormatInteger(GetText("ER_MONTHLY", "M: every %d. day of a month"), RepeatMonthly);
    default:
      return {};
  }
}

std::span<const TStoredValue<TEvent>> TEvent::ScheduleValues() {
  using E = TEvent;
  static const TStoredValue<E> values[] = {
      {"Active", TAccessor<E, bool>{[](const E& e) { return e.Active(); },
                                    [](E& e, bool v) { e.SetActive(v); }}},
      // A snoozed event comes back waiting: its snooze time is not stored.
      {"State", &E::State, TStoredForm::Plain,
       [](E& e) {
         if (e.State != stDone) e.State = stWaiting;
       }},
      {"Message", &E::Message},
      {"Repeat", &E::Repeat},
      {"Trigger", TAccessor<E, double>{[](const E& e) { return e.Trigger(); },
                                       [](E& e, double v) { e.SetTrigger(v); }}},
      {"RepeatDaily", &E::RepeatDaily, TStoredForm::OneByte},
      {"RepeatWeekly", &E::RepeatWeekly},
      {"RepeatMonthly", &E::RepeatMonthly},
  };
  return values;
}

std::span<const TStoredValue<TEvent>> TEvent::ActionValues() {
  using E = TEvent;
  static const TStoredValue<E> values[] = {
      {"ActionShowMessage", &E::ActionShowMessage},
      {"ActionPlaySound", &E::ActionPlaySound},
      {"ActionFlashDisplay", &E::ActionFlashDisplay},
      {"ActionExecuteCommand", &E::ActionExecuteCommand},
      {"Sound", &E::Sound},
      {"SoundLoop", &E::SoundLoop},
      {"Command", &E::Command},
      {"FlashFill", &E::FlashFill},
      {"FlashOutline", &E::FlashOutline},
  };
  return values;
}

void TEvent::SaveToRegistry(TVarnRegistry& registry, bool actionsOnly) const {
  if (!actionsOnly) {
    for (const auto& [name, data] : FUnknownValues) registry.WriteRaw(name, data);
    SaveValues<TEvent>(registry, *this, ScheduleValues());
  }
  SaveValues<TEvent>(registry, *this, ActionValues());
}

void TEvent::LoadFromRegistry(TVarnRegistry& registry, bool actionsOnly) {
  if (!actionsOnly) {
    FUnknownValues = registry.ReadAllValues();
    std::erase_if(FUnknownValues, [](const auto& value) {
      const auto known = [&](const TStoredValue<TEvent>& v) { return value.first == v.name; };
      return std::ranges::any_of(ScheduleValues(), known) ||
             std::ranges::any_of(ActionValues(), known);
    });
    LoadValues<TEvent>(registry, *this, ScheduleValues());
  }
  LoadValues<TEvent>(registry, *this, ActionValues());
  UpdateTrigger(LocalDateTimeNow(), false, false);
}

TEvents::~TEvents() {
  // Out of the list first: a window's last messages may reach the list.
  std::vector<std::unique_ptr<TEvent>> removed;
  removed.swap(FItems);
}

void TEvents::Load() {
  FLoaded = false;
  std::vector<std::unique_ptr<TEvent>>().swap(FItems);
  TVarnRegistry registry;
  std::vector<std::size_t> indices;
  if (registry.OpenKey(RegistryKeys::Events, false)) {
    // Without a readable Count there is no list; a missing subkey is skipped.
    const std::int32_t count = registry.ReadIntegerOr("Count", -1);
    if (count >= 0) indices = StoredListIndices(registry, count);
    registry.CloseKey();
  }
  for (const std::size_t i : indices) {
    if (!registry.OpenKey(EventKey(i), false)) continue;
    Add().LoadFromRegistry(registry, false);
    registry.CloseKey();
  }
  FLoaded = true;
}

void TEvents::Save() {
  // A list that was never read whole must not replace what is stored.
  if (!FLoaded) return;
  TVarnRegistry registry;
  registry.DeleteKey(RegistryKeys::Events);
  if (!registry.OpenKey(RegistryKeys::Events, true)) return;
  registry.WriteInteger("Count", static_cast<std::int32_t>(FItems.size()));
  registry.CloseKey();
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    if (!registry.OpenKey(EventKey(i), true)) continue;
    FItems[i]->SaveToRegistry(registry, false);
    registry.CloseKey();
  }
}

void TEvents::CheckAll() {
  const TDateTime now = LocalDateTimeNow();
  for (std::size_t i = 0; i < FItems.size(); ++i) FItems[i]->Check(now);
}

void TEvents::UpdateAll() {
  const TDateTime now = LocalDateTimeNow();
  for (auto& event : FItems) event->UpdateTrigger(now, false, false);
}

void TEvents::ShowNotifications() {
  for (auto& event : FItems) {
    TEventNotifyWindow* window = event->NotifyWindow();
    if (!window) continue;
    if (event->ActionShowMessage != TEvent::smNever) {
      window->ShowActivated();
    } else {
      event->Dismiss();
      event->CloseNotification();
    }
  }
}

TEvent& TEvents::Add() { return Add(std::make_unique<TEvent>(LocalDateTimeNow(), FDisplays)); }

TEvent& TEvents::Add(std::unique_ptr<TEvent> event) {
  FItems.push_back(std::move(event));
  return *FItems.back();
}

void TEvents::Delete(const TEvent* event) {
  const auto it =
      std::find_if(FItems.begin(), FItems.end(), [&](const auto& e) { return e.get() == event; });
  if (it == FItems.end()) return;
  std::unique_ptr<TEvent> removed = std::move(*it);
  FItems.erase(it);
}

std::int32_t SnoozeMinutes(const std::string& text) { return ParseDecimal(text).value_or(2); }

std::string SnoozeBoxTextOnExit(const std::string& text) {
  return std::to_string(std::max(SnoozeMinutes(text), 2));
}

std::string NotificationTimeText(const TEvent& event) {
  const TSystemTime trigger = DateTimeToSystemTime(event.Trigger());
  TLocale& locale = *Platform().locale;
  std::string text = locale.FormatDate(trigger, false) + ", " +
                     locale.FormatTime(trigger, TimeFlags::NoSeconds) + " ";
  const std::string recurrence = event.Describe();
  if (!recurrence.empty()) text += " (" + recurrence + ")";
  return text;
}

namespace {

std::string FillFirst(std::string format, std::string_view value) {
  const std::size_t at = format.find("%s");
  return at == std::string::npos ? format : format.replace(at, 2, value);
}

// "2 h 10 min": the two largest units of a number of minutes.
std::string ElapsedText(std::int64_t minutes) {
  const auto count = [](const std::string& format, std::int64_t n) {
    return FormatInteger(format, static_cast<std::int32_t>(n));
  };
  const std::string m = count(GetText("DUE_MINUTES", "%d min"), minutes % 60);
  const std::string h = count(GetText("DUE_HOURS", "%d h"), minutes / 60 % 24);
  if (minutes < 60) return m;
  if (minutes < 1440) return minutes % 60 ? h + " " + m : h;
  const std::string d =
      count(GetText("DUE_DAYS", "%d d"), std::min<std::int64_t>(minutes / 1440, 99999));
  return minutes / 60 % 24 ? d + " " + h : d;
}

}  // namespace

std::string DueNoticeText(const TEvent& event) {
  if (!IsDateTimeInRange(event.DueAt()) || !IsDateTimeInRange(event.FiredAt())) return {};
  const std::int64_t late =
      (DateTimeToMilliseconds(event.FiredAt()) - DateTimeToMilliseconds(event.DueAt())) / 60000;
  if (late < 1) return {};
  const TSystemTime due = DateTimeToSystemTime(event.DueAt());
  // The date only when it was not today.
  const bool today = std::floor(event.DueAt()) == std::floor(event.FiredAt());
  const std::string when = today ? Platform().locale->FormatTime(due, TimeFlags::NoSeconds)
                                 : ShortDateTimeText(event.DueAt());
  return FillFirst(FillFirst(GetText("NOTIFY_DUE", "Due at %s (%s ago)"), when), ElapsedText(late));
}

std::string ShortDateTimeText(TDateTime moment) {
  const TSystemTime time = DateTimeToSystemTime(moment);
  return Platform().locale->FormatDate(time, false) + " " +
         Platform().locale->FormatTime(time, TimeFlags::NoSeconds);
}
