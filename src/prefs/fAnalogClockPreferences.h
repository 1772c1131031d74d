#pragma once

#include <vector>

#include "prefs/fDisplayPreferences.h"
#include "timezones/uZoneSearch.h"

class TDisplayAnalogClock;
class TTimeZone;

// An analog clock: size and zone (its list narrowed by a search) with the general settings, then
// its dial, hands and text on five tabs.
class TfrmDisplayPreferencesAnalogClock : public TacDisplayPreferences {
 public:
  static constexpr int TemplateId = IDD_ANALOG;
  static constexpr int SizeId = IDC_ANALOG_SIZE;
  static constexpr int SizeLabelId = IDC_ANALOG_SIZE_LABEL;
  static constexpr int ZoneId = IDC_ANALOG_ZONE;
  static constexpr int ZoneSearchId = IDC_ANALOG_ZONE_SEARCH;
  static constexpr int PickZoneId = IDC_ANALOG_PICK_ZONE;
  static constexpr int DialStyleId = IDC_ANALOG_DIAL_STYLE;
  static constexpr int QuarterMarksOnlyId = IDC_ANALOG_QUARTER_MARKS_ONLY;
  static constexpr int NormalMarksId = IDC_ANALOG_NORMAL_MARKS_COLOR;
  static constexpr int QuarterMarksId = IDC_ANALOG_QUARTER_MARKS_COLOR;
  static constexpr int HourHandId = IDC_ANALOG_HOUR_HAND_LENGTH;
  static constexpr int MinuteHandId = IDC_ANALOG_MINUTE_HAND_LENGTH;
  static constexpr int SecondsHandId = IDC_ANALOG_SECONDS_HAND_LENGTH;
  static constexpr int ShowHourHandId = IDC_ANALOG_SHOW_HOUR_HAND;
  static constexpr int ShowMinuteHandId = IDC_ANALOG_SHOW_MINUTE_HAND;
  static constexpr int ShowSecondsHandId = IDC_ANALOG_SHOW_SECONDS_HAND;
  static constexpr int ShowTextId = IDC_ANALOG_SHOW_TEXT;
  static constexpr int InsertElementId = IDC_ANALOG_INSERT_ELEMENT;
  static constexpr int TextFontId = IDC_ANALOG_TEXT_FONT;
  static constexpr int TextBackgroundId = IDC_ANALOG_TEXT_BACKGROUND;
  static constexpr int TextOverHandsId = IDC_ANALOG_TEXT_OVER_HANDS;
  static constexpr int TextId = IDC_ANALOG_TEXT;
  static constexpr int TextColorId = IDC_ANALOG_TEXT_COLOR;
  static constexpr int TextBackgroundColorId = IDC_ANALOG_TEXT_BACKGROUND_COLOR;
  static constexpr int TextOutlineColorId = IDC_ANALOG_TEXT_OUTLINE_COLOR;
  static constexpr int TextOutlineId = IDC_ANALOG_TEXT_OUTLINE;
  static constexpr int TextAlignmentId = IDC_ANALOG_TEXT_ALIGNMENT;
  static constexpr int OffsetXId = IDC_ANALOG_OFFSET_X;
  static constexpr int OffsetYId = IDC_ANALOG_OFFSET_Y;
  TfrmDisplayPreferencesAnalogClock(TDisplay& display, TDisplayPreferencesContext& context,
                                    HWND owner);

 protected:
  void SetUpControls() override;
  void LoadControls() override;
  bool KindCommand(int id, int notification) override;
  void TrackBarMoved(int id, int position) override;

 private:
  TDisplayAnalogClock& Clock() const;
  void ShowDialControls();
  void FillZones();
  void SelectZone(const TTimeZone* zone);
  void edZoneSearchChange();
  void PickZone();

  // The zones the list shows after its first item, local time.
  std::vector<TZoneMatch> FZoneRows;
};
