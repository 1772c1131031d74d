#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "support/uWinHandles.h"

// A dialog from a DIALOGEX template of the program's resources, driven by the
// system's dialog manager (Tab order, access keys, Enter, Esc). One
// dialog-procedure thunk serves every dialog; the object is kept with the
// window and every message goes to DlgProc. Modal dialogs run their own loop;
// modeless ones are handed to the program's message loop through
// IsDialogMessageForAny. On creation the dialog is translated by its
// template's number and its controls' identifiers.
class TDialogBase {
 public:
  virtual ~TDialogBase();
  TDialogBase(const TDialogBase&) = delete;
  TDialogBase& operator=(const TDialogBase&) = delete;

  // Runs the dialog until it ends; the value End was given.
  INT_PTR ShowModal(HWND owner);
  // Makes the dialog; it is shown when its template says so or on Show.
  void CreateModeless(HWND owner);
  // Makes the dialog as a control of parent, whose keyboard handling takes it in.
  void CreateChild(HWND parent);
  void Show() const;
  HWND Handle() const { return FHandle.get(); }
  bool IsModal() const { return FModal; }
  // The tab control that Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PgDn and Ctrl+PgUp step through; none by
  // default.
  virtual HWND TabControl() const { return nullptr; }

  // For the message loop: true when the message was a modeless dialog's keystroke (a tab switch
  // or one for the dialog manager), now handled.
  static bool IsDialogMessageForAny(MSG& msg);
  // Translates every dialog by its template's number and its controls' identifiers as it is
  // made; the program's root installs it (none: the template's own texts).
  using TTranslate = void (*)(HWND dialog, int templateId);
  static void SetTranslation(TTranslate translate);
  // Opens the help at the section of a dialog template, on F1 in any dialog; a page of a dialog
  // answers for itself. The program's root installs it (none: F1 does nothing).
  using THelp = void (*)(int templateId);
  static void SetHelp(THelp help);
  // The DPI the dialog is laid out for: its monitor's when it was made, then each new one.
  int Dpi() const { return FDpi; }
  // Told when the window is gone, at its very last message; the holder of
  // modeless windows frees the dialog later on it.
  void SetGoneHandler(std::function<void()> gone) { FGone = std::move(gone); }

 protected:
  explicit TDialogBase(int templateId) : FTemplateId(templateId) {}
  // Answers as a dialog procedure does: TRUE when the message was handled.
  virtual INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam);
  // The controls exist: fill them from the model. True lets the system set the focus.
  virtual bool OnInitDialog() { return true; }
  // A control's command. The default ends the dialog on OK and Cancel (Enter and Esc).
  virtual void OnCommand(int id, int notification);
  // The window is gone (the handle is already cleared). The last call the
  // dialog gets from its window, so a modeless dialog may free itself here.
  virtual void OnDestroyed() {}
  // Opens the help at the section of a template, as F1 does.
  static void OpenHelp(int templateId);
  // Ends a modal dialog with result, or destroys a modeless one.
  void End(INT_PTR result);
  HWND Item(int id) const { return GetDlgItem(Handle(), id); }

 private:
  static INT_PTR CALLBACK StaticDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
  void SetProgramIcons();
  // Moved onto a monitor of another DPI: every control's place, size and font grow by the new
  // DPI over the old, and the window takes the rectangle the system suggests.
  void DpiChanged(int dpi, const RECT& suggested);
  int FTemplateId;
  // Counted with the other windows; the system's dialog manager destroys a modal one.
  TUniqueWindow FHandle;
  // The title bar's and task bar's icons, which the window does not free.
  TUniqueIcon FBigIcon;
  TUniqueIcon FSmallIcon;
  std::function<void()> FGone;
  // The fonts made for the controls at the current DPI; the ones of the DPI before go once no
  // control uses them any more.
  std::vector<TUniqueFont> FScaledFonts;
  int FDpi = 96;
  bool FModal = false;
  bool FChild = false;
};
