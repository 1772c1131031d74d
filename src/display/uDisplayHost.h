#pragma once

class TDisplay;

// What a display window needs from the program around it: the busy state,
// the popup menu and the application's own window.
class TDisplayHost {
 public:
  virtual ~TDisplayHost() = default;
  // No preferences window, display preferences window, event editor or about box is open.
  virtual bool IsIdle() const = 0;
  virtual bool DisplayPreferencesOpen() const = 0;
  virtual bool MenuOpen() const = 0;
  virtual void ShowPopupMenu(TDisplay& display) = 0;
  // Takes the activation away from a display that hides.
  virtual void ActivateApplication() = 0;
  // Shows the pending event notifications (or acknowledges those never shown).
  virtual void ShowNotifications() = 0;
  // Something a display shows or does may have moved the clock's next tick; asked often, so
  // it only notes the request.
  virtual void ScheduleChanged() {}
};
