#include "prefs/fPreferences.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "config/uMultilanguage.h"
#include "config/uOptions.h"
#include "config/uWin32Translate.h"
#include "display/uDisplay.h"
#include "display/uDisplayList.h"
#include "events/uTowerClock.h"
#include "prefs/fFormatElements.h"
#include "prefs/uPreferences.h"
#include "support/uPlatform.h"
#include "support/uTools.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"
#include "support/uWindowBase.h"

namespace {

constexpr int kPageTemplates[] = {IDD_PREFS_DISPLAYS_PAGE, IDD_PREFS_EVENTS_PAGE,
                                  IDD_PREFS_OPTIONS_PAGE,  IDD_PREFS_GENERAL_PAGE,
                                  IDD_PREFS_LANGUAGE_PAGE, IDD_PREFS_TRAY_ICON_PAGE,
                                  IDD_PREFS_CHIME_PAGE,    IDD_PREFS_CHIME_SOUNDS_PAGE,
                                  IDD_PREFS_HOT_KEYS_PAGE, IDD_PREFS_TROUBLESHOOTING_PAGE};
// Where the option pages sit on the preferences page, in dialog units.
constexpr RECT kOptionArea{120, 0, 326, 204};

struct TTreeNode {
  const char* key;
  const char* text;
  int parent;
};
constexpr TTreeNode kTreeNodes[] = {{"PREF_GENERAL", "General", -1},
                                    {"PREF_LANGUAGE", "Language", -1},
                                    {"PREF_TRAYICON", "Tray icon", -1},
                                    {"PREF_CHIME", "Chime", -1},
                                    {"PREF_CHIME_SOUNDS", "Sounds", 3},
                                    {"PREF_HOTKEYS", "Keyboard shortcuts", -1},
                                    {"PREF_TROUBLESHOOTING", "Troubleshooting", -1}};

// A shortcut box: Delete or Backspace alone erases the shortcut, as its hint says.
LRESULT HotKeyBoxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam, DWORD_PTR) {
  if (msg == WM_KEYDOWN && (wParam == VK_DELETE || wParam == VK_BACK) && NoModifierHeld()) {
    SendMessageW(box, HKM_SETHOTKEY, 0, 0);
    SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), EN_CHANGE),
                 reinterpret_cast<LPARAM>(box));
    return 0;
  }
  return DefSubclassProc(box, msg, wParam, lParam);
}

std::vector<std::string> PageNames() {
  return {GetText("2002", "Displays"), GetText("2003", "Events"), GetText("2004", "Preferences")};
}

}  // namespace

TfrmPreferences::TfrmPreferences(TPreferencesContext context)
    : TPagedDialog(TemplateId), FContext(std::move(context)) {}

TfrmPreferences::~TfrmPreferences() {
  // Closed with the program: its end is not reported to it.
  FContext.closed = nullptr;
  if (Handle()) DestroyWindow(Handle());
}

void TfrmPreferences::SetPosition(int left, int top) {
  FPositionGiven = true;
  FGivenLeft = left;
  FGivenTop = top;
}

bool TfrmPreferences::OnInitDialog() {
  FormCreate();
  return true;
}

void TfrmPreferences::FormCreate() {
  CreatePages();
  SetUpControls();
  Translate();
  BuildTree(0);
  ShowPage(0);
}

void TfrmPreferences::CreatePages() {
  for (std::size_t i = 0; i < std::size(kPageTemplates); ++i)
    AddPage(kPageTemplates[i], i < pgFirstOption ? Handle() : Page(pgPreferences));
  PlacePages();
}

void TfrmPreferences::PlacePages() {
  const HWND tabs = Item(TabsId);
  RECT area{};
  GetWindowRect(tabs, &area);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);
  SetTabTexts(Handle(), TabsId, PageNames());
  SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  // Right after the tab control in the Tab order, before the Close button.
  for (std::size_t i = pgDisplays; i < pgFirstOption; ++i)
    SetWindowPos(Page(i), tabs, area.left, area.top, area.right - area.left, area.bottom - area.top,
                 SWP_NOACTIVATE);
  RECT option = kOptionArea;
  MapDialogRect(Page(pgPreferences), &option);
  for (std::size_t i = pgFirstOption; i < PageCount(); ++i)
    SetWindowPos(Page(i), nullptr, option.left, option.top, option.right - option.left,
                 option.bottom - option.top, SWP_NOACTIVATE | SWP_NOZORDER);
}

