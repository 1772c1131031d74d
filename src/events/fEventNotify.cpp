#include "events/fEventNotify.h"

#include "config/uOptions.h"
#include "support/uDialogControls.h"
#include "support/uModelessWindows.h"
#include "support/uWin32Graphics.h"
#include "support/uWin32Tools.h"

namespace {

constexpr int kDueLineHeight = 10;
constexpr const char* kSnoozeChoices[] = {"5", "10", "15", "20", "25", "30", "45", "60"};

}  // namespace

// What the event holds of its window.
class TEventNotifyLink : public TEventNotifyWindow {
 public:
  explicit TEventNotifyLink(TfrmEventNotify& window) : FWindow(&window) { window.FLink = this; }
  ~TEventNotifyLink() override {
    if (!FWindow) return;
    // Let go by its event (switched off, recomputed): the window goes without reporting back.
    FWindow->FLink = nullptr;
    DestroyWindow(FWindow->Handle());
  }
  TEventNotifyLink(const TEventNotifyLink&) = delete;
  TEventNotifyLink& operator=(const TEventNotifyLink&) = delete;
  void ShowWithoutActivation() override {
    if (FWindow) FWindow->ShowWithoutActivation();
  }
  void ShowActivated() override {
    if (FWindow) FWindow->ShowActivated();
  }
  // The window is gone first.
  void Cut() { FWindow = nullptr; }

 private:
  TfrmEventNotify* FWindow;
};

std::unique_ptr<TEventNotifyWindow> OpenEventNotify(TEvent& event, TOptions& options, HWND owner) {
  TfrmEventNotify* window =
      ModelessWindows().Open(std::make_unique<TfrmEventNotify>(event, options), owner);
  if (!window) return nullptr;
  return std::make_unique<TEventNotifyLink>(*window);
}

bool TfrmEventNotify::OnInitDialog() {
  // 16 pixels at 96 dpi, and as much larger as the text of the monitor it opens on is.
  FBellFont.reset(CreateFontW(-ScaledForWindow(Handle(), 16), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                              FALSE, SYMBOL_CHARSET, 0, 0, 0, 0, L"Wingdings"));
  SendMessageW(Item(BellId), WM_SETFONT, reinterpret_cast<WPARAM>(FBellFont.get()), FALSE);
  FTimeFont = CreateBoldDialogFont(Handle());
  if (FTimeFont)
    SendMessageW(Item(TimeId), WM_SETFONT, reinterpret_cast<WPARAM>(FTimeFont.get()), FALSE);
  SendMessageW(Item(SnoozeBoxId), CB_LIMITTEXT, 2, 0);
  for (const char* minutes : kSnoozeChoices) AddComboItem(Handle(), SnoozeBoxId, minutes);
  SetControlText(Handle(), SnoozeBoxId, "5");
  // Cascaded from the centre, so that windows of one minute do not hide each other.
  RECT r{};
  GetWindowRect(Handle(), &r);
  // The others open before it; it is not among them until it is made.
  const auto earlier = static_cast<int>(ModelessWindows().OfClass<TfrmEventNotify>().size());
  const int offset = earlier % 10 * GetSystemMetrics(SM_CYCAPTION);
  SetWindowPos(Handle(), nullptr, r.left + offset, r.top + offset, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void TfrmEventNotify::FormShow() {
  SetControlText(Handle(), TimeId, NotificationTimeText(FEvent));
  SetControlText(Handle(), MessageId, FEvent.Message);
  ShowDueLine(DueNoticeText(FEvent));
  SetControlText(Handle(), SnoozeBoxId, std::to_string(FOptions.LastSnoozeTime));
}

void TfrmEventNotify::ShowDueLine(const std::string& text) {
  SetControlText(Handle(), DueId, text);
  if (text.empty() || IsWindowVisible(Item(DueId))) return;
  RECT step{0, 0, 0, kDueLineHeight};
  MapDialogRect(Handle(), &step);
  for (const int id : {RemindMeAgainId, SnoozeBoxId, MinutesId, RemindMeLaterId, OKId}) {
    RECT r{};
    GetWindowRect(Item(id), &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(Item(id), nullptr, r.left, r.top + step.bottom, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT window{};
  GetWindowRect(Handle(), &window);
  SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left,
               window.bottom - window.top + step.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  FPanelHeight += kDueLineHeight;
  ShowWindow(Item(DueId), SW_SHOWNA);
}

void TfrmEventNotify::ShowWithoutActivation() {
  const bool appears = !IsWindowVisible(Handle());
  ShowAs(SW_SHOWNA);
  // Without the focus a screen reader hears of the window only as an alert, as of a message box.
  if (appears) NotifyWinEvent(EVENT_SYSTEM_ALERT, Handle(), OBJID_CLIENT, CHILDID_SELF);
}

void TfrmEventNotify::ShowActivated() {
  ShowAs(SW_SHOW);
  SetForegroundWindow(Handle());
}

void TfrmEventNotify::ShowAs(int command) {
  // Filled as it appears: one already shown keeps the minutes the user typed.
  if (!IsWindowVisible(Handle())) FormShow();
  ShowWindow(Handle(), command);
}

void TfrmEventNotify::FormPaint() {
  TPaintDC dc(Handle());
  RECT panel{0, 0, 1, FPanelHeight};
  MapDialogRect(Handle(), &panel);
  RECT client{};
  GetClientRect(Handle(), &client);
  panel.right = client.right;
  FillRect(dc.get(), &panel, GetSysColorBrush(COLOR_WINDOW));
}

INT_PTR TfrmEventNotify::DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT:
      FormPaint();
      return TRUE;
    case WM_CTLCOLORSTATIC: {
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (id != BellId && id != TimeId && id != MessageId && id != DueId) return FALSE;
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    }
    case WM_CLOSE:
      FormClose();
      return TRUE;
    default:
      return TDialogBase::DlgProc(msg, wParam, lParam);
  }
}

void TfrmEventNotify::OnCommand(int id, int notification) {
  // Each answer ends the window, and with it this object: nothing may follow it.
  if (id == OKId && notification == BN_CLICKED)
    btOKClick();
  else if (id == RemindMeLaterId && notification == BN_CLICKED)
    btRemindMeLaterClick();
  else if (id == SnoozeBoxId && notification == CBN_KILLFOCUS)
    cbRemindMeLaterExit();
  // Neither button is the default or the cancel button: Enter and Esc do nothing.
}

void TfrmEventNotify::btOKClick() {
  FDismissOnClose = false;
  FEvent.Dismiss();
  End(IDOK);
}

void TfrmEventNotify::btRemindMeLaterClick() {
  // Clicked with the mouse, the box has already raised a value below 2; by its
  // access key the typed value counts as it is.
  const std::int32_t minutes = SnoozeMinutes(ControlText(Handle(), SnoozeBoxId));
  FEvent.RemindLater(minutes);
  FOptions.LastSnoozeTime = minutes;
  FDismissOnClose = false;
  End(IDOK);
}

void TfrmEventNotify::cbRemindMeLaterExit() {
  SetControlText(Handle(), SnoozeBoxId, SnoozeBoxTextOnExit(ControlText(Handle(), SnoozeBoxId)));
}

void TfrmEventNotify::FormClose() {
  if (FDismissOnClose) FEvent.Dismiss();
  End(IDCANCEL);
}

void TfrmEventNotify::OnDestroyed() {
  if (!FLink) return;
  FLink->Cut();
  FLink = nullptr;
  // The event lets go of its link; the modeless windows free this object later.
  FEvent.NotifyWindowDestroyed();
}
