#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <vector>

#include "display/uDisplayPresets.h"
#include "support/VarnColorButton.h"
#include "support/uDialogBase.h"
#include "support/uDialogControls.h"

class TDisplay;
class TDisplayAnalogClock;
class TDisplayCountdown;
class TDisplayDigital;
class TDisplayList;
class TTimeZone;
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
// Modeless; it frees itself when closed.
class TacDisplayPreferences : public TDialogBase {
 public:
  static constexpr int TabsId = 3008;
  static constexpr int CloseId = 3005;
  static constexpr int DescriptionId = 3030;
  static constexpr int TranslucentId = 3002;
  static constexpr int TranslucencyId = 3031;
  static constexpr int TranslucencyLabelId = 3032;
  static constexpr int AlwaysOnTopId = 3007;
  static constexpr int LoadPresetId = 3003;
  static constexpr int SavePresetId = 3004;
  // The message the preferences window gets when this one closes.
  static constexpr UINT WM_DISPLAY_PREFERENCES_CLOSED = 1029;

  ~TacDisplayPreferences() override;
  // The window of a control of any page, for the tests.
  HWND Control(int id) const;
  TDisplay& Display() const { return FDisplay; }
  // Shows the pages of a tab.
  void ShowTab(int tab);
  HWND TabControl() const override { return Item(TabsId); }

 protected:
  // The general tab shows the kind's generalPages under the common one; the kind's tabs follow.
  TacDisplayPreferences(int templateId, const std::vector<int>& generalPages,
                        std::vector<TPreferencesTab> tabs, TDisplay& display,
                        TDisplayPreferencesContext& context, HWND owner);
  bool OnInitDialog() override;
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int notification) override;
  void OnDestroyed() override;

  // The pages exist: the kinds set up their controls after the base's.
  virtual void SetUpControls();
  // Fills every control from the display; the kinds add theirs after the base's.
  virtual void LoadControls();
  // A control of a kind's page changed; true when it was the kind's.
  virtual bool KindCommand(int id, int notification);
  virtual bool KindTrackBar(int id, int position);
  // A notification of a control of a kind's page; its answer.
  virtual LRESULT KindNotify(const NMHDR& header);
  virtual bool DrawItem(const DRAWITEMSTRUCT& item);
  // Now, or 500 ms after the last request (typing).
  void RequestRepaint(bool delayed);
  HWND PageOf(int id) const;
  bool Updating() const { return FUpdating; }
  TDisplayPreferencesContext& Context() const { return FContext; }
  // The hints of the window's small buttons.
  TGlyphButtons& Hints() { return *FHints; }

 private:
  INT_PTR PageMessage(HWND page, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND AddPage(int templateId);
  void CreatePages();
  void PlaceWindow();
  void TrackBarMoved(HWND track);
  void PresetClick(bool save);
  void FormClose();

  std::vector<TPreferencesTab> FTabs;
  std::vector<std::unique_ptr<TDialogPage>> FPages;
  std::vector<std::vector<HWND>> FTabPages;  // the pages of each tab
  TDisplay& FDisplay;
  TDisplayPreferencesContext& FContext;
  HWND FOwner;
  std::unique_ptr<TDisplayPresetManager> FPresets;
  std::optional<TGlyphButtons> FHints;
  bool FUpdating = false;
};

// The text kinds' font and colours: outline, shadow, background and border.
class TacDisplayPreferencesDigital : public TacDisplayPreferences {
 public:
  static constexpr int FontNameId = 3040;
  static constexpr int FontId = 3012;
  static constexpr int TextColorId = 3013;
  static constexpr int OutlineColorId = 3015;
  static constexpr int OutlineWidthId = 3041;
  static constexpr int Outline3DId = 3016;
  static constexpr int ShadowColorId = 3018;
  static constexpr int ShadowId = 3042;
  static constexpr int HasBackgroundId = 3020;
  static constexpr int BackgroundColorId = 3021;
  static constexpr int BevelColorId = 3024;
  static constexpr int BevelWidthId = 3043;
  static constexpr int Bevel3DId = 3025;
  static constexpr int TextId = 3150;
  static constexpr int AlignmentId = 3151;

 protected:
  TacDisplayPreferencesDigital(int templateId, const std::vector<int>& generalPages,
                               std::vector<TPreferencesTab> tabs, TDisplay& display,
                               TDisplayPreferencesContext& context, HWND owner);
  void SetUpControls() override;
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
  bool KindTrackBar(int id, int position) override;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;
  TDisplayDigital& Digital() const;

 private:
  void UpdateBackgroundControls();
  void BackgroundClick();
  TVarnColorButton* ColorButton(int id);

  TVarnColorButton FTextColor, FOutlineColor, FShadowColor, FBackgroundColor, FBevelColor;
};

