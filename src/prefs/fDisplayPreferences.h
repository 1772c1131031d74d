#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/uDisplayPresets.h"
#include "prefs/uDisplayForms.h"
#include "resources/uResourceIds.h"
#include "support/VarnColorButton.h"
#include "support/uDialogControls.h"
#include "support/uPagedDialog.h"
#include "support/uWin32Graphics.h"

class TDisplay;
class TDisplayDigital;
class TDisplayList;
class TOptions;
class TTimeZones;
struct TBusyState;

// What a display preferences window works with.
struct TDisplayPreferencesContext {
  TOptions& options;
  TDisplayList& displays;
  const TTimeZones& zones;
  TBusyState& busy;
  HWND application;  // the owner of a window opened without one
};

// One tab of a display preferences window: its caption (translation key and English) and the
// pages it shows, one under another.
struct TPreferencesTab {
  const char* key;
  const char* caption;
  std::vector<int> pages;
};

// The live editor of one display: every change goes into the display at once
// and it repaints. Made of tabs above the Close button, each showing pages; the
// general tab (description, translucency, always on top, presets) is every kind's.
// Modeless, held by the program's modeless windows.
class TacDisplayPreferences : public TPagedDialog {
 public:
  static constexpr int TabsId = IDC_DISPLAY_TABS;
  static constexpr int CloseId = IDC_DISPLAY_CLOSE;
  static constexpr int DescriptionId = IDC_DISPLAY_DESCRIPTION;
  static constexpr int TranslucentId = IDC_DISPLAY_TRANSLUCENT;
  static constexpr int TranslucencyId = IDC_DISPLAY_TRANSLUCENCY;
  static constexpr int TranslucencyLabelId = IDC_DISPLAY_TRANSLUCENCY_LABEL;
  static constexpr int AlwaysOnTopId = IDC_DISPLAY_ALWAYS_ON_TOP;
  static constexpr int LoadPresetId = IDC_DISPLAY_LOAD_PRESET;
  static constexpr int SavePresetId = IDC_DISPLAY_SAVE_PRESET;

  TDisplay& Display() const { return FDisplay; }
  // Shows the pages of a tab.
  void ShowTab(int tab) { ShowTabPages(TabsId, tab); }
  HWND TabControl() const override { return Item(TabsId); }

 protected:
  // The general tab shows the kind's generalPages under the common one; the kind's tabs follow.
  TacDisplayPreferences(int templateId, const std::vector<int>& generalPages,
                        std::vector<TPreferencesTab> tabs, TDisplay& display,
                        TDisplayPreferencesContext& context, HWND owner);
  bool OnInitDialog() override;
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int notification) override;
  void TrackBarMoved(int id, int position) override;
  std::string TrackLabel(int id, int position) const override;

  // The pages exist: the kinds set up their controls after the base's.
  virtual void SetUpControls();
  // Fills every control from the display; the kinds add theirs after the base's.
  virtual void LoadControls();
  // A control of a kind's page changed; true when it was the kind's.
  virtual bool KindCommand(int id, int notification);
  // Now, or 500 ms after the last request (typing).
  void RequestRepaint(bool delayed);
  TDisplayPreferencesContext& Context() const { return FContext; }
  // The hints of the window's small buttons.
  TGlyphButtons& Hints() { return *FHints; }

  // The controls a kind's form binds: filled from the display, and changes taken
  // into it with a repaint.
  template <class TKind>
  void SetUpForm(const TDisplayForm<TKind>& form);
  template <class TKind>
  void LoadForm(const TDisplayForm<TKind>& form, TKind& display);
  // True when the control was the form's.
  template <class TKind>
  bool FormCommand(const TDisplayForm<TKind>& form, TKind& display, int id);
  template <class TKind>
  bool FormTrackBar(const TDisplayForm<TKind>& form, TKind& display, int id, int position);
  TVarnColorButton* ColorButton(int id);
  // The colour dialog's custom colours, kept with the options.
  std::vector<std::string>& CustomColors() const;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  void CreatePages();
  void PlaceWindow();
  void PresetClick(bool save);
  void FormClose();

  std::vector<TPreferencesTab> FTabs;
  TDisplay& FDisplay;
  TDisplayPreferencesContext& FContext;
  HWND FOwner;
  std::unique_ptr<TDisplayPresetManager> FPresets;
  std::optional<TGlyphButtons> FHints;
  // The colour buttons of the forms, by control.
  std::vector<std::pair<int, std::unique_ptr<TVarnColorButton>>> FColors;
};

