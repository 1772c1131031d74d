#include "prefs/fDisplayPreferences.h"

#include <commctrl.h>

#include <algorithm>

#include "config/fPresetManager.h"
#include "config/uMultilanguage.h"
#include "config/uOptions.h"
#include "config/uWin32Translate.h"
#include "display/uDisplayList.h"
#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uDisplayCountdown.h"
#include "kinds/uDisplayDigital.h"
#include "kinds/uDisplayDigitalClock.h"
#include "kinds/uDisplayStopwatch.h"
#include "kinds/uWin32FontDialog.h"
#include "prefs/fAnalogClockPreferences.h"
#include "prefs/fCountdownPreferences.h"
#include "prefs/fDigitalClockPreferences.h"
#include "prefs/fStopwatchPreferences.h"
#include "prefs/uDisplayPreferences.h"
#include "support/uBusyState.h"
#include "support/uModelessWindows.h"
#include "support/uPlatform.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

namespace {

constexpr UINT_PTR kRepaintTimer = 1;
constexpr UINT kRepaintDelay = 500;

}  // namespace

// The general page ------------------------------------------------------------

TacDisplayPreferences::TacDisplayPreferences(int templateId, const std::vector<int>& generalPages,
                                             std::vector<TPreferencesTab> tabs, TDisplay& display,
                                             TDisplayPreferencesContext& context, HWND owner)
    : TPagedDialog(templateId),
      FTabs(std::move(tabs)),
      FDisplay(display),
      FContext(context),
      FOwner(owner) {
  TPreferencesTab general{"3000", "General", {IDD_DISPLAY_GENERAL_PAGE}};
  general.pages.insert(general.pages.end(), generalPages.begin(), generalPages.end());
  FTabs.insert(FTabs.begin(), std::move(general));
}

bool TacDisplayPreferences::OnInitDialog() {
  FContext.busy.DisplayPreferencesOpen = true;
  FPresets = std::make_unique<TDisplayPresetManager>(FDisplay);
  CreatePages();
  SetUpControls();
  TranslateGroupBoxes(Handle());
  // Shown first, so that the window is placed beside the display as it is drawn.
  FDisplay.Show();
  PlaceWindow();
  SetUpdating(true);
  LoadControls();
  SetUpdating(false);
  // Above the preferences window while it is being edited.
  FDisplay.SetTopmost(true);
  // Like a modal window, without its own loop: nothing else of the owner changes meanwhile.
  if (FOwner) EnableWindow(FOwner, FALSE);
  return true;
}

void TacDisplayPreferences::CreatePages() {
  std::vector<std::string> captions;
  std::vector<std::vector<HWND>> tabPages;
  for (const TPreferencesTab& tab : FTabs) {
    captions.push_back(GetText(tab.key, tab.caption));
    tabPages.emplace_back();
    for (const int templateId : tab.pages) tabPages.back().push_back(AddPage(templateId));
  }
  SetTabTexts(Handle(), TabsId, captions);
  LayOutTabs(TabsId, tabPages, CloseId);
  ShowTab(0);
}

void TacDisplayPreferences::SetUpControls() {
  FHints.emplace(Handle());
  SetTrackBar(TranslucencyId, 0, MaxTranslucency, TranslucencyLabelId, 10);
  const HWND page = PageOf(TranslucencyId);
  for (const int id : {TranslucentId, TranslucencyId, TranslucencyLabelId})
    EnableControl(page, id, Platform().layeredWindows);
  SendMessageW(Control(DescriptionId), EM_LIMITTEXT, 60, 0);
  EnableControl(page, LoadPresetId, !FPresets->Names().empty());
}

