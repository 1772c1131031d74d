#pragma once

#include <windows.h>

#include "events/uEvents.h"
#include "support/uDialogBase.h"
#include "support/uWinHandles.h"

class TOptions;

// The window of an event that fired: what is due, and the two answers, OK or
// remind me again later. Closing it any other way acknowledges the event, as OK
// does. The event owns it; it reports its end to the event, which frees it.
class TfrmEventNotify : public TDialogBase, public TEventNotifyWindow {
 public:
  static constexpr int TemplateId = 4900;
  static constexpr int RemindMeAgainId = 4901;
  static constexpr int MinutesId = 4902;
  static constexpr int RemindMeLaterId = 4903;
  static constexpr int OKId = 4904;
  static constexpr int BellId = 4910;
  static constexpr int TimeId = 4911;
  static constexpr int MessageId = 4912;
  static constexpr int SnoozeBoxId = 4913;

  // Made hidden, owned by owner.
  TfrmEventNotify(TEvent& event, TOptions& options, HWND owner);
  ~TfrmEventNotify() override;

  void ShowWithoutActivation() override;
  void ShowActivated() override;

 protected:
  bool OnInitDialog() override;
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int notification) override;
  void OnDestroyed() override;

 private:
  void FormShow();
  void ShowAs(int command);
  void FormClose();
  void btOKClick();
  void btRemindMeLaterClick();
  void cbRemindMeLaterExit();
  void FormPaint();

  TEvent& FEvent;
  TOptions& FOptions;
  // Until an answer button closes the window, closing it acknowledges the event.
  bool FDismissOnClose = true;
  TUniqueFont FBellFont;
  TUniqueFont FTimeFont;
};
