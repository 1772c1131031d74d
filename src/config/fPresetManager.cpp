#include "config/fPresetManager.h"

#include "config/uMultilanguage.h"
#include "config/uPresets.h"
#include "support/uDialogControls.h"
#include "support/uTools.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

bool TfrmPresetManager::OnInitDialog() {
  SendMessageW(Item(NewNameId), EM_LIMITTEXT, 40, 0);
  PlaceOverOwner(Handle());
  Refill();
  // In save mode the name box takes the focus; otherwise the system's choice.
  return !FSaveMode;
}

void TfrmPresetManager::Refill() {
  FManager.Refresh();
  SendMessageW(Item(PresetsId), LB_RESETCONTENT, 0, 0);
  for (const std::string& name : FManager.Names())
    SendMessageW(Item(PresetsId), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
  if (FSaveMode) {
    SetControlText(Handle(), OKId, GetText("5005", "Save"));
    SetFocus(Item(NewNameId));
  }
  UpdateButtons();
}

void TfrmPresetManager::UpdateButtons() {
  const bool selected = SendMessageW(Item(PresetsId), LB_GETCURSEL, 0, 0) >= 0;
  EnableControl(Handle(), OKId, selected || FSaveMode);
  EnableControl(Handle(), RenameId, selected);
  EnableControl(Handle(), DeleteId, selected);
}

std::string TfrmPresetManager::SelectedName() const {
  const auto index = SendMessageW(Item(PresetsId), LB_GETCURSEL, 0, 0);
  if (index < 0) return {};
  const auto length = SendMessageW(Item(PresetsId), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
  SendMessageW(Item(PresetsId), LB_GETTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  return WideToUtf8(text.c_str());
}

void TfrmPresetManager::FocusName() {
  SendMessageW(Item(NewNameId), EM_SETSEL, 0, -1);
  SetFocus(Item(NewNameId));
}

bool TfrmPresetManager::Ask(const std::string& text, UINT buttons) {
  wchar_t caption[128] = {};
  GetWindowTextW(Handle(), caption, 128);
  const std::wstring message = Utf8ToWide(text);
  const int answer = MessageBoxW(Handle(), message.c_str(), caption, buttons);
  return answer == IDYES || answer == IDOK;
}

void TfrmPresetManager::lbPresetsClick() {
  UpdateButtons();
  const std::string name = SelectedName();
  if (!name.empty()) SetControlText(Handle(), NewNameId, name);
}

void TfrmPresetManager::btOKClick() {
  if (!FSaveMode) {
    FChosen = SelectedName();
    if (!FChosen.empty()) End(IDOK);
    return;
  }
  const std::string name = ControlText(Handle(), NewNameId);
  if (name.empty()) {
    FocusName();
    Ask(GetText("MSG_PM_SELECT",
                "Select an existing preset or enter a name to create a new preset."),
        MB_OK | MB_ICONERROR);
    return;
  }
  if (FManager.Contains(name) && !Ask(GetText("MSG_PM_OVERWRITE", "Overwrite the existing preset?"),
                                      MB_YESNO | MB_ICONQUESTION)) {
    FocusName();
    return;
  }
  FChosen = name;
  End(IDOK);
}

void TfrmPresetManager::btRenameClick() {
  const std::string oldName = SelectedName(), newName = ControlText(Handle(), NewNameId);
  if (oldName.empty()) return;
  if (oldName == newName) {
    FocusName();
  } else if (FManager.Contains(newName)) {
    Ask(ReplaceAll(GetText("MSG_PM_EXISTS", "Preset \"%s\" already exists."), "%s", newName),
        MB_OK | MB_ICONERROR);
  } else {
    FManager.RenamePreset(oldName, newName);
    Refill();
  }
}

void TfrmPresetManager::btDeleteClick() {
  const std::string name = SelectedName();
  if (name.empty() ||
      !Ask(GetText("MSG_PM_DELETE", "Delete the selected preset?"), MB_YESNO | MB_ICONQUESTION))
    return;
  if (FManager.DeletePreset(name))
    SendMessageW(Item(PresetsId), LB_DELETESTRING,
                 static_cast<WPARAM>(SendMessageW(Item(PresetsId), LB_GETCURSEL, 0, 0)), 0);
  else
    Refill();
  UpdateButtons();
}

void TfrmPresetManager::OnCommand(int id, int notification) {
  if (id == PresetsId && notification == LBN_SELCHANGE) {
    lbPresetsClick();
  } else if (id == PresetsId && notification == LBN_DBLCLK) {
    if (IsWindowEnabled(Item(OKId))) btOKClick();
  } else if (id == OKId || id == IDOK) {
    btOKClick();
  } else if (id == RenameId) {
    btRenameClick();
  } else if (id == DeleteId) {
    btDeleteClick();
  } else if (id == CancelId || id == IDCANCEL) {
    End(IDCANCEL);
  }
}

std::string ShowPresetManager(TPresetManager& manager, bool saveMode, HWND owner) {
  TfrmPresetManager window(manager, saveMode);
  return window.ShowModal(owner) == IDOK ? window.ChosenName() : std::string();
}