void TacDisplayPreferences::PlaceWindow() {
  RECT bounds{};
  GetWindowRect(Handle(), &bounds);
  const TPoint size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT owner{};
  if (FOwner) GetWindowRect(FOwner, &owner);
  const TPoint ownerTopLeft{owner.left, owner.top};
  const TPoint desired =
      DisplayPreferencesPlace(FOwner ? &ownerTopLeft : nullptr, {cursor.x, cursor.y}, size);
  const TPoint fitted =
      FitOnMonitor(desired, size, FOwner ? ownerTopLeft : TPoint{cursor.x, cursor.y});
  // Displays that stay on top (the edited one does while it is edited) must not cover it.
  std::vector<TRect> onTop;
  for (std::size_t i = 0; i < FContext.displays.Count(); ++i) {
    const TDisplay& d = FContext.displays[i];
    if (d.IsVisible() && (d.AlwaysOnTop() || &d == &FDisplay))
      onTop.push_back(d.Window()->Bounds());
  }
  const TPoint at = AsideFrom(fitted, size, onTop);
  SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TacDisplayPreferences::LoadControls() {
  const HWND page = PageOf(DescriptionId);
  SetChecked(page, TranslucentId, FDisplay.Transparent());
  SetTrackPosition(TranslucencyId, TranslucencyPosition(FDisplay.AlphaBlendValue()));
  SetControlText(page, DescriptionId, FDisplay.Description);
  SetChecked(page, AlwaysOnTopId, FDisplay.AlwaysOnTop());
}

void TacDisplayPreferences::RequestRepaint(bool delayed) {
  if (!delayed) {
    FDisplay.Repaint();
    return;
  }
  SetTimer(Handle(), kRepaintTimer, kRepaintDelay, nullptr);
  SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
}

std::string TacDisplayPreferences::TrackLabel(int, int position) const {
  return PercentLabel(position);
}

void TacDisplayPreferences::TrackBarMoved(int id, int position) {
  if (id == TranslucencyId) FDisplay.SetAlphaBlendValue(AlphaFromTranslucency(position));
}

void TacDisplayPreferences::PresetClick(bool save) {
  const std::string name = ShowPresetManager(*FPresets, save, Handle());
  if (save && !name.empty()) {
    FPresets->SavePreset(name);
  } else if (!name.empty() && FPresets->LoadPreset(name)) {
    LoadControls();
    RequestRepaint(false);
  }
  EnableControl(PageOf(LoadPresetId), LoadPresetId, !FPresets->Names().empty());
}

void TacDisplayPreferences::OnCommand(int id, int notification) {
  const bool clicked = notification == BN_CLICKED;
  if (id == CloseId || id == IDCANCEL) {
    End(IDCANCEL);
  } else if (id == LoadPresetId || id == SavePresetId) {
    PresetClick(id == SavePresetId);
  } else if (Updating() || id == IDOK || id == DescriptionId) {
    // Filling the controls changes nothing; the description is taken on closing.
  } else if (id == TranslucentId && clicked) {
    FDisplay.SetTransparent(IsChecked(PageOf(id), id));
  } else if (id == AlwaysOnTopId && clicked) {
    FDisplay.SetAlwaysOnTop(IsChecked(PageOf(id), id));
    // Stays above the preferences window while they are open.
    FDisplay.SetTopmost(true);
    RequestRepaint(false);
  } else {
    KindCommand(id, notification);
  }
}

bool TacDisplayPreferences::KindCommand(int, int) { return false; }

TVarnColorButton* TacDisplayPreferences::ColorButton(int id) {
  for (const auto& [buttonId, button] : FColors)
    if (buttonId == id) return button.get();
  return nullptr;
}

std::vector<std::string>& TacDisplayPreferences::CustomColors() const {
  return FContext.options.CustomColors;
}

bool TacDisplayPreferences::DrawItem(const DRAWITEMSTRUCT& item) {
  const TVarnColorButton* button = ColorButton(static_cast<int>(item.CtlID));
  return button && button->DrawItem(item);
}

INT_PTR TacDisplayPreferences::DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_TIMER:
      if (wParam != kRepaintTimer) return FALSE;
      KillTimer(Handle(), kRepaintTimer);
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      FDisplay.Repaint();
      return TRUE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.idFrom == TabsId && header.code == TCN_SELCHANGE)
        ShowTab(static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
      return TRUE;
    }
    case WM_DESTROY:
      // The controls are still there: the description is read from its box.
      FormClose();
      return FALSE;
    default:
      return TDialogBase::DlgProc(msg, wParam, lParam);
  }
}

void TacDisplayPreferences::FormClose() {
  FDisplay.Description = ControlText(PageOf(DescriptionId), DescriptionId);
  FDisplay.SetTopmost(false);
  FContext.displays.ShowAll();
  FContext.busy.DisplayPreferencesOpen = false;
  if (FOwner) {
    EnableWindow(FOwner, TRUE);
    PostMessageW(FOwner, WM_DISPLAY_PREFERENCES_CLOSED, 0, 0);
  }
}

// Font and colours -------------------------------------------------------------

namespace {

std::vector<TPreferencesTab> WithFontTab(std::vector<TPreferencesTab> tabs) {
  tabs.insert(tabs.begin(), {"3010", "Font and colors", {IDD_DISPLAY_FONT_PAGE}});
  return tabs;
}

}  // namespace

TacDisplayPreferencesDigital::TacDisplayPreferencesDigital(
    int templateId, const std::vector<int>& generalPages, std::vector<TPreferencesTab> tabs,
    TDisplay& display, TDisplayPreferencesContext& context, HWND owner)
    : TacDisplayPreferences(templateId, generalPages, WithFontTab(std::move(tabs)), display,
                            context, owner) {}

TDisplayDigital& TacDisplayPreferencesDigital::Digital() const {
  return static_cast<TDisplayDigital&>(Display());
}

void TacDisplayPreferencesDigital::SetUpControls() {
  TacDisplayPreferences::SetUpControls();
  SetUpForm(TextFontForm());
  const struct {
    int id;
    const char* hint;
  } hints[] = {{TextColorId, "Font color..."},
               {OutlineColorId, "Outline color..."},
               {ShadowColorId, "Shadow color..."},
               {BackgroundColorId, "Background color..."},
               {BevelColorId, "Border color..."}};
  for (const auto& hint : hints)
    Hints().SetHint(Control(hint.id), GetText(std::to_string(hint.id) + "(hint)", hint.hint));
  for (const std::string& item : AlignmentItems())
    AddComboItem(PageOf(AlignmentId), AlignmentId, item);
}

