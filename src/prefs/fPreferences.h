#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "support/uDialogBase.h"
#include "support/uDialogControls.h"
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
  HWND mainWindow;  // told (message 1027) when the window has shown
  std::function<void()> saveAll;
  std::function<void(bool visible)> setTrayIconVisible;
  std::function<void(bool registered)> setHotKeysRegistered;
  // After the switch back to the built-in English: make the window anew there.
  std::function<void(int left, int top)> reopenAt;
  // The window is gone; the last call, after which the object may be freed.
  std::function<void()> closed;
};

// The program's settings window: the displays, the events and the option
// pages. Options change at once; they are saved when the window closes, and
// the window is destroyed then.
class TfrmPreferences : public TDialogBase {
 public:
  static constexpr int TemplateId = 2000;
  static constexpr int CloseId = 2001;
  static constexpr int TabsId = 2005;
  static constexpr int DisplayListId = 2006;
  static constexpr int ConfigureDisplayId = 2007;
  static constexpr int AddDisplayId = 2008;
  static constexpr int RemoveDisplayId = 2009;
  static constexpr int SetPrimaryId = 2012;
  static constexpr int ResetPositionId = 2017;
  static constexpr int AddEventId = 2014;
  static constexpr int EditEventId = 2015;
  static constexpr int DeleteEventId = 2016;
  static constexpr int EventListId = 2050;
  static constexpr int StartAutomaticallyId = 2101;
  static constexpr int AutoHideId = 2103;
  static constexpr int HideAllId = 2107;
  static constexpr int ShowTrayIconId = 2120;
  static constexpr int InsertElementId = 2122;
  static constexpr int DefaultTooltipId = 2124;
  static constexpr int SoundCheckId = 2133;  // to 2136: quarter, half, three quarters, top
  static constexpr int AOT5sId = 2141;
  static constexpr int SetLanguageId = 2151;
  static constexpr int ChimeEnabledId = 2170;
  static constexpr int TowerClockId = 2171;
  static constexpr int PreviewId = 2172;
  static constexpr int PreviewStopId = 2173;
  static constexpr int TreeId = 2310;
  static constexpr int AutoHideDelayId = 2320;
  static constexpr int AutoHideLabelId = 2321;
  static constexpr int AutoShowDelayId = 2322;
  static constexpr int AutoShowLabelId = 2323;
  static constexpr int LanguagesId = 2324;
  static constexpr int TooltipId = 2325;
  static constexpr int ChimeStartId = 2326;
  static constexpr int ChimeStopId = 2327;
  static constexpr int SoundFileId = 2330;    // to 2333
  static constexpr int SoundBrowseId = 2340;  // to 2343
  static constexpr int SoundPlayId = 2350;    // to 2353
  static constexpr int SoundStopId = 2360;    // to 2363
  static constexpr int HotKeyId = 2370;       // to 2372: show/hide, show, hide
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
  enum : UINT {
    WM_REBUILD_EVENTS = 1028,
    WM_DISPLAY_PREFERENCES_CLOSED = 1029,
    WM_SHOW_LANGUAGE_PAGE = 1030,
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
  void SelectDisplay(const TDisplay* display);
  // The window of a control of any page, for the tests.
  HWND Control(int id) const;
  HWND TabControl() const override { return Item(TabsId); }

 protected:
  bool OnInitDialog() override;
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int notification) override;
  void OnDestroyed() override;

 private:
  INT_PTR PageMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND PageOf(int id) const;
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

  void TrackBarMoved(HWND track);
  void ChimeHoursChanged();
  void SoundRowCommand(int id);
  void HotKeyChanged();
  void DefaultTooltipClick();
  void SetTooltipText(const std::string& text);
  void SetLanguageClick();
  void OptionBoxClicked(int id);
  LRESULT OnNotify(const NMHDR& header);
  LRESULT ListNotify(int id, const NMHDR& header);
  LRESULT CustomDrawEvents(NMLVCUSTOMDRAW& draw);

  TPreferencesContext FContext;
  std::vector<std::unique_ptr<TDialogPage>> FPages;  // displays, events, preferences, option pages
  std::optional<TGlyphButtons> FGlyphs;
  TUniqueFont FStrikeOutFont;
  bool FPositionGiven = false;
  int FGivenLeft = 0;
  int FGivenTop = 0;
  bool FUpdating = false;
  bool FDeleting = false;
  bool FRebuildingTree = false;
};
