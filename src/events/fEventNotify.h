#pragma once

#include <windows.h>

#include <memory>

#include "events/uEvents.h"
#include "resources/uResourceIds.h"
#include "support/uDialogBase.h"
#include "support/uWinHandles.h"

class TOptions;

class TEventNotifyLink;

// The window of an event that fired: what is due, and the two answers, OK or
// remind me again later. Closing it any other way acknowledges the event, as OK
// does. The program's modeless windows hold it; its event holds a link to it,
// which closes it when the event lets go, and which it reports its end through.
class TfrmEventNotify : public TDialogBase {
 public:
  static constexpr int TemplateId = IDD_NOTIFY;
  static constexpr int RemindMeAgainId = IDC_NOTIFY_REMIND_ME_AGAIN;
  static constexpr int MinutesId = IDC_NOTIFY_MINUTES;
  static constexpr int RemindMeLaterId = IDC_NOTIFY_REMIND_ME_LATER;
  static constexpr int OKId = IDC_NOTIFY_OK;
  static constexpr int BellId = IDC_NOTIFY_BELL;
  static constexpr int TimeId = IDC_NOTIFY_TIME;
  static constexpr int MessageId = IDC_NOTIFY_MESSAGE;
  static constexpr int SnoozeBoxId = IDC_NOTIFY_SNOOZE_BOX;
  static constexpr int DueId = IDC_NOTIFY_DUE;

  TfrmEventNotify(TEvent& event, TOptions& options)
      : TDialogBase(TemplateId), FEvent(event), FOptions(options) {}

  void ShowWithoutActivation();
  void ShowActivated();

 protected:
  bool OnInitDialog() override;
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int notification) override;
  void OnDestroyed() override;

 private:
  void FormShow();
  // Under the message, with the window grown to hold it, when there is one.
  void ShowDueLine(const std::string& text);
  void ShowAs(int command);
  void FormClose();
  void btOKClick();
  void btRemindMeLaterClick();
  void cbRemindMeLaterExit();
  void FormPaint();

  friend class TEventNotifyLink;
  TEvent& FEvent;
  TOptions& FOptions;
  // Cleared when the event has let go of the window first.
  TEventNotifyLink* FLink = nullptr;
  // Until an answer button closes the window, closing it acknowledges the event.
  bool FDismissOnClose = true;
  // The top panel's height in dialog units (68 pixels at 96 dpi); grows with the due line.
  int FPanelHeight = 42;
  TUniqueFont FBellFont;
  TUniqueFont FTimeFont;
};

// Opens the notification window of an event hidden, under owner, among the
// program's modeless windows; the event keeps what this returns. None when the
// window could not be made.
std::unique_ptr<TEventNotifyWindow> OpenEventNotify(TEvent& event, TOptions& options, HWND owner);
