#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "prefs/uPreferences.h"
#include "resources/uResourceIds.h"
#include "support/uDialogControls.h"
#include "support/uPagedDialog.h"
#include "support/uWinHandles.h"

class TDisplay;
class TDisplayList;
class TEvents;
class TMultiLanguage;
class TOptions;
class TTimeZones;
struct TBusyState;

// What the preferences window works with, and what it asks of the program.
struct TPreferencesContext {
  TOptions& options;
  TDisplayList& displays;
  TEvents& events;
  const TTimeZones& zones;
  TMultiLanguage& language;
  TBusyState& busy;
  HWND mainWindow;  // told (WM_PREFERENCES_SHOWN) when the window has shown
  std::function<void()> saveAll;
  std::function<void(bool visible)> setTrayIconVisible;
  std::function<void(bool registered)> setHotKeysRegistered;
  // After the switch back to the built-in English: make the window anew there.
  std::function<void(int left, int top)> reopenAt;
  // The window is gone.
  std::function<void()> closed;
};

// The program's settings window: the displays, the events and the option
// pages. Options change at once; they are saved when the window closes, and
// the window is destroyed then.
class TfrmPreferences : public TPagedDialog {
 public:
  static constexpr int TemplateId = IDD_PREFS;
  static constexpr int CloseId = IDC_PREFS_CLOSE;
  static constexpr int HelpId = IDC_PREFS_HELP;
  static constexpr int TabsId = IDC_PREFS_TABS;
  static constexpr int DisplayListId = IDC_PREFS_DISPLAY_LIST;
  static constexpr int ConfigureDisplayId = IDC_PREFS_CONFIGURE_DISPLAY;
  static constexpr int AddDisplayId = IDC_PREFS_ADD_DISPLAY;
  static constexpr int RemoveDisplayId = IDC_PREFS_REMOVE_DISPLAY;
  static constexpr int SetPrimaryId = IDC_PREFS_SET_PRIMARY;
  static constexpr int ResetPositionId = IDC_PREFS_RESET_POSITION;
  static constexpr int AddEventId = IDC_PREFS_ADD_EVENT;
  static constexpr int EditEventId = IDC_PREFS_EDIT_EVENT;
  static constexpr int DeleteEventId = IDC_PREFS_DELETE_EVENT;
  static constexpr int EventListId = IDC_PREFS_EVENT_LIST;
  static constexpr int StartAutomaticallyId = IDC_PREFS_START_AUTOMATICALLY;
  static constexpr int AutoHideId = IDC_PREFS_AUTO_HIDE;
  static constexpr int HideAllId = IDC_PREFS_HIDE_ALL;
  static constexpr int ShowTrayIconId = IDC_PREFS_SHOW_TRAY_ICON;
  static constexpr int InsertElementId = IDC_PREFS_INSERT_ELEMENT;
  static constexpr int DefaultTooltipId = IDC_PREFS_DEFAULT_TOOLTIP;
  static constexpr int SoundCheckId =
      IDC_PREFS_SOUND_CHECK_QUARTER;  // to 2136: quarter, half, three quarters, top
  static constexpr int AOT5sId = IDC_PREFS_AOT_5S;
  static constexpr int SetLanguageId = IDC_PREFS_SET_LANGUAGE;
  static constexpr int ChimeEnabledId = IDC_PREFS_CHIME_ENABLED;
  static constexpr int TowerClockId = IDC_PREFS_TOWER_CLOCK;
  static constexpr int PreviewId = IDC_PREFS_PREVIEW;
  static constexpr int PreviewStopId = IDC_PREFS_PREVIEW_STOP;
  static constexpr int TreeId = IDC_PREFS_TREE;
  static constexpr int AutoHideDelayId = IDC_PREFS_AUTO_HIDE_DELAY;
  static constexpr int AutoHideLabelId = IDC_PREFS_AUTO_HIDE_LABEL;
  static constexpr int AutoShowDelayId = IDC_PREFS_AUTO_SHOW_DELAY;
  static constexpr int AutoShowLabelId = IDC_PREFS_AUTO_SHOW_LABEL;
  static constexpr int LanguagesId = IDC_PREFS_LANGUAGES;
  static constexpr int TooltipId = IDC_PREFS_TOOLTIP;
  static constexpr int ChimeStartId = IDC_PREFS_CHIME_START;
  static constexpr int ChimeStopId = IDC_PREFS_CHIME_STOP;
  static constexpr int SoundFileId = IDC_PREFS_SOUND_FILE_QUARTER;      // to 2333
  static constexpr int SoundBrowseId = IDC_PREFS_SOUND_BROWSE_QUARTER;  // to 2343
  static constexpr int SoundPlayId = IDC_PREFS_SOUND_PLAY_QUARTER;      // to 2353
  static constexpr int SoundStopId = IDC_PREFS_SOUND_STOP_QUARTER;      // to 2363
  static constexpr int HotKeyId = IDC_PREFS_HOT_KEY_SHOW_HIDE;  // to 2372: show/hide, show, hide
  // The page tree's nodes, in order.
  enum TOptionPage {
    opGeneral,
    opLanguage,
    opTrayIcon,
    opChime,
    opChimeSounds,
    opHotKeys,
    opTroubleshooting,
    OptionPageCount
  };

