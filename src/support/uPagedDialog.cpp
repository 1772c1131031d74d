#include "support/uPagedDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "support/uDialogControls.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

namespace {

// Dialog units around and between the pages of a tab.
constexpr int kMargin = 6;

RECT WindowRectIn(HWND window, HWND parent) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

HWND TPagedDialog::AddPage(int templateId, HWND parent) {
  FPages.push_back(std::make_unique<TDialogPage>(
      templateId, [this](HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
        return PageMessage(page, msg, wParam, lParam);
      }));
  FPages.back()->CreateChild(parent ? parent : Handle());
  return FPages.back()->Handle();
}

HWND TPagedDialog::PageOf(int id) const {
  for (const auto& page : FPages)
    if (page->Handle() && GetDlgItem(page->Handle(), id)) return page->Handle();
  return Handle();
}

HWND TPagedDialog::Control(int id) const { return GetDlgItem(PageOf(id), id); }

void TPagedDialog::LayOutTabs(int tabsId, const std::vector<std::vector<HWND>>& tabPages,
                              int buttonId) {
  FTabPages = tabPages;
  const HWND tabs = Item(tabsId);
  RECT margin{kMargin, kMargin, 0, 0};
  MapDialogRect(Handle(), &margin);
  // The largest tab sets the size of them all.
  SIZE area{0, 0};
  for (const std::vector<HWND>& pages : tabPages) {
    int height = 0;
    for (const HWND page : pages) {
      const RECT r = WindowRectIn(page, Handle());
      height += (height ? margin.top : 0) + (r.bottom - r.top);
      area.cx = std::max(area.cx, r.right - r.left);
    }
    area.cy = std::max<LONG>(area.cy, height);
  }
  // The tab control around that area; twice, as its rows of tabs follow its width.
  RECT display{};
  for (int pass = 0; pass < 2; ++pass) {
    display = {0, 0, area.cx, area.cy};
    SendMessageW(tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&display));
    OffsetRect(&display, margin.left - display.left, margin.top - display.top);
    SetWindowPos(tabs, nullptr, display.left, display.top, display.right - display.left,
                 display.bottom - display.top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The pages in it, after the tab control in the Tab order.
  RECT inside = display;
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&inside));
  HWND previous = tabs;
  for (const std::vector<HWND>& pages : tabPages) {
    int y = inside.top;
    for (const HWND page : pages) {
      const RECT r = WindowRectIn(page, Handle());
      SetWindowPos(page, previous, inside.left, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
      previous = page;
      y += r.bottom - r.top + margin.top;
    }
  }
  const HWND button = Item(buttonId);
  const RECT bounds = WindowRectIn(button, Handle());
  const int buttonWidth = bounds.right - bounds.left, buttonHeight = bounds.bottom - bounds.top;
  SetWindowPos(button, nullptr, display.right - buttonWidth, display.bottom + margin.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{0, 0, display.right + margin.left, display.bottom + 2 * margin.top + buttonHeight};
  AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TPagedDialog::ShowTabPages(int tabsId, int tab) {
  SendMessageW(Item(tabsId), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  for (std::size_t i = 0; i < FTabPages.size(); ++i)
    for (const HWND page : FTabPages[i])
      ShowWindow(page, static_cast<int>(i) == tab ? SW_SHOWNA : SW_HIDE);
}

void TPagedDialog::SetTrackBar(int id, int minimum, int maximum, int labelId, int tickStep) {
  const HWND page = PageOf(id);
  SetTrackBarRange(page, id, minimum, maximum);
  MakeThinTrackBar(page, id);
  if (tickStep) SendMessageW(Control(id), TBM_SETTICFREQ, static_cast<WPARAM>(tickStep), 0);
  if (labelId) SetControlData(Control(id), reinterpret_cast<std::intptr_t>(Control(labelId)));
}

void TPagedDialog::SetTrackPosition(int id, int position) {
  SetTrackBarPosition(PageOf(id), id, position);
  ShowTrackLabel(Control(id));
}

void TPagedDialog::ShowTrackLabel(HWND track) {
  const auto label = reinterpret_cast<HWND>(GetControlData(track));
  if (!label) return;
  const int position = static_cast<int>(SendMessageW(track, TBM_GETPOS, 0, 0));
  SetWindowTextW(label, Utf8ToWide(TrackLabel(GetDlgCtrlID(track), position)).c_str());
}

INT_PTR TPagedDialog::PageMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_HSCROLL: {
      const auto track = reinterpret_cast<HWND>(lParam);
      if (!track) return TRUE;
      ShowTrackLabel(track);
      if (!FUpdating)
        TrackBarMoved(GetDlgCtrlID(track), static_cast<int>(SendMessageW(track, TBM_GETPOS, 0, 0)));
      return TRUE;
    }
    case WM_DRAWITEM:
      return DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY:
      SetWindowLongPtrW(page, DWLP_MSGRESULT, OnPageNotify(*reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
    default:
      return FALSE;
  }
}
