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
#include "prefs/fFormatElements.h"
#include "prefs/uDisplayPreferences.h"
#include "support/uBusyState.h"
#include "support/uPlatform.h"
#include "support/uTools.h"
#include "support/uWin32Graphics.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"
#include "timezones/fSelectTimeZone.h"
#include "timezones/uTimeZones.h"

namespace {

constexpr int kGeneralPage = 3090;
constexpr int kFontPage = 3091;
constexpr UINT_PTR kRepaintTimer = 1;
constexpr UINT kRepaintDelay = 500;
// Dialog units around and between the pages.
constexpr int kMargin = 6;

std::vector<TacDisplayPreferences*>& OpenWindows() {
  static std::vector<TacDisplayPreferences*> windows;
  return windows;
}

RECT WindowRectIn(HWND window, HWND parent) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

// The general page ------------------------------------------------------------

TacDisplayPreferences::TacDisplayPreferences(int templateId, const std::vector<int>& generalPages,
                                             std::vector<TPreferencesTab> tabs, TDisplay& display,
                                             TDisplayPreferencesContext& context, HWND owner)
    : TDialogBase(templateId),
      FTabs(std::move(tabs)),
      FDisplay(display),
      FContext(context),
      FOwner(owner) {
  TPreferencesTab general{"3000", "General", {kGeneralPage}};
  general.pages.insert(general.pages.end(), generalPages.begin(), generalPages.end());
  FTabs.insert(FTabs.begin(), std::move(general));
}

TacDisplayPreferences::~TacDisplayPreferences() { std::erase(OpenWindows(), this); }

HWND TacDisplayPreferences::PageOf(int id) const { return PageWithControl(FPages, Handle(), id); }

HWND TacDisplayPreferences::Control(int id) const { return GetDlgItem(PageOf(id), id); }

bool TacDisplayPreferences::OnInitDialog() {
  OpenWindows().push_back(this);
  FContext.busy.DisplayPreferencesOpen = true;
  FPresets = std::make_unique<TDisplayPresetManager>(FDisplay);
  CreatePages();
  SetUpControls();
  TranslateGroupBoxes(Handle());
  // Shown first, so that the window is placed beside the display as it is drawn.
  FDisplay.Show();
  PlaceWindow();
  FUpdating = true;
  LoadControls();
  FUpdating = false;
  // Above the preferences window while it is being edited.
  FDisplay.SetTopmost(true);
  // Like a modal window, without its own loop: nothing else of the owner changes meanwhile.
  if (FOwner) EnableWindow(FOwner, FALSE);
  return true;
}

void TacDisplayPreferences::ShowTab(int tab) {
  SendMessageW(Item(TabsId), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
  for (std::size_t i = 0; i < FTabPages.size(); ++i)
    for (const HWND page : FTabPages[i])
      ShowWindow(page, static_cast<int>(i) == tab ? SW_SHOWNA : SW_HIDE);
}

HWND TacDisplayPreferences::AddPage(int templateId) {
  FPages.push_back(std::make_unique<TDialogPage>(
      templateId, [this](HWND p, UINT msg, WPARAM wParam, LPARAM lParam) {
        return PageMessage(p, msg, wParam, lParam);
      }));
  FPages.back()->CreateChild(Handle());
  return FPages.back()->Handle();
}

void TacDisplayPreferences::CreatePages() {
  const HWND tabs = Item(TabsId);
  std::vector<std::string> captions;
  for (const TPreferencesTab& tab : FTabs) captions.push_back(GetText(tab.key, tab.caption));
  SetTabTexts(Handle(), TabsId, captions);
  RECT margin{kMargin, kMargin, 0, 0};
  MapDialogRect(Handle(), &margin);
  // Every tab's pages one under another: the largest tab sets the size of them all.
  SIZE area{0, 0};
  for (const TPreferencesTab& tab : FTabs) {
    FTabPages.emplace_back();
    int height = 0;
    for (const int templateId : tab.pages) {
      const HWND page = AddPage(templateId);
      FTabPages.back().push_back(page);
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
  for (const std::vector<HWND>& pages : FTabPages) {
    int y = inside.top;
    for (const HWND page : pages) {
      const RECT r = WindowRectIn(page, Handle());
      SetWindowPos(page, previous, inside.left, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
      previous = page;
      y += r.bottom - r.top + margin.top;
    }
  }
  // The Close button under the tabs at the right; the window around them all.
  const HWND close = Item(CloseId);
  const RECT button = WindowRectIn(close, Handle());
  const int buttonWidth = button.right - button.left, buttonHeight = button.bottom - button.top;
  SetWindowPos(close, nullptr, display.right - buttonWidth, display.bottom + margin.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{0, 0, display.right + margin.left, display.bottom + 2 * margin.top + buttonHeight};
  AdjustWindowRectEx(&client, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE)));
  SetWindowPos(Handle(), nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowTab(0);
}

void TacDisplayPreferences::SetUpControls() {
  FHints.emplace(Handle());
  const HWND page = PageOf(TranslucencyId);
  SetTrackBarRange(page, TranslucencyId, 0, MaxTranslucency);
  SendMessageW(Control(TranslucencyId), TBM_SETTICFREQ, 10, 0);
  MakeThinTrackBar(page, TranslucencyId);
  SetControlData(Control(TranslucencyId),
                 reinterpret_cast<std::intptr_t>(Control(TranslucencyLabelId)));
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
  SetTrackBarPosition(page, TranslucencyId, TranslucencyPosition(FDisplay.AlphaBlendValue()));
  TrackBarMoved(Control(TranslucencyId));
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

void TacDisplayPreferences::TrackBarMoved(HWND track) {
  const int position = static_cast<int>(SendMessageW(track, TBM_GETPOS, 0, 0));
  if (const auto label = reinterpret_cast<HWND>(GetControlData(track)))
    SetWindowTextW(label, Utf8ToWide(PercentLabel(position)).c_str());
  if (FUpdating) return;
  const int id = GetDlgCtrlID(track);
  if (id == TranslucencyId)
    FDisplay.SetAlphaBlendValue(AlphaFromTranslucency(position));
  else
    KindTrackBar(id, position);
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
  } else if (FUpdating || id == IDOK || id == DescriptionId) {
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
bool TacDisplayPreferences::KindTrackBar(int, int) { return false; }
bool TacDisplayPreferences::DrawItem(const DRAWITEMSTRUCT&) { return false; }
LRESULT TacDisplayPreferences::KindNotify(const NMHDR&) { return 0; }

INT_PTR TacDisplayPreferences::PageMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_HSCROLL:
      if (lParam) TrackBarMoved(reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_DRAWITEM:
      return DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<NMHDR*>(lParam);
      SetWindowLongPtrW(page, DWLP_MSGRESULT, KindNotify(header));
      return TRUE;
    }
    default:
      return FALSE;
  }
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

void TacDisplayPreferences::OnDestroyed() { delete this; }

// Font and colours -------------------------------------------------------------

namespace {

std::vector<TPreferencesTab> WithFontTab(std::vector<TPreferencesTab> tabs) {
  tabs.insert(tabs.begin(), {"3010", "Font and colors", {kFontPage}});
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

TVarnColorButton* TacDisplayPreferencesDigital::ColorButton(int id) {
  switch (id) {
    case TextColorId:
      return &FTextColor;
    case OutlineColorId:
      return &FOutlineColor;
    case ShadowColorId:
      return &FShadowColor;
    case BackgroundColorId:
      return &FBackgroundColor;
    case BevelColorId:
      return &FBevelColor;
    default:
      return nullptr;
  }
}

void TacDisplayPreferencesDigital::SetUpControls() {
  TacDisplayPreferences::SetUpControls();
  const struct {
    int id;
    const char* hint;
  } buttons[] = {{TextColorId, "Font color..."},
                 {OutlineColorId, "Outline color..."},
                 {ShadowColorId, "Shadow color..."},
                 {BackgroundColorId, "Background color..."},
                 {BevelColorId, "Border color..."}};
  for (const auto& button : buttons) {
    ColorButton(button.id)->Attach(Control(button.id));
    Hints().SetHint(Control(button.id), GetText(std::to_string(button.id) + "(hint)", button.hint));
  }
  for (const auto& [id, maximum] :
       {std::pair{OutlineWidthId, 3}, std::pair{ShadowId, 10}, std::pair{BevelWidthId, 10}}) {
    SetTrackBarRange(PageOf(id), id, 0, maximum);
    MakeThinTrackBar(PageOf(id), id);
  }
  for (const std::string& item : AlignmentItems())
    AddComboItem(PageOf(AlignmentId), AlignmentId, item);
}

void TacDisplayPreferencesDigital::LoadControls() {
  TacDisplayPreferences::LoadControls();
  const TDisplayDigital& d = Digital();
  const HWND page = PageOf(FontNameId);
  SetControlText(page, FontNameId, d.Font.Describe());
  FTextColor.SetColorValue(d.Font.Color);
  FOutlineColor.SetColorValue(d.Font.OutlineColor);
  SetTrackBarPosition(page, OutlineWidthId, d.Font.OutlineWidth);
  SetChecked(page, Outline3DId, d.Font.ThreeD);
  SetTrackBarPosition(page, ShadowId, d.Shadow);
  FShadowColor.SetColorValue(d.ShadowColor);
  SetChecked(page, HasBackgroundId, d.HasBackground);
  FBackgroundColor.SetColorValue(d.BackgroundColor);
  SetTrackBarPosition(page, BevelWidthId, d.BevelWidth);
  FBevelColor.SetColorValue(d.BevelColor);
  SetChecked(page, Bevel3DId, d.Bevel3D);
  SetComboSelection(PageOf(AlignmentId), AlignmentId, d.Alignment);
  UpdateBackgroundControls();
}

void TacDisplayPreferencesDigital::UpdateBackgroundControls() {
  const bool background = Digital().HasBackground;
  const HWND page = PageOf(ShadowId);
  for (const int id : {3017, ShadowId, ShadowColorId}) EnableControl(page, id, !background);
  for (const int id : {3022, BevelWidthId, BevelColorId, Bevel3DId, BackgroundColorId})
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
  if (TVarnColorButton* button = ColorButton(id)) {
    if (!PickButtonColor(Handle(), Context().options.CustomColors, *button)) return true;
    const TColor color = button->ColorValue();
    TColor* fields[] = {&d.Font.Color, &d.Font.OutlineColor, &d.ShadowColor, &d.BackgroundColor,
                        &d.BevelColor};
    TVarnColorButton* buttons[] = {&FTextColor, &FOutlineColor, &FShadowColor, &FBackgroundColor,
                                   &FBevelColor};
    *fields[std::find(std::begin(buttons), std::end(buttons), button) - std::begin(buttons)] =
        color;
  } else if (id == FontId) {
    ExecuteFontDialog(Handle(), d.Font);
    SetControlText(page, FontNameId, d.Font.Describe());
  } else if (id == Outline3DId) {
    d.Font.ThreeD = IsChecked(page, id);
  } else if (id == Bevel3DId) {
    d.Bevel3D = IsChecked(page, id);
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

bool TacDisplayPreferencesDigital::KindTrackBar(int id, int position) {
  TDisplayDigital& d = Digital();
  if (id == OutlineWidthId)
    d.Font.OutlineWidth = position;
  else if (id == ShadowId)
    d.Shadow = position;
  else if (id == BevelWidthId)
    d.BevelWidth = position;
  else
    return false;
  RequestRepaint(false);
  return true;
}

bool TacDisplayPreferencesDigital::DrawItem(const DRAWITEMSTRUCT& item) {
  const auto* button = ColorButton(static_cast<int>(item.CtlID));
  return button && button->DrawItem(item);
}

// The kinds ------------------------------------------------------------------------

void TfrmDisplayPreferencesDigitalClock::SetUpControls() {
  TacDisplayPreferencesDigital::SetUpControls();
  AttachFormatElementMenu(Control(TextId), Context().zones);
}

void TfrmDisplayPreferencesDigitalClock::LoadControls() {
  TacDisplayPreferencesDigital::LoadControls();
  SetControlText(PageOf(TextId), TextId, Display().Text());
}

bool TfrmDisplayPreferencesDigitalClock::KindCommand(int id, int notification) {
  if (id == TextId) {
    if (notification != EN_CHANGE) return true;
    Display().SetText(ControlText(PageOf(id), id));
    // Typing repaints once it pauses.
    RequestRepaint(true);
    return true;
  }
  if (id == InsertElementId) {
    RECT r{};
    GetWindowRect(Control(id), &r);
    ShowFormatElements(Control(TextId), Context().zones, POINT{r.left, r.bottom});
    return true;
  }
  return TacDisplayPreferencesDigital::KindCommand(id, notification);
}

void TfrmDisplayPreferencesStopwatch::LoadControls() {
  TacDisplayPreferencesDigital::LoadControls();
  SetControlText(PageOf(TextId), TextId,
                 static_cast<const TDisplayStopwatch&>(Display()).StopwatchText);
}

bool TfrmDisplayPreferencesStopwatch::KindCommand(int id, int notification) {
  if (id != TextId) return TacDisplayPreferencesDigital::KindCommand(id, notification);
  if (notification == EN_CHANGE) {
    static_cast<TDisplayStopwatch&>(Display()).StopwatchText = ControlText(PageOf(id), id);
    RequestRepaint(false);
  }
  return true;
}

// The analog clock -------------------------------------------------------------------

namespace {

using TClock = TDisplayAnalogClock;
using A = TfrmDisplayPreferencesAnalogClock;

// Each slider and the number of the clock it moves; a label shows "n %".
struct TClockTrack {
  int id, minimum, maximum;
  bool percent;
  std::int32_t& (*field)(TClock&);
};
constexpr TClockTrack kClockTracks[] = {
    {A::SizeId, 10, 100, true, [](TClock& c) -> std::int32_t& { return c.DisplaySize; }},
    {A::NormalMarksId + 2, 0, 3, false,
     [](TClock& c) -> std::int32_t& { return c.TickMarkSettings.OutlineWidth; }},
    {A::NormalMarksId + 3, 10, 100, true,
     [](TClock& c) -> std::int32_t& { return c.TickMarkPosition; }},
    {A::NormalMarksId + 5, 1, 10, false, [](TClock& c) -> std::int32_t& { return c.TickMarkSize; }},
    {A::QuarterMarksId + 2, 0, 3, false,
     [](TClock& c) -> std::int32_t& { return c.QuarterMarksSettings.OutlineWidth; }},
    {A::QuarterMarksId + 3, 10, 100, true,
     [](TClock& c) -> std::int32_t& { return c.QuarterTickMarkPosition; }},
    {A::QuarterMarksId + 5, 1, 10, false,
     [](TClock& c) -> std::int32_t& { return c.QuarterTickMarkSize; }},
    {A::HourHandId, 10, 100, true, [](TClock& c) -> std::int32_t& { return c.HourHandLength; }},
    {A::HourHandId + 2, 1, 10, false, [](TClock& c) -> std::int32_t& { return c.HourHandWidth; }},
    {A::HourHandId + 5, 0, 3, false,
     [](TClock& c) -> std::int32_t& { return c.HourHandSettings.OutlineWidth; }},
    {A::MinuteHandId, 10, 100, true, [](TClock& c) -> std::int32_t& { return c.MinuteHandLength; }},
    {A::MinuteHandId + 2, 1, 10, false,
     [](TClock& c) -> std::int32_t& { return c.MinuteHandWidth; }},
    {A::MinuteHandId + 5, 0, 3, false,
     [](TClock& c) -> std::int32_t& { return c.MinuteHandSettings.OutlineWidth; }},
    {A::SecondsHandId, 10, 100, true,
     [](TClock& c) -> std::int32_t& { return c.SecondsHandLength; }},
    {A::SecondsHandId + 2, 1, 10, false,
     [](TClock& c) -> std::int32_t& { return c.SecondsHandWidth; }},
    {A::SecondsHandId + 5, 0, 3, false,
     [](TClock& c) -> std::int32_t& { return c.SecondsHandSettings.OutlineWidth; }},
    {A::TextOutlineId, 0, 3, false,
     [](TClock& c) -> std::int32_t& { return c.TextFont.OutlineWidth; }},
    {A::OffsetXId, 0, 100, true, [](TClock& c) -> std::int32_t& { return c.TextOffsetX; }},
    {A::OffsetYId, 0, 100, true, [](TClock& c) -> std::int32_t& { return c.TextOffsetY; }},
};

// Each colour button and the colour of the clock it picks.
struct TClockColor {
  int id;
  TColor& (*field)(TClock&);
};
constexpr TClockColor kClockColors[] = {
    {A::NormalMarksId, [](TClock& c) -> TColor& { return c.TickMarkSettings.FillColor; }},
    {A::NormalMarksId + 1, [](TClock& c) -> TColor& { return c.TickMarkSettings.OutlineColor; }},
    {A::QuarterMarksId, [](TClock& c) -> TColor& { return c.QuarterMarksSettings.FillColor; }},
    {A::QuarterMarksId + 1,
     [](TClock& c) -> TColor& { return c.QuarterMarksSettings.OutlineColor; }},
    {A::HourHandId + 3, [](TClock& c) -> TColor& { return c.HourHandSettings.FillColor; }},
    {A::HourHandId + 4, [](TClock& c) -> TColor& { return c.HourHandSettings.OutlineColor; }},
    {A::MinuteHandId + 3, [](TClock& c) -> TColor& { return c.MinuteHandSettings.FillColor; }},
    {A::MinuteHandId + 4, [](TClock& c) -> TColor& { return c.MinuteHandSettings.OutlineColor; }},
    {A::SecondsHandId + 3, [](TClock& c) -> TColor& { return c.SecondsHandSettings.FillColor; }},
    {A::SecondsHandId + 4, [](TClock& c) -> TColor& { return c.SecondsHandSettings.OutlineColor; }},
    {A::TextColorId, [](TClock& c) -> TColor& { return c.TextFont.Color; }},
    {A::TextBackgroundColorId, [](TClock& c) -> TColor& { return c.TextBackgroundColor; }},
    {A::TextOutlineColorId, [](TClock& c) -> TColor& { return c.TextFont.OutlineColor; }},
};

// Each check box that switches one thing of the clock.
struct TClockBox {
  int id;
  bool& (*field)(TClock&);
};
constexpr TClockBox kClockBoxes[] = {
    {A::QuarterMarksOnlyId, [](TClock& c) -> bool& { return c.QuarterMarksOnly; }},
    {A::ShowTextId, [](TClock& c) -> bool& { return c.ShowText; }},
    {A::TextBackgroundId, [](TClock& c) -> bool& { return c.TextBackground; }},
    {A::TextOverHandsId, [](TClock& c) -> bool& { return c.TextOverHands; }},
};

// The controls of each group of marks, hidden with it.
constexpr int kNormalMarkControls[] = {3322, 3325, 3326, 3323, 3324, 3611,
                                       3612, 3613, 3614, 3615, 3616};
constexpr int kQuarterMarkControls[] = {3327, 3330, 3331, 3328, 3329, 3621,
                                        3622, 3623, 3624, 3625, 3626};

}  // namespace

TfrmDisplayPreferencesAnalogClock::TfrmDisplayPreferencesAnalogClock(
    TDisplay& display, TDisplayPreferencesContext& context, HWND owner)
    : TacDisplayPreferences(TemplateId, {3390},
                            {{"3312", "Clock dial", {3392}},
                             {"3314", "Hour hand", {3393}},
                             {"3315", "Minute hand", {3394}},
                             {"3316", "Seconds hand", {3395}},
                             {"3317", "Text", {3396}}},
                            display, context, owner) {}

TDisplayAnalogClock& TfrmDisplayPreferencesAnalogClock::Clock() const {
  return static_cast<TDisplayAnalogClock&>(Display());
}

void TfrmDisplayPreferencesAnalogClock::SetUpControls() {
  TacDisplayPreferences::SetUpControls();
  for (const TClockTrack& track : kClockTracks) {
    SetTrackBarRange(PageOf(track.id), track.id, track.minimum, track.maximum);
    MakeThinTrackBar(PageOf(track.id), track.id);
    if (!track.percent) continue;
    SendMessageW(Control(track.id), TBM_SETTICFREQ, 10, 0);
    // Each percentage slider's label is the control after it.
    SetControlData(Control(track.id), reinterpret_cast<std::intptr_t>(Control(track.id + 1)));
  }
  for (const TClockColor& color : kClockColors) {
    FColors.push_back(std::make_unique<TVarnColorButton>());
    FColors.back()->Attach(Control(color.id));
  }
  for (const std::string& item : DialStyleItems())
    AddComboItem(PageOf(DialStyleId), DialStyleId, item);
  for (const std::string& item : AlignmentItems())
    AddComboItem(PageOf(TextAlignmentId), TextAlignmentId, item);
  const HWND zones = PageOf(ZoneId);
  AddComboItem(zones, ZoneId, GetText("LOCAL_TIME", "(local time)"));
  for (std::size_t i = 0; i < Context().zones.Count(); ++i)
    AddComboItem(zones, ZoneId, Context().zones[i].DisplayName);
  AttachFormatElementMenu(Control(TextId), Context().zones);
  Hints().SetHint(Control(PickZoneId), GetText("3303(hint)", "Select time zone..."));
}

void TfrmDisplayPreferencesAnalogClock::LoadControls() {
  TacDisplayPreferences::LoadControls();
  TDisplayAnalogClock& c = Clock();
  for (const TClockTrack& track : kClockTracks) {
    SetTrackBarPosition(PageOf(track.id), track.id, track.field(c));
    // The label follows also while the controls are filled.
    if (track.percent)
      SetControlText(PageOf(track.id + 1), track.id + 1, PercentLabel(track.field(c)));
  }
  for (std::size_t i = 0; i < std::size(kClockColors); ++i)
    FColors[i]->SetColorValue(kClockColors[i].field(c));
  for (const TClockBox& box : kClockBoxes) SetChecked(PageOf(box.id), box.id, box.field(c));
  SetChecked(PageOf(ShowHourHandId), ShowHourHandId, c.ShowHourHand);
  SetChecked(PageOf(ShowMinuteHandId), ShowMinuteHandId, c.ShowMinuteHand);
  SetChecked(PageOf(ShowSecondsHandId), ShowSecondsHandId, c.SecondsHand());
  SetComboSelection(PageOf(DialStyleId), DialStyleId, c.TickMarks);
  ShowDialControls();
  SetComboSelection(PageOf(TextAlignmentId), TextAlignmentId, c.TextAlignment);
  SelectZone(c.TimeZone());
  SetControlText(PageOf(TextId), TextId, c.Text());
}

void TfrmDisplayPreferencesAnalogClock::ShowDialControls() {
  const TDialControls shown = DialControls(ComboSelection(PageOf(DialStyleId), DialStyleId));
  const auto show = [this](int id, bool visible) {
    ShowWindow(Control(id), visible ? SW_SHOWNA : SW_HIDE);
  };
  show(QuarterMarksOnlyId, shown.quarterMarksOnly);
  for (const int id : kNormalMarkControls) show(id, shown.normalMarks);
  for (const int id : kQuarterMarkControls) show(id, shown.quarterMarks);
}

void TfrmDisplayPreferencesAnalogClock::SelectZone(const TTimeZone* zone) {
  const int index = zone ? Context().zones.IndexOfZone(zone->KeyName) : -1;
  SetComboSelection(PageOf(ZoneId), ZoneId, index + 1);
}

void TfrmDisplayPreferencesAnalogClock::PickZone() {
  const TTimeZone* zone = SelectTimeZone(Context().zones, Clock().TimeZone(), Handle());
  if (!zone) return;
  SelectZone(zone);
  Clock().SetTimeZone(zone);
  RequestRepaint(false);
}

bool TfrmDisplayPreferencesAnalogClock::KindCommand(int id, int notification) {
  TDisplayAnalogClock& c = Clock();
  const HWND page = PageOf(id);
  const auto color = std::find_if(std::begin(kClockColors), std::end(kClockColors),
                                  [id](const TClockColor& k) { return k.id == id; });
  const auto box = std::find_if(std::begin(kClockBoxes), std::end(kClockBoxes),
                                [id](const TClockBox& k) { return k.id == id; });
  if (color != std::end(kClockColors)) {
    TVarnColorButton& button = *FColors[static_cast<std::size_t>(color - std::begin(kClockColors))];
    if (!PickButtonColor(Handle(), Context().options.CustomColors, button)) return true;
    color->field(c) = button.ColorValue();
  } else if (box != std::end(kClockBoxes)) {
    box->field(c) = IsChecked(page, id);
  } else if (id == ShowHourHandId || id == ShowMinuteHandId || id == ShowSecondsHandId) {
    c.SetSecondsHand(IsChecked(PageOf(ShowSecondsHandId), ShowSecondsHandId));
    c.ShowMinuteHand = IsChecked(PageOf(ShowMinuteHandId), ShowMinuteHandId);
    c.ShowHourHand = IsChecked(PageOf(ShowHourHandId), ShowHourHandId);
  } else if (id == DialStyleId && notification == CBN_SELCHANGE) {
    ShowDialControls();
    c.TickMarks = static_cast<std::uint8_t>(std::max(ComboSelection(page, id), 0));
  } else if (id == TextAlignmentId && notification == CBN_SELCHANGE) {
    c.TextAlignment = static_cast<std::uint8_t>(std::max(ComboSelection(page, id), 0));
  } else if (id == ZoneId && notification == CBN_SELCHANGE) {
    // Shown at the next regular repaint.
    const int item = ComboSelection(page, id);
    c.SetTimeZone(item > 0 ? &Context().zones[static_cast<std::size_t>(item - 1)] : nullptr);
    return true;
  } else if (id == PickZoneId) {
    PickZone();
    return true;
  } else if (id == TextFontId) {
    ExecuteFontDialog(Handle(), c.TextFont);
  } else if (id == InsertElementId) {
    RECT r{};
    GetWindowRect(Control(id), &r);
    ShowFormatElements(Control(TextId), Context().zones, POINT{r.left, r.bottom});
    return true;
  } else if (id == TextId) {
    if (notification != EN_CHANGE) return true;
    c.SetText(ControlText(page, id));
    RequestRepaint(true);
    return true;
  } else {
    return false;
  }
  RequestRepaint(false);
  return true;
}

bool TfrmDisplayPreferencesAnalogClock::KindTrackBar(int id, int position) {
  const auto track = std::find_if(std::begin(kClockTracks), std::end(kClockTracks),
                                  [id](const TClockTrack& t) { return t.id == id; });
  if (track == std::end(kClockTracks)) return false;
  track->field(Clock()) = position;
  RequestRepaint(false);
  return true;
}

bool TfrmDisplayPreferencesAnalogClock::DrawItem(const DRAWITEMSTRUCT& item) {
  for (std::size_t i = 0; i < std::size(kClockColors); ++i)
    if (kClockColors[i].id == static_cast<int>(item.CtlID)) return FColors[i]->DrawItem(item);
  return false;
}

TDisplayCountdown& TfrmDisplayPreferencesCountdown::Countdown() const {
  return static_cast<TDisplayCountdown&>(Display());
}

void TfrmDisplayPreferencesCountdown::SetUpControls() {
  TacDisplayPreferencesDigital::SetUpControls();
  SYSTEMTIME range[2] = {};
  range[1] = {2060, 12, 0, 31, 23, 59, 59, 0};
  SendMessageW(Control(FinalDateId), DTM_SETRANGE, GDTR_MAX, reinterpret_cast<LPARAM>(range));
  SendMessageW(Control(FinalTimeId), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm:ss"));
  for (int unit = 0; unit < 4; ++unit)
    for (const std::string& item : VisibilityItems(unit == cuSeconds))
      AddComboItem(PageOf(VisibilityId), VisibilityId + unit, item);
}

void TfrmDisplayPreferencesCountdown::LoadFinalTime() {
  const TSystemTime final = DateTimeToSystemTime(Countdown().FinalTime());
  SetDateTimePickerValue(PageOf(FinalDateId), FinalDateId, final);
  SetDateTimePickerValue(PageOf(FinalTimeId), FinalTimeId, final);
}

void TfrmDisplayPreferencesCountdown::LoadVisibility() {
  for (int unit = 0; unit < 4; ++unit)
    SetComboSelection(PageOf(VisibilityId), VisibilityId + unit,
                      Countdown().Visibility[static_cast<std::size_t>(unit)]);
}

void TfrmDisplayPreferencesCountdown::LoadControls() {
  TacDisplayPreferencesDigital::LoadControls();
  const TDisplayCountdown& c = Countdown();
  LoadVisibility();
  LoadFinalTime();
  SetControlText(PageOf(TextId), TextId, c.CountdownText);
  SetControlText(PageOf(ZeroTextId), ZeroTextId, c.ZeroText);
  const std::string* texts[] = {&c.DaysBefore, &c.HoursBefore, &c.MinutesBefore, &c.SecondsBefore,
                                &c.DaysAfter,  &c.HoursAfter,  &c.MinutesAfter,  &c.SecondsAfter};
  for (int i = 0; i < 8; ++i) SetControlText(PageOf(BeforeId), BeforeId + i, *texts[i]);
}

void TfrmDisplayPreferencesCountdown::VisibilityChanged() {
  TDisplayCountdown& c = Countdown();
  for (int unit = 0; unit < 4; ++unit)
    c.Visibility[static_cast<std::size_t>(unit)] = static_cast<std::uint8_t>(
        std::max(ComboSelection(PageOf(VisibilityId), VisibilityId + unit), 0));
  c.NormaliseVisibility();
  // The corrected choice shows at once.
  LoadVisibility();
  RequestRepaint(false);
}

void TfrmDisplayPreferencesCountdown::CounterTextsChanged() {
  TDisplayCountdown& c = Countdown();
  std::string* texts[] = {&c.DaysBefore, &c.HoursBefore, &c.MinutesBefore, &c.SecondsBefore,
                          &c.DaysAfter,  &c.HoursAfter,  &c.MinutesAfter,  &c.SecondsAfter};
  for (int i = 0; i < 8; ++i) *texts[i] = ControlText(PageOf(BeforeId), BeforeId + i);
  RequestRepaint(true);
}

bool TfrmDisplayPreferencesCountdown::KindCommand(int id, int notification) {
  TDisplayCountdown& c = Countdown();
  if (id == TodayId || id == AddDayId || id == AddWeekId) {
    // As the display's own menu does it.
    c.MenuCommand(id == TodayId    ? cmdCountdownToday
                  : id == AddDayId ? cmdCountdownAddDay
                                   : cmdCountdownAddWeek);
    LoadFinalTime();
    RequestRepaint(false);
  } else if (id >= VisibilityId && id < VisibilityId + 4) {
    if (notification == CBN_SELCHANGE) VisibilityChanged();
  } else if (id >= BeforeId && id < AfterId + 4) {
    if (notification == EN_CHANGE) CounterTextsChanged();
  } else if (id == TextId || id == ZeroTextId) {
    if (notification != EN_CHANGE) return true;
    (id == TextId ? c.CountdownText : c.ZeroText) = ControlText(PageOf(id), id);
    RequestRepaint(false);
  } else {
    return TacDisplayPreferencesDigital::KindCommand(id, notification);
  }
  return true;
}

LRESULT TfrmDisplayPreferencesCountdown::KindNotify(const NMHDR& header) {
  const auto id = static_cast<int>(header.idFrom);
  if ((id == FinalDateId || id == FinalTimeId) && header.code == DTN_DATETIMECHANGE &&
      !Updating()) {
    TDisplayCountdown& c = Countdown();
    const TDateTime picked = SystemTimeToDateTime(DateTimePickerValue(PageOf(id), id));
    c.SetFinalTime(id == FinalDateId ? WithDate(c.FinalTime(), picked)
                                     : WithTimeOfDay(c.FinalTime(), picked));
    RequestRepaint(false);
  }
  return 0;
}

// Opening and closing ---------------------------------------------------------------

namespace {

// A kind's window, for a display of the kind's own class only: one kept as it
// was stored after its load failed carries the kind's number without its class.
template <class TKind, class TWindow>
TacDisplayPreferences* NewPreferences(TDisplay& display, TDisplayPreferencesContext& context,
                                      HWND owner) {
  return dynamic_cast<TKind*>(&display) ? new TWindow(display, context, owner) : nullptr;
}

}  // namespace

bool OpenDisplayPreferences(TDisplay& display, TDisplayPreferencesContext& context, HWND owner) {
  TacDisplayPreferences* window = nullptr;
  switch (display.Kind()) {
    case dkDigitalClock:
      window = NewPreferences<TDisplayDigitalClock, TfrmDisplayPreferencesDigitalClock>(
          display, context, owner);
      break;
    case dkStopwatch:
      window = NewPreferences<TDisplayStopwatch, TfrmDisplayPreferencesStopwatch>(display, context,
                                                                                  owner);
      break;
    case dkCountdown:
      window = NewPreferences<TDisplayCountdown, TfrmDisplayPreferencesCountdown>(display, context,
                                                                                  owner);
      break;
    case dkAnalogClock:
      window = NewPreferences<TDisplayAnalogClock, TfrmDisplayPreferencesAnalogClock>(
          display, context, owner);
      break;
    default:
      break;
  }
  if (!window) return false;
  // From here the window owns itself: it goes when it is closed.
  window->CreateModeless(owner ? owner : context.application);
  if (!window->Handle()) {
    delete window;
    return false;
  }
  window->Show();
  return true;
}

void CloseAllDisplayPreferences() {
  while (!OpenWindows().empty()) {
    TacDisplayPreferences* window = OpenWindows().back();
    if (window->Handle())
      DestroyWindow(window->Handle());  // which frees it
    else
      delete window;
  }
}

TacDisplayPreferences* DisplayPreferencesOf(const TDisplay& display) {
  for (TacDisplayPreferences* window : OpenWindows())
    if (&window->Display() == &display) return window;
  return nullptr;
}
