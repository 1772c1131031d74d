#pragma once

#include <windows.h>

#include <string>

#include "resources/uResourceIds.h"
#include "support/uDialogBase.h"

class TPresetManager;

// The modal window in which the user picks a preset to load, or picks or types
// a name to save under, and renames and deletes presets.
class TfrmPresetManager : public TDialogBase {
 public:
  static constexpr int TemplateId = IDD_PRESETS;
  static constexpr int DeleteId = IDC_PRESETS_DELETE;
  static constexpr int RenameId = IDC_PRESETS_RENAME;
  static constexpr int OKId = IDC_PRESETS_OK;
  static constexpr int CancelId = IDC_PRESETS_CANCEL;
  static constexpr int PresetsId = IDC_PRESETS_PRESETS;
  static constexpr int NewNameId = IDC_PRESETS_NEW_NAME;

  TfrmPresetManager(TPresetManager& manager, bool saveMode)
      : TDialogBase(TemplateId), FManager(manager), FSaveMode(saveMode) {}
  const std::string& ChosenName() const { return FChosen; }

 protected:
  bool OnInitDialog() override;
  void OnCommand(int id, int notification) override;

 private:
  void Refill();
  void UpdateButtons();
  std::string SelectedName() const;
  void FocusName();
  // A message box titled as the window; true on Yes or OK.
  bool Ask(const std::string& text, UINT buttons);
  void lbPresetsClick();
  void btOKClick();
  void btRenameClick();
  void btDeleteClick();

  TPresetManager& FManager;
  bool FSaveMode;
  std::string FChosen;
};

// Shows the window modally; the name chosen with OK, or empty. The caller then
// loads or saves the preset itself.
std::string ShowPresetManager(TPresetManager& manager, bool saveMode, HWND owner);