void TacDisplayPreferencesDigital::LoadControls() {
  TacDisplayPreferences::LoadControls();
  TDisplayDigital& d = Digital();
  LoadForm(TextFontForm(), d);
  SetControlText(PageOf(FontNameId), FontNameId, d.Font.Describe());
  SetChecked(PageOf(HasBackgroundId), HasBackgroundId, d.HasBackground);
  SetComboSelection(PageOf(AlignmentId), AlignmentId, d.Alignment);
  UpdateBackgroundControls();
}

void TacDisplayPreferencesDigital::UpdateBackgroundControls() {
  const bool background = Digital().HasBackground;
  const HWND page = PageOf(ShadowId);
  for (const int id : {IDC_DISPLAY_SHADOW_LABEL, ShadowId, ShadowColorId})
    EnableControl(page, id, !background);
  for (const int id :
       {IDC_DISPLAY_BEVEL_LABEL, BevelWidthId, BevelColorId, Bevel3DId, BackgroundColorId})
    EnableControl(page, id, background);
}

void TacDisplayPreferencesDigital::BackgroundClick() {
  TDisplayDigital& d = Digital();
  d.HasBackground = IsChecked(PageOf(HasBackgroundId), HasBackgroundId);
  RequestRepaint(false);
  UpdateBackgroundControls();
  TOptions& options = Context().options;
  if (!d.HasBackground || options.BackgroundNoteShown) return;
  options.BackgroundNoteShown = true;
  wchar_t caption[128] = {};
  GetWindowTextW(Handle(), caption, 128);
  const std::wstring note = Utf8ToWide(GetText(
      "MSG_DISPLAY_BACK_NOTE",
      "Please note:\r\n\r\nIf a display has background, you'll need to resize it manually."));
  MessageBoxW(Handle(), note.c_str(), caption, MB_OK | MB_ICONINFORMATION);
}

bool TacDisplayPreferencesDigital::KindCommand(int id, int notification) {
  TDisplayDigital& d = Digital();
  const HWND page = PageOf(id);
  if (FormCommand(TextFontForm(), d, id)) return true;
  if (id == FontId) {
    ExecuteFontDialog(Handle(), d.Font);
    SetControlText(page, FontNameId, d.Font.Describe());
  } else if (id == HasBackgroundId) {
    BackgroundClick();
    return true;
  } else if (id == AlignmentId && notification == CBN_SELCHANGE) {
    d.Alignment = static_cast<std::uint8_t>(std::max(ComboSelection(page, id), 0));
  } else {
    return false;
  }
  RequestRepaint(false);
  return true;
}

void TacDisplayPreferencesDigital::TrackBarMoved(int id, int position) {
  if (!FormTrackBar(TextFontForm(), Digital(), id, position))
    TacDisplayPreferences::TrackBarMoved(id, position);
}

// Opening and closing ---------------------------------------------------------------

namespace {

// A kind's window, for a display of the kind's own class only: one kept as it
// was stored after its load failed carries the kind's number without its class.
template <class TKind, class TWindow>
std::unique_ptr<TacDisplayPreferences> NewPreferences(TDisplay& display,
                                                      TDisplayPreferencesContext& context,
                                                      HWND owner) {
  if (!dynamic_cast<TKind*>(&display)) return nullptr;
  return std::make_unique<TWindow>(display, context, owner);
}

std::unique_ptr<TacDisplayPreferences> NewPreferencesOfKind(TDisplay& display,
                                                            TDisplayPreferencesContext& context,
                                                            HWND owner) {
  switch (display.Kind()) {
    case dkDigitalClock:
      return NewPreferences<TDisplayDigitalClock, TfrmDisplayPreferencesDigitalClock>(
          display, context, owner);
    case dkStopwatch:
      return NewPreferences<TDisplayStopwatch, TfrmDisplayPreferencesStopwatch>(display, context,
                                                                                owner);
    case dkCountdown:
      return NewPreferences<TDisplayCountdown, TfrmDisplayPreferencesCountdown>(display, context,
                                                                                owner);
    case dkAnalogClock:
      return NewPreferences<TDisplayAnalogClock, TfrmDisplayPreferencesAnalogClock>(display,
                                                                                    context, owner);
    default:
      return nullptr;
  }
}

}  // namespace

bool OpenDisplayPreferences(TDisplay& display, TDisplayPreferencesContext& context, HWND owner) {
  std::unique_ptr<TacDisplayPreferences> made = NewPreferencesOfKind(display, context, owner);
  if (!made) return false;
  TacDisplayPreferences* window =
      ModelessWindows().Open(std::move(made), owner ? owner : context.application);
  if (!window) return false;
  window->Show();
  return true;
}

void CloseAllDisplayPreferences() { ModelessWindows().CloseAll<TacDisplayPreferences>(); }

TacDisplayPreferences* DisplayPreferencesOf(const TDisplay& display) {
  for (TacDisplayPreferences* window : ModelessWindows().OfClass<TacDisplayPreferences>())
    if (&window->Display() == &display) return window;
  return nullptr;
}