// The text kinds' font and colours: outline, shadow, background and border.
class TacDisplayPreferencesDigital : public TacDisplayPreferences {
 public:
  static constexpr int FontNameId = IDC_DISPLAY_FONT_NAME;
  static constexpr int FontId = IDC_DISPLAY_FONT;
  static constexpr int TextColorId = IDC_DISPLAY_TEXT_COLOR;
  static constexpr int OutlineColorId = IDC_DISPLAY_OUTLINE_COLOR;
  static constexpr int OutlineWidthId = IDC_DISPLAY_OUTLINE_WIDTH;
  static constexpr int Outline3DId = IDC_DISPLAY_OUTLINE_3D;
  static constexpr int ShadowColorId = IDC_DISPLAY_SHADOW_COLOR;
  static constexpr int ShadowId = IDC_DISPLAY_SHADOW;
  static constexpr int HasBackgroundId = IDC_DISPLAY_HAS_BACKGROUND;
  static constexpr int BackgroundColorId = IDC_DISPLAY_BACKGROUND_COLOR;
  static constexpr int BevelColorId = IDC_DISPLAY_BEVEL_COLOR;
  static constexpr int BevelWidthId = IDC_DISPLAY_BEVEL_WIDTH;
  static constexpr int Bevel3DId = IDC_DISPLAY_BEVEL_3D;
  static constexpr int TextId = IDC_DISPLAY_TEXT;
  static constexpr int AlignmentId = IDC_DISPLAY_ALIGNMENT;

 protected:
  TacDisplayPreferencesDigital(int templateId, const std::vector<int>& generalPages,
                               std::vector<TPreferencesTab> tabs, TDisplay& display,
                               TDisplayPreferencesContext& context, HWND owner);
  void SetUpControls() override;
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
  void TrackBarMoved(int id, int position) override;
  TDisplayDigital& Digital() const;

 private:
  void UpdateBackgroundControls();
  void BackgroundClick();
};

// Opens the window of the display's kind (none for a kind without one); while
// any is open the program is busy.
bool OpenDisplayPreferences(TDisplay& display, TDisplayPreferencesContext& context, HWND owner);
// Closes every open one, before the displays go.
void CloseAllDisplayPreferences();
// The open window of the display, or none; for the tests.
TacDisplayPreferences* DisplayPreferencesOf(const TDisplay& display);

// The form plumbing, shared by the kinds ----------------------------------------------

template <class TKind>
void TacDisplayPreferences::SetUpForm(const TDisplayForm<TKind>& form) {
  for (const TTrackBinding<TKind>& track : form.tracks)
    SetTrackBar(track.id, track.minimum, track.maximum, track.labelId, track.labelId ? 10 : 0);
  for (const TColorBinding<TKind>& color : form.colors) {
    FColors.emplace_back(color.id, std::make_unique<TVarnColorButton>());
    FColors.back().second->Attach(Control(color.id));
  }
}

template <class TKind>
void TacDisplayPreferences::LoadForm(const TDisplayForm<TKind>& form, TKind& display) {
  for (const TTrackBinding<TKind>& track : form.tracks)
    SetTrackPosition(track.id, track.Position(display));
  for (const TColorBinding<TKind>& color : form.colors)
    ColorButton(color.id)->SetColorValue(color.field(display));
  for (const TBoxBinding<TKind>& box : form.boxes)
    SetChecked(PageOf(box.id), box.id, box.field(display));
}

template <class TKind>
bool TacDisplayPreferences::FormCommand(const TDisplayForm<TKind>& form, TKind& display, int id) {
  if (const TColorBinding<TKind>* color = form.Color(id)) {
    TVarnColorButton& button = *ColorButton(id);
    if (!PickButtonColor(Handle(), CustomColors(), button)) return true;
    color->field(display) = button.ColorValue();
  } else if (const TBoxBinding<TKind>* box = form.Box(id)) {
    box->field(display) = IsChecked(PageOf(id), id);
  } else {
    return false;
  }
  RequestRepaint(false);
  return true;
}

template <class TKind>
bool TacDisplayPreferences::FormTrackBar(const TDisplayForm<TKind>& form, TKind& display, int id,
                                         int position) {
  if (!form.SetTrack(display, id, position)) return false;
  RequestRepaint(false);
  return true;
}
