#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/uDialogBase.h"

// A dialog placed as a control of another window (made with CreateChild), whose
// messages go to its owner's handler: one window's pages, one handler.
class TDialogPage : public TDialogBase {
 public:
  // Answers as a dialog procedure does.
  using THandler = std::function<INT_PTR(HWND page, UINT msg, WPARAM wParam, LPARAM lParam)>;
  TDialogPage(int templateId, THandler handler)
      : TDialogBase(templateId), FHandler(std::move(handler)) {}

 protected:
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    return FHandler(Handle(), msg, wParam, lParam);
  }

 private:
  THandler FHandler;
};

// A dialog whose controls lie on pages: dialog templates placed as its children
// (or as children of another page). A control is reached by its identifier
// whatever page holds it, and every page's messages reach the dialog's own
// handlers, so one window is one class however its pages are cut.
class TPagedDialog : public TDialogBase {
 public:
  // The window of a control of any page, or of the dialog itself.
  HWND Control(int id) const;

 protected:
  using TDialogBase::TDialogBase;

  // Makes a page from its template inside parent (the dialog when none); its handle.
  HWND AddPage(int templateId, HWND parent = nullptr);
  HWND Page(std::size_t index) const { return FPages[index]->Handle(); }
  std::size_t PageCount() const { return FPages.size(); }
  // The page that holds the control, or the dialog when none does.
  HWND PageOf(int id) const;
  // The pages of each tab one under another in the tab control, which grows
  // around the largest tab; then the button under it at the right and the window
  // around both. Each tab shows its pages alone.
  void LayOutTabs(int tabsId, const std::vector<std::vector<HWND>>& tabPages, int buttonId);
  void ShowTabPages(int tabsId, int tab);
  // A slider whose label (when given) shows TrackLabel of its position, as it
  // moves and as it is set; a tick every tickStep when given.
  void SetTrackBar(int id, int minimum, int maximum, int labelId = 0, int tickStep = 0);
  void SetTrackPosition(int id, int position);
  // While the controls are filled from the model, a change of theirs changes nothing.
  bool Updating() const { return FUpdating; }
  void SetUpdating(bool updating) { FUpdating = updating; }

  // A slider moved (not while Updating).
  virtual void TrackBarMoved(int /*id*/, int /*position*/) {}
  virtual std::string TrackLabel(int /*id*/, int position) const {
    return std::to_string(position);
  }
  // A page's WM_NOTIFY; its answer.
  virtual LRESULT OnPageNotify(const NMHDR& /*header*/) { return 0; }
  virtual bool DrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }

 private:
  INT_PTR PageMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
  void ShowTrackLabel(HWND track);

  std::vector<std::unique_ptr<TDialogPage>> FPages;
  std::vector<std::vector<HWND>> FTabPages;
  bool FUpdating = false;
};