void TfrmPreferences::SetUpControls() {
  const HWND displays = PageOf(DisplayListId), events = PageOf(EventListId);
  ShowListCheckBoxes(displays, DisplayListId);
  SendDlgItemMessageW(displays, DisplayListId, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                      LVS_EX_FULLROWSELECT);
  ShowListCheckBoxes(events, EventListId);
  const struct {
    HWND page;
    int id, width;
    const char* caption;
  } columns[] = {
      {displays, DisplayListId, 140, "Type"},   {displays, DisplayListId, 180, "Description"},
      {displays, DisplayListId, 50, "Primary"}, {events, EventListId, 110, "Date and time"},
      {events, EventListId, 140, "Event"},      {events, EventListId, 120, "Repeat"}};
  for (const auto& column : columns)
    AddListColumn(column.page, column.id, column.caption, column.width);
  for (const auto& [track, label] :
       {std::pair{AutoHideDelayId, AutoHideLabelId}, std::pair{AutoShowDelayId, AutoShowLabelId}}) {
    SetTrackBar(track, 0, IntervalSteps, label);
  }
  for (const int picker : {ChimeStartId, ChimeStopId})
    SendMessageW(Control(picker), DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(L"HH:mm"));
  // A shortcut needs Ctrl or Alt: a plain or shifted key gets Ctrl+Alt instead.
  for (int i = 0; i < 3; ++i) {
    SendMessageW(Control(HotKeyId + i), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                 MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    SetWindowSubclass(Control(HotKeyId + i), &GuardedSubclassProc<&HotKeyBoxProc>, 1, 0);
  }
  AttachFormatElementMenu(Control(TooltipId), FContext.zones);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)), sizeof(font),
             &font);
  font.lfStrikeOut = TRUE;
  FStrikeOutFont.reset(CreateFontIndirectW(&font));
  FGlyphs.emplace(Handle());
  FGlyphs->SetGlyph(Control(PreviewId), 8);
  FGlyphs->SetGlyph(Control(PreviewStopId), 9);
  for (int row = 0; row < 4; ++row) {
    FGlyphs->SetGlyph(Control(SoundBrowseId + row), 7);
    FGlyphs->SetGlyph(Control(SoundPlayId + row), 8);
    FGlyphs->SetGlyph(Control(SoundStopId + row), 9);
  }
}

void TfrmPreferences::Translate() {
  // Both reach the controls of every page: they are the window's descendants.
  TranslateForm(Handle(), TemplateId);
  TranslateGroupBoxes(Handle());
  SetTabTexts(Handle(), TabsId, PageNames());
  // The hints of the first play, browse and stop buttons are those of every row.
  FGlyphs->SetHint(Control(PreviewId),
                   GetText("2172(hint)", "Tower clock mode test (strike 3 o'clock)"));
  FGlyphs->SetHint(Control(PreviewStopId), GetText("2173(hint)", "Stop"));
  for (int row = 0; row < 4; ++row) {
    FGlyphs->SetHint(Control(SoundBrowseId + row), GetText("2137(hint)", "Browse for file..."));
    FGlyphs->SetHint(Control(SoundPlayId + row), GetText("2138(hint)", "Play the sound"));
    FGlyphs->SetHint(Control(SoundStopId + row), GetText("2139(hint)", "Stop playing"));
  }
}