  explicit TfrmPreferences(TPreferencesContext context);
  ~TfrmPreferences() override;

  // Before Open: the window's top-left corner; without it, centred on the cursor.
  void SetPosition(int left, int top);
  // Shows the window with its lists and options filled.
  void Open();
  // 0 displays, 1 events, 2 preferences.
  void ShowPage(int page);
  int CurrentPage() const;
  // The template of the page in view: a tab's, or on the options tab the option page's.
  int PageInView() const;
  void SelectDisplay(const TDisplay* display);
  HWND TabControl() const override { return Item(TabsId); }

 protected:
  bool OnInitDialog() override;
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int notification) override;
  void OnDestroyed() override;
  void TrackBarMoved(int id, int position) override;
  std::string TrackLabel(int id, int position) const override;
  LRESULT OnPageNotify(const NMHDR& header) override;

 private:
  // The pages, in the order they are made: the three tabs', then the option pages.
  enum : std::size_t { pgDisplays, pgEvents, pgPreferences, pgFirstOption };
  // True when the user answers the question (translated by key) with Yes.
  bool Ask(const char* key, const char* question) const;
  void FormCreate();
  void CreatePages();
  void PlacePages();
  void SetUpControls();
  void Translate();
  void BuildTree(int selected);
  void PlaceWindow();
  void OptionsToControls();
  void RefreshSoundRows();
  void UpdateActions();
  void ShowOptionPage(int index);
  void FillLanguages();

  void FillDisplayRows();
  int DisplayRow(const TDisplay* display) const;
  TDisplay* SelectedDisplay() const;
  void RefreshDisplayRow(int row);
  void DisplayChecked(int row);
  void DisplaySelected();
  // True when id was an item of the add button's menu.
  bool AddDisplayOfMenuItem(int id);
  void AddDisplay(std::uint8_t kind);
  void ShowAddDisplayMenu();
  void ConfigureDisplay();
  void DeleteDisplay();
  void SetAsPrimary();
  void ResetPosition();

  void FillEventRows(const void* selected);
  void EventChecked(int row);
  void AddEvent();
  void EditEvent();
  void DeleteEvent();

  void ChimeHoursChanged();
  void SoundRowCommand(int id, TSoundControl control);
  void HotKeyChanged();
  void DefaultTooltipClick();
  void SetTooltipText(const std::string& text);
  void SetLanguageClick();
  void OptionBoxClicked(int id);
  LRESULT ListNotify(int id, const NMHDR& header);
  LRESULT CustomDrawEvents(NMLVCUSTOMDRAW& draw);

  TPreferencesContext FContext;
  std::optional<TGlyphButtons> FGlyphs;
  TUniqueFont FStrikeOutFont;
  bool FPositionGiven = false;
  int FGivenLeft = 0;
  int FGivenTop = 0;
  bool FDeleting = false;
  bool FRebuildingTree = false;
};
