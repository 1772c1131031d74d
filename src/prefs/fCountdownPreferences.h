#pragma once

#include "prefs/fDisplayPreferences.h"

class TDisplayCountdown;

// A countdown: its alignment with the general settings, then its final moment, the counter's
// units and the texts around it on three tabs.
class TfrmDisplayPreferencesCountdown : public TacDisplayPreferencesDigital {
 public:
  static constexpr int TemplateId = IDD_COUNTDOWN;
  static constexpr int TodayId = IDC_COUNTDOWN_TODAY;
  static constexpr int AddDayId = IDC_COUNTDOWN_ADD_DAY;
  static constexpr int AddWeekId = IDC_COUNTDOWN_ADD_WEEK;
  static constexpr int FinalDateId = IDC_COUNTDOWN_FINAL_DATE;
  static constexpr int FinalTimeId = IDC_COUNTDOWN_FINAL_TIME;
  static constexpr int VisibilityId = IDC_COUNTDOWN_VISIBILITY_DAYS;  // to seconds
  static constexpr int BeforeId = IDC_COUNTDOWN_DAYS_BEFORE;          // to seconds
  static constexpr int AfterId = IDC_COUNTDOWN_DAYS_AFTER;            // to seconds
  static constexpr int ZeroTextId = IDC_COUNTDOWN_ZERO_TEXT;
  TfrmDisplayPreferencesCountdown(TDisplay& display, TDisplayPreferencesContext& context,
                                  HWND owner)
      : TacDisplayPreferencesDigital(TemplateId, {IDD_COUNTDOWN_GENERAL_PAGE},
                                     {{"3201", "Final time", {IDD_COUNTDOWN_FINAL_TIME_PAGE}},
                                      {"3202", "Counter format", {IDD_COUNTDOWN_COUNTER_PAGE}},
                                      {"3203", "Text", {IDD_COUNTDOWN_TEXT_PAGE}}},
                                     display, context, owner) {}

 protected:
  void SetUpControls() override;
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
  LRESULT OnPageNotify(const NMHDR& header) override;

 private:
  TDisplayCountdown& Countdown() const;
  void LoadFinalTime();
  void LoadVisibility();
  void VisibilityChanged();
  void CounterTextsChanged();
};
