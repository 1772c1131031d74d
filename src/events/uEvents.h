#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "config/uRegistryHive.h"
#include "config/uStoredValues.h"
#include "events/uEventRule.h"
#include "support/uDateTime.h"
#include "support/uTypes.h"

class TDisplayList;
class TEvent;
class TVarnRegistry;

// The window of a pending notification. The event that fired owns it; a
// window the user closes tells its event through NotifyWindowDestroyed.
class TEventNotifyWindow {
 public:
  virtual ~TEventNotifyWindow() = default;
  // Appears without taking the keyboard focus from the user's work.
  virtual void ShowWithoutActivation() = 0;
  // Appears activated, in front.
  virtual void ShowActivated() = 0;
};

// Makes the notification window of an event that fired, hidden. The program
// installs it at start-up; with none an event notifies by sound and flash only.
using TMakeNotifyWindow = std::function<std::unique_ptr<TEventNotifyWindow>(TEvent&)>;
TMakeNotifyWindow& NotifyWindowMaker();

// A reminder or alarm: when it is due, how it repeats and what it does then.
// Weekdays are numbered 0 Monday to 6 Sunday. Everything runs on the UI thread.
class TEvent {
 public:
  static constexpr std::uint8_t AllDays = TEventRule::AllDays;
  enum : std::uint8_t { stWaiting = 0, stSnoozed = 1, stDone = 2 };
  using enum TEventRule::TRepeat;
  enum : std::int32_t { smOnClick = 0, smAutomatic = 1, smNever = 2 };

  // A new event, due at now (seconds cleared). Flashing reaches the primary of displays.
  explicit TEvent(TDateTime now, TDisplayList* displays = nullptr);
  ~TEvent();
  TEvent(const TEvent&) = delete;
  TEvent& operator=(const TEvent&) = delete;

  TDateTime Trigger() const { return FTrigger; }
  // Keeps t without its seconds; a moment outside the years 1 to 9999 is refused.
  void SetTrigger(TDateTime t);
  bool Active() const { return FActive; }
  void SetActive(bool active);

  // To the first occurrence after now; a one-shot event due by now is done if expirePassed.
  void UpdateTrigger(TDateTime now, bool expirePassed, bool keepWindow);
  void Check(TDateTime now);
  // due and now: when it was due and when it fires, which differ after a sleep or a busy spell.
  void Fire(TDateTime due = 0, TDateTime now = 0);
  TDateTime DueAt() const { return FDueAt; }
  TDateTime FiredAt() const { return FFiredAt; }
  void Dismiss();
  void RemindLater(std::int32_t minutes);
  void StopActions();
  void CloseNotification();
  // The recurrence as the menus and the notification show it; empty for a one-shot event.
  std::string Describe() const;

  void SaveToRegistry(TVarnRegistry& registry, bool actionsOnly) const;
  void LoadFromRegistry(TVarnRegistry& registry, bool actionsOnly);

  // Set between Fire and the end of that notification.
  TEventNotifyWindow* NotifyWindow() const { return FNotifyWindow.get(); }
  // The user closed the notification window: the event lets the object go.
  void NotifyWindowDestroyed();

  std::uint8_t State = stWaiting;
  TDateTime SnoozeTime = 0;
  std::uint8_t Repeat = rpOnce;
  std::string Message;
  std::uint8_t RepeatDaily = AllDays;
  std::uint8_t RepeatWeekly = 0;
  std::uint8_t RepeatMonthly = 1;
  std::int32_t ActionShowMessage = smAutomatic;
  bool ActionPlaySound = false;
  bool ActionFlashDisplay = true;
  bool ActionExecuteCommand = false;
  std::string Sound;
  bool SoundLoop = false;
  std::string Command;
  TColor FlashFill = 0x000000;
  TColor FlashOutline = 0x0000FF;

 private:
  static std::span<const TStoredValue<TEvent>> ScheduleValues();
  static std::span<const TStoredValue<TEvent>> ActionValues();
  TEventRule Rule() const;
  void SetRule(const TEventRule& rule);

  TDisplayList* FDisplays;
  TDateTime FTrigger = 0;
  TDateTime FDueAt = 0;
  TDateTime FFiredAt = 0;
  bool FActive = false;
  std::unique_ptr<TEventNotifyWindow> FNotifyWindow;
  // Values of the event's key that this version does not know, written back unchanged.
  std::vector<std::pair<std::string, TRegData>> FUnknownValues;
};

// Every event of the program, in the order of creation and of their stored keys.
class TEvents {
 public:
  // The list holds at most this many events.
  static constexpr std::size_t MaxEvents = 8;

  explicit TEvents(TDisplayList* displays = nullptr) : FDisplays(displays) {}
  ~TEvents();
  TEvents(const TEvents&) = delete;
  TEvents& operator=(const TEvents&) = delete;

  void Load();
  // Writes only after a completed Load, so a failed load loses nothing stored.
  void Save();
  // Fires every event due at the current local time.
  void CheckAll();
  // After a change of the system time: every event to its next occurrence.
  void UpdateAll();
  // The pending notifications appear (or are acknowledged, for those never shown).
  void ShowNotifications();

  // A new event, appended; the list takes it whatever its length.
  TEvent& Add();
  TEvent& Add(std::unique_ptr<TEvent> event);
  void Delete(const TEvent* event);
  std::size_t Count() const { return FItems.size(); }
  TEvent& operator[](std::size_t i) const { return *FItems[i]; }

 private:
  TDisplayList* FDisplays;
  std::vector<std::unique_ptr<TEvent>> FItems;
  bool FLoaded = false;
};

// The snooze box: the minutes its text asks for (2 for a text that is no number) ...
std::int32_t SnoozeMinutes(const std::string& text);
// ... and the text it shows when the focus leaves it: that number, at least 2.
std::string SnoozeBoxTextOnExit(const std::string& text);
// The notification's time line: the due date and time, then the recurrence in brackets.
std::string NotificationTimeText(const TEvent& event);
// When a notification that comes a minute or more late was due, and how long ago, counted on
// the wall clock as the due time is; empty for one on time.
std::string DueNoticeText(const TEvent& event);
// The locale's short date and short time of moment.
std::string ShortDateTimeText(TDateTime moment);
