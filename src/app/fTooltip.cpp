#include "app/fTooltip.h"

#include "support/uGdiCanvas.h"
#include "support/uWin32Tools.h"

TfrmTooltip::TfrmTooltip() {
  RegisterWindowClass(ClassName, 0, GetSysColorBrush(COLOR_INFOBK));
  CreateHandle(WS_EX_TOOLWINDOW, ClassName, L"", WS_POPUP, RECT{0, 0, 180, 60}, nullptr);
}

TfrmTooltip::~TfrmTooltip() { DestroyHandle(); }

void TfrmTooltip::ShowAt(const TRect& bounds) {
  SetWindowPos(Handle(), HWND_TOPMOST, bounds.left, bounds.top, bounds.Width(), bounds.Height(),
               SWP_NOACTIVATE);
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TfrmTooltip::FormPaint() {
  const TPaintDC dc(Handle());
  if (!dc.get()) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  TGdiCanvas canvas(dc.get());
  PaintTooltip(canvas, {client.left, client.top, client.right, client.bottom}, FTooltip.Text(),
               static_cast<TColor>(GetSysColor(COLOR_INFOBK)),
               static_cast<TColor>(GetSysColor(COLOR_INFOTEXT)), WindowDpi(Handle()));
}

LRESULT TfrmTooltip::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam == TimerId) FTooltip.TimerTick();
      return 0;
    case WM_PAINT:
      FormPaint();
      return 0;
    default:
      return DefaultHandler(msg, wParam, lParam);
  }
}