void TfrmPreferences::BuildTree(int selected) {
  const HWND page = PageOf(TreeId);
  FRebuildingTree = true;
  SendMessageW(Control(TreeId), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  HTREEITEM items[std::size(kTreeNodes)] = {};
  for (std::size_t i = 0; i < std::size(kTreeNodes); ++i) {
    const TTreeNode& node = kTreeNodes[i];
    const HTREEITEM parent = node.parent < 0 ? TVI_ROOT : items[node.parent];
    items[i] =
        AddTreeItem(page, TreeId, parent, GetText(node.key, node.text), static_cast<LPARAM>(i));
  }
  ExpandAllTreeItems(page, TreeId);
  FRebuildingTree = false;
  SelectTreeItem(page, TreeId, items[std::clamp(selected, 0, int{OptionPageCount} - 1)]);
}

void TfrmPreferences::ShowOptionPage(int index) {
  for (int i = 0; i < OptionPageCount; ++i)
    ShowWindow(Page(pgFirstOption + static_cast<std::size_t>(i)), i == index ? SW_SHOW : SW_HIDE);
  if (index == opLanguage && SendMessageW(Control(LanguagesId), LB_GETCOUNT, 0, 0) == 0)
    FillLanguages();
}

void TfrmPreferences::FillLanguages() {
  const HWND list = Control(LanguagesId);
  for (const std::string& entry : TMultiLanguage::ListLanguages(ProgramFolder())) {
    const auto row =
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(entry).c_str()));
    // The language in use is the one selected.
    if (SameTextAscii(TMultiLanguage::LanguageOfEntry(entry), FContext.language.LanguageName()))
      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  }
}

int TfrmPreferences::CurrentPage() const {
  return static_cast<int>(SendMessageW(Item(TabsId), TCM_GETCURSEL, 0, 0));
}

int TfrmPreferences::PageInView() const {
  const auto tab = static_cast<std::size_t>(CurrentPage());
  if (tab != pgPreferences) return kPageTemplates[tab];
  for (std::size_t i = pgFirstOption; i < PageCount(); ++i)
    if (IsWindowVisible(Page(i))) return kPageTemplates[i];
  return kPageTemplates[pgPreferences];
}

