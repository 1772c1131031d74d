#include "app/fCalendar.h"

#include <commctrl.h>

#include <algorithm>

#include "support/uPlatform.h"
#include "support/uTools.h"

bool TfrmCalendar::OnInitDialog() {
  // The whole client area is the calendar: 185 x 153, or what the control needs.
  const HWND calendar = Item(CalendarId);
  RECT need{0, 0, 185, 153};
  MonthCal_GetMinReqRect(calendar, &need);
  const int width = std::max(185L, need.right - need.left);
  const int height = std::max(153L, need.bottom - need.top);
  SetWindowPos(calendar, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
  const TPoint size{frame.right - frame.left, frame.bottom - frame.top};
  // Centred on the cursor, 16 px inside the work area.
  const TPoint p = Platform().desktop ? Platform().desktop->CursorPos() : TPoint{};
  const TPoint at = FitOnMonitor({p.x - size.x / 2, p.y - size.y / 2}, size, p);
  SetWindowPos(Handle(), nullptr, at.x, at.y, size.x, size.y, SWP_NOZORDER | SWP_NOACTIVATE);
  const TSystemTime today = Platform().clock->LocalNow();
  SYSTEMTIME date{today.wYear, today.wMonth, today.wDayOfWeek, today.wDay, 0, 0, 0, 0};
  MonthCal_SetCurSel(calendar, &date);
  return true;
}
