#include "support/VarnColorButton.h"

#include <commctrl.h>

#include <string>

#include "support/uColorButtonLayout.h"
#include "support/uWinHandles.h"
#include "support/uWindowBase.h"

namespace {

RECT ToRect(const TRect& r) { return {r.left, r.top, r.right, r.bottom}; }

std::wstring Caption(HWND button) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(button)) + 1, L'\0');
  GetWindowTextW(button, text.data(), static_cast<int>(text.size()));
  text.resize(text.size() - 1);
  return text;
}

void DrawCaption(HDC dc, const std::wstring& text, RECT r, COLORREF colour) {
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace

TVarnColorButton::~TVarnColorButton() {
  if (FButton) RemoveWindowSubclass(FButton, &GuardedSubclassProc<&SubclassProc>, 0);
}

void TVarnColorButton::Attach(HWND button) {
  FButton = button;
  const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  FDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  SetWindowLongPtrW(button, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
  SetWindowSubclass(button, &GuardedSubclassProc<&SubclassProc>, 0,
                    reinterpret_cast<DWORD_PTR>(this));
  InvalidateRect(button, nullptr, TRUE);
}

void TVarnColorButton::SetColorValue(TColor color) {
  if (color == FColor) return;
  FColor = color;
  if (FButton) InvalidateRect(FButton, nullptr, FALSE);
}

LRESULT TVarnColorButton::SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR self) {
  auto* button = reinterpret_cast<TVarnColorButton*>(self);
  switch (msg) {
    case BM_SETSTYLE: {
      // The dialog manager moves the default mark with this; the button stays owner-drawn.
      const bool isDefault = (wp & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
      const LRESULT result = DefSubclassProc(w, msg, (wp & ~BS_TYPEMASK) | BS_OWNERDRAW, lp);
      if (isDefault != button->FDefault) {
        button->FDefault = isDefault;
        InvalidateRect(w, nullptr, FALSE);
      }
      return result;
    }
    case WM_LBUTTONDBLCLK:
      // A quick second click is a click.
      return DefSubclassProc(w, WM_LBUTTONDOWN, wp, lp);
    case WM_ENABLE:
    case WM_SETFONT: {
      const LRESULT result = DefSubclassProc(w, msg, wp, lp);
      InvalidateRect(w, nullptr, FALSE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(w, &GuardedSubclassProc<&SubclassProc>, 0);
      button->FButton = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(w, msg, wp, lp);
}

bool TVarnColorButton::DrawItem(const DRAWITEMSTRUCT& request) const {
  if (request.CtlType != ODT_BUTTON || request.hwndItem != FButton) return false;
  const HDC dc = request.hDC;
  const RECT& c = request.rcItem;
  const bool pressed = request.itemState & ODS_SELECTED;
  const bool disabled = request.itemState & ODS_DISABLED;
  const std::wstring caption = Caption(FButton);
  const TColorButtonLayout layout =
      LayoutColorButton({c.left, c.top, c.right, c.bottom}, FDefault, pressed,
                        request.itemState & ODS_FOCUS, disabled, !caption.empty());
  if (layout.defaultFrame) {
    const RECT r = ToRect(*layout.defaultFrame);
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
  }
  RECT frame = ToRect(layout.frame);
  if (layout.flatFrame) {
    TUniquePen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    TSelectObject pen(dc, shadow.get());
    TSelectObject brush(dc, GetSysColorBrush(COLOR_BTNFACE));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
  } else {
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (disabled ? DFCS_INACTIVE : 0));
  }
  if (!caption.empty()) {
    TSelectObject font(dc, reinterpret_cast<HFONT>(SendMessageW(FButton, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    RECT r = ToRect(layout.caption);
    if (disabled) {
      // Embossed: a light copy one pixel down and right under the shadowed one.
      RECT light{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
      DrawCaption(dc, caption, light, GetSysColor(COLOR_BTNHIGHLIGHT));
      DrawCaption(dc, caption, r, GetSysColor(COLOR_BTNSHADOW));
    } else {
      DrawCaption(dc, caption, r, GetSysColor(COLOR_BTNTEXT));
    }
  }
  RECT edge = ToRect(layout.swatchEdge);
  DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
  const RECT swatch = ToRect(layout.swatch);
  if (layout.cross) {
    TUniquePen shadow(CreatePen(PS_SOLID, 2, GetSysColor(COLOR_BTNSHADOW)));
    TSelectObject pen(dc, shadow.get());
    MoveToEx(dc, swatch.left, swatch.top, nullptr);
    LineTo(dc, swatch.right, swatch.bottom);
    MoveToEx(dc, swatch.right, swatch.top, nullptr);
    LineTo(dc, swatch.left, swatch.bottom);
  } else {
    TUniqueBrush colour(CreateSolidBrush(static_cast<COLORREF>(FColor)));
    FillRect(dc, &swatch, colour.get());
  }
  if (layout.focus) {
    const RECT r = ToRect(*layout.focus);
    DrawFocusRect(dc, &r);
  }
  return true;
}