void TfrmPreferences::ShowPage(int page) {
  SendMessageW(Item(TabsId), TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
  for (std::size_t i = pgDisplays; i < pgFirstOption; ++i)
    ShowWindow(Page(i), static_cast<int>(i) == page ? SW_SHOW : SW_HIDE);
  // A display is highlighted only while its list is in view.
  FContext.displays.Highlight(page == pgDisplays ? SelectedDisplay() : nullptr);
}

void TfrmPreferences::Open() {
  FContext.setHotKeysRegistered(false);
  PlaceWindow();
  FillDisplayRows();
  FillEventRows(nullptr);
  OptionsToControls();
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  PostMessageW(FContext.mainWindow, WM_PREFERENCES_SHOWN, 0, 0);
}

void TfrmPreferences::PlaceWindow() {
  RECT bounds{};
  GetWindowRect(Handle(), &bounds);
  const TPoint size{bounds.right - bounds.left, bounds.bottom - bounds.top};
  TPoint at{FGivenLeft, FGivenTop};
  if (!FPositionGiven) {
    POINT cursor{};
    GetCursorPos(&cursor);
    at = FitOnMonitor({cursor.x - size.x / 2, cursor.y - size.y / 2}, size,
                      TPoint{cursor.x, cursor.y});
  }
  SetWindowPos(Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TfrmPreferences::Ask(const char* key, const char* question) const {
  const std::wstring text = Utf8ToWide(GetText(key, question));
  return MessageBoxW(Handle(), text.c_str(), L"Quorvel", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// Messages -------------------------------------------------------------------

void TfrmPreferences::OnCommand(int id, int notification) {
  const bool clicked = notification == BN_CLICKED;
  if (id == CloseId || id == IDCANCEL) {
    End(IDCANCEL);
  } else if (id == HelpId) {
    OpenHelp(PageInView());
  } else if (id == IDOK) {
    // Enter acts on the focused list's row.
    const HWND focus = GetFocus();
    if (focus == Control(DisplayListId)) ConfigureDisplay();
    if (focus == Control(EventListId)) EditEvent();
    if (focus == Control(LanguagesId)) SetLanguageClick();
  } else if (AddDisplayOfMenuItem(id)) {
    // A kind from the add button's menu.
  } else if (id == AddDisplayId) {
    ShowAddDisplayMenu();
  } else if (id == RemoveDisplayId) {
    DeleteDisplay();
  } else if (id == ConfigureDisplayId) {
    ConfigureDisplay();
  } else if (id == SetPrimaryId) {
    SetAsPrimary();
  } else if (id == ResetPositionId) {
    ResetPosition();
  } else if (id == AddEventId) {
    AddEvent();
  } else if (id == EditEventId) {
    EditEvent();
  } else if (id == DeleteEventId) {
    DeleteEvent();
  } else if (id == LanguagesId) {
    if (notification == LBN_SELCHANGE) EnableControl(PageOf(SetLanguageId), SetLanguageId, true);
    if (notification == LBN_DBLCLK) SetLanguageClick();
  } else if (id == SetLanguageId) {
    SetLanguageClick();
  } else if (id == InsertElementId) {
    ShowFormatElements(Control(TooltipId), FContext.zones, Control(InsertElementId));
  } else if (id == DefaultTooltipId) {
    DefaultTooltipClick();
  } else if (id == PreviewId) {
    StartTowerClock(FContext.options, TSystemTime{2000, 1, 6, 1, 15, 0, 0, 0});
  } else if (id == PreviewStopId) {
    StopTowerClock();
  } else if (Updating()) {
    // Filling the controls changes nothing.
  } else if (const auto sound = SoundControlOf(id)) {
    const bool typed = sound->part == TSoundPart::File && notification == EN_CHANGE;
    if (clicked || typed) SoundRowCommand(id, *sound);
  } else if (id >= HotKeyId && id < HotKeyId + 3) {
    if (notification == EN_CHANGE) HotKeyChanged();
  } else if (id == TooltipId) {
    if (notification == EN_CHANGE)
      FContext.options.ToolTipText = ControlText(PageOf(TooltipId), TooltipId);
  } else if (clicked) {
    OptionBoxClicked(id);
  }
}

INT_PTR TfrmPreferences::DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_NOTIFY:
      SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, OnPageNotify(*reinterpret_cast<NMHDR*>(lParam)));
      return TRUE;
    case WM_REBUILD_EVENTS:
      FillEventRows(nullptr);
      return TRUE;
    case WM_DISPLAY_PREFERENCES_CLOSED:
      ShowWindow(Handle(), SW_SHOW);
      SetForegroundWindow(Handle());
      if (const int row = SelectedListRow(PageOf(DisplayListId), DisplayListId); row >= 0)
        RefreshDisplayRow(row);
      SelectDisplay(SelectedDisplay());
      FContext.displays.Highlight(SelectedDisplay());
      return TRUE;
    case WM_SHOW_LANGUAGE_PAGE:
      ShowPage(pgPreferences);
      BuildTree(opLanguage);
      SetFocus(Control(LanguagesId));
      return TRUE;
    default:
      return TDialogBase::DlgProc(msg, wParam, lParam);
  }
}

LRESULT TfrmPreferences::OnPageNotify(const NMHDR& header) {
  const auto id = static_cast<int>(header.idFrom);
  if (id == TabsId && header.code == TCN_SELCHANGE) {
    ShowPage(CurrentPage());
  } else if (id == TreeId && header.code == TVN_SELCHANGEDW) {
    if (!FRebuildingTree)
      ShowOptionPage(static_cast<int>(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.lParam));
  } else if (id == TreeId && header.code == TVN_ITEMEXPANDINGW) {
    // Always fully expanded.
    return (reinterpret_cast<const NMTREEVIEWW&>(header).action & TVE_COLLAPSE) ? TRUE : FALSE;
  } else if (id == TreeId && header.code == TVN_ITEMEXPANDEDW) {
    // A tree that closed the node all the same opens it again.
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    if (change.action & TVE_COLLAPSE)
      SendMessageW(header.hwndFrom, TVM_EXPAND, TVE_EXPAND,
                   reinterpret_cast<LPARAM>(change.itemNew.hItem));
  } else if ((id == ChimeStartId || id == ChimeStopId) && header.code == DTN_DATETIMECHANGE) {
    if (!Updating()) ChimeHoursChanged();
  } else if (id == DisplayListId || id == EventListId) {
    return ListNotify(id, header);
  }
  return 0;
}

void TfrmPreferences::OnDestroyed() {
  StopSound();
  StopTowerClock();
  FContext.saveAll();
  FContext.displays.Highlight(nullptr);
  FContext.setHotKeysRegistered(true);
  // Last: the program may free this object in it.
  if (const auto closed = FContext.closed) closed();
}