// A digital clock: its format text, with the format element menu.
class TfrmDisplayPreferencesDigitalClock : public TacDisplayPreferencesDigital {
 public:
  static constexpr int TemplateId = 3100;
  static constexpr int InsertElementId = 3102;
  TfrmDisplayPreferencesDigitalClock(TDisplay& display, TDisplayPreferencesContext& context,
                                     HWND owner)
      : TacDisplayPreferencesDigital(TemplateId, {}, {{"3101", "Text", {3190}}}, display, context,
                                     owner) {}

 protected:
  void SetUpControls() override;
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
};

// A stopwatch: the text around its counter.
class TfrmDisplayPreferencesStopwatch : public TacDisplayPreferencesDigital {
 public:
  static constexpr int TemplateId = 3400;
  TfrmDisplayPreferencesStopwatch(TDisplay& display, TDisplayPreferencesContext& context,
                                  HWND owner)
      : TacDisplayPreferencesDigital(TemplateId, {}, {{"3401", "Text", {3490}}}, display, context,
                                     owner) {}

 protected:
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
};

// An analog clock: size and zone with the general settings, then its dial, hands and text on
// five tabs.
class TfrmDisplayPreferencesAnalogClock : public TacDisplayPreferences {
 public:
  static constexpr int TemplateId = 3300;
  static constexpr int SizeId = 3601;
  static constexpr int SizeLabelId = 3602;
  static constexpr int ZoneId = 3603;
  static constexpr int PickZoneId = 3303;
  static constexpr int DialStyleId = 3610;
  static constexpr int QuarterMarksOnlyId = 3321;
  static constexpr int NormalMarksId =
      3611;  // colour, outline colour, outline, position, label, size
  static constexpr int QuarterMarksId = 3621;  // the same
  static constexpr int HourHandId = 3630;  // length, label, width, colour, outline colour, outline
  static constexpr int MinuteHandId = 3640;
  static constexpr int SecondsHandId = 3650;
  static constexpr int ShowHourHandId = 3344;
  static constexpr int ShowMinuteHandId = 3345;
  static constexpr int ShowSecondsHandId = 3360;
  static constexpr int ShowTextId = 3370;
  static constexpr int InsertElementId = 3371;
  static constexpr int TextFontId = 3372;
  static constexpr int TextBackgroundId = 3373;
  static constexpr int TextOverHandsId = 3378;
  static constexpr int TextId = 3660;
  static constexpr int TextColorId = 3662;
  static constexpr int TextBackgroundColorId = 3663;
  static constexpr int TextOutlineColorId = 3664;
  static constexpr int TextOutlineId = 3665;
  static constexpr int TextAlignmentId = 3666;
  static constexpr int OffsetXId = 3667;
  static constexpr int OffsetYId = 3669;
  TfrmDisplayPreferencesAnalogClock(TDisplay& display, TDisplayPreferencesContext& context,
                                    HWND owner);

 protected:
  void SetUpControls() override;
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
  bool KindTrackBar(int id, int position) override;
  bool DrawItem(const DRAWITEMSTRUCT& item) override;

 private:
  TDisplayAnalogClock& Clock() const;
  void ShowDialControls();
  void SelectZone(const TTimeZone* zone);
  void PickZone();
  std::vector<std::unique_ptr<TVarnColorButton>> FColors;  // as the colour table lists them
};

// A countdown: its alignment with the general settings, then its final moment, the counter's
// units and the texts around it on three tabs.
class TfrmDisplayPreferencesCountdown : public TacDisplayPreferencesDigital {
 public:
  static constexpr int TemplateId = 3200;
  static constexpr int TodayId = 3210;
  static constexpr int AddDayId = 3211;
  static constexpr int AddWeekId = 3212;
  static constexpr int FinalDateId = 3251;
  static constexpr int FinalTimeId = 3252;
  static constexpr int VisibilityId = 3260;  // to 3263: days, hours, minutes, seconds
  static constexpr int BeforeId = 3264;      // to 3267
  static constexpr int AfterId = 3268;       // to 3271
  static constexpr int ZeroTextId = 3272;
  TfrmDisplayPreferencesCountdown(TDisplay& display, TDisplayPreferencesContext& context,
                                  HWND owner)
      : TacDisplayPreferencesDigital(TemplateId, {3290},
                                     {{"3201", "Final time", {3291}},
                                      {"3202", "Counter format", {3292}},
                                      {"3203", "Text", {3293}}},
                                     display, context, owner) {}

 protected:
  void SetUpControls() override;
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
  LRESULT KindNotify(const NMHDR& header) override;

 private:
  TDisplayCountdown& Countdown() const;
  void LoadFinalTime();
  void LoadVisibility();
  void VisibilityChanged();
  void CounterTextsChanged();
};

// Opens the window of the display's kind (none for a kind without one); while
// any is open the program is busy.
bool OpenDisplayPreferences(TDisplay& display, TDisplayPreferencesContext& context, HWND owner);
// Closes every open one, before the displays go.
void CloseAllDisplayPreferences();
// The open window of the display, or none; for the tests.
TacDisplayPreferences* DisplayPreferencesOf(const TDisplay& display);
