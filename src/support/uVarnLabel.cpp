#include "support/uVarnLabel.h"

#include <commctrl.h>

#include "support/uWindowBase.h"

TVarnLabel::~TVarnLabel() {
  if (FLabel) RemoveWindowSubclass(FLabel, &GuardedSubclassProc<&SubclassProc>, 0);
}

void TVarnLabel::Attach(HWND label) {
  FLabel = label;
  SetWindowSubclass(label, &GuardedSubclassProc<&SubclassProc>, 0,
                    reinterpret_cast<DWORD_PTR>(this));
}

void TVarnLabel::SetHot(bool hot) {
  if (hot == FHot) return;
  FHot = hot;
  if (!ChangeWithMouse) return;
  ApplyStyle(hot);
  InvalidateRect(FLabel, nullptr, TRUE);
}

void TVarnLabel::ApplyStyle(bool hot) {
  if (!hot) {
    if (FSavedFont) SendMessageW(FLabel, WM_SETFONT, reinterpret_cast<WPARAM>(FSavedFont), FALSE);
    FSavedFont = nullptr;
    return;
  }
  FSavedFont = reinterpret_cast<HFONT>(SendMessageW(FLabel, WM_GETFONT, 0, 0));
  LOGFONTW font{};
  const HGDIOBJ source = FSavedFont ? FSavedFont : GetStockObject(DEFAULT_GUI_FONT);
  if (GetObjectW(source, sizeof(font), &font) == 0) return;
  font.lfWeight = ActiveStyle.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = ActiveStyle.italic;
  font.lfUnderline = ActiveStyle.underline;
  font.lfStrikeOut = ActiveStyle.strikeOut;
  FActiveFont.reset(CreateFontIndirectW(&font));
  if (FActiveFont)
    SendMessageW(FLabel, WM_SETFONT, reinterpret_cast<WPARAM>(FActiveFont.get()), FALSE);
}

LRESULT TVarnLabel::SubclassProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR self) {
  auto* label = reinterpret_cast<TVarnLabel*>(self);
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!label->FHot) {
        // Ask for the leave message that ends the hot state.
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, w, 0};
        TrackMouseEvent(&track);
      }
      label->SetHot(true);
      break;
    case WM_MOUSELEAVE:
      label->SetHot(false);
      break;
    case WM_SETCURSOR:
      if (label->HandCursor) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    // Reached by Tab (when it is a tab stop), it answers Enter and Space as a click does and
    // shows the focus as a dotted frame.
    case WM_GETDLGCODE:
      if (const auto* key = reinterpret_cast<const MSG*>(lp);
          key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
        return DLGC_WANTMESSAGE;
      break;
    case WM_KEYDOWN:
      if (wp == VK_RETURN || wp == VK_SPACE) {
        SendMessageW(GetParent(w), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(w), STN_CLICKED),
                     reinterpret_cast<LPARAM>(w));
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(w, nullptr, TRUE);
      break;
    case WM_PAINT: {
      const LRESULT result = DefSubclassProc(w, msg, wp, lp);
      if (GetFocus() == w) {
        TWindowDC dc(w);
        RECT r{};
        GetClientRect(w, &r);
        DrawFocusRect(dc.get(), &r);
      }
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(w, &GuardedSubclassProc<&SubclassProc>, 0);
      label->FLabel = nullptr;
      break;
    default:
      break;
  }
  return DefSubclassProc(w, msg, wp, lp);
}
