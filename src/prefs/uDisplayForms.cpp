#include "prefs/uDisplayForms.h"

#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uDisplayDigital.h"
#include "resources/uResourceIds.h"

namespace {

using TClock = TDisplayAnalogClock;

constexpr TTrackBinding<TClock> kClockTracks[] = {
    {IDC_ANALOG_SIZE, 10, 100, IDC_ANALOG_SIZE_LABEL,
     [](TClock& c) -> std::int32_t& { return c.DisplaySize; }},
    {IDC_ANALOG_NORMAL_MARKS_OUTLINE, 0, 3, 0,
     [](TClock& c) -> std::int32_t& { return c.TickMarkSettings.OutlineWidth; }},
    {IDC_ANALOG_NORMAL_MARKS_POSITION, 10, 100, IDC_ANALOG_NORMAL_MARKS_POSITION_LABEL,
     [](TClock& c) -> std::int32_t& { return c.TickMarkPosition; }},
    {IDC_ANALOG_NORMAL_MARKS_SIZE, 1, 10, 0,
     [](TClock& c) -> std::int32_t& { return c.TickMarkSize; }},
    {IDC_ANALOG_QUARTER_MARKS_OUTLINE, 0, 3, 0,
     [](TClock& c) -> std::int32_t& { return c.QuarterMarksSettings.OutlineWidth; }},
    {IDC_ANALOG_QUARTER_MARKS_POSITION, 10, 100, IDC_ANALOG_QUARTER_MARKS_POSITION_LABEL,
     [](TClock& c) -> std::int32_t& { return c.QuarterTickMarkPosition; }},
    {IDC_ANALOG_QUARTER_MARKS_SIZE, 1, 10, 0,
     [](TClock& c) -> std::int32_t& { return c.QuarterTickMarkSize; }},
    {IDC_ANALOG_HOUR_HAND_LENGTH, 10, 100, IDC_ANALOG_HOUR_HAND_LENGTH_LABEL,
     [](TClock& c) -> std::int32_t& { return c.HourHandLength; }},
    {IDC_ANALOG_HOUR_HAND_WIDTH, 1, 10, 0,
     [](TClock& c) -> std::int32_t& { return c.HourHandWidth; }},
    {IDC_ANALOG_HOUR_HAND_OUTLINE, 0, 3, 0,
     [](TClock& c) -> std::int32_t& { return c.HourHandSettings.OutlineWidth; }},
    {IDC_ANALOG_MINUTE_HAND_LENGTH, 10, 100, IDC_ANALOG_MINUTE_HAND_LENGTH_LABEL,
     [](TClock& c) -> std::int32_t& { return c.MinuteHandLength; }},
    {IDC_ANALOG_MINUTE_HAND_WIDTH, 1, 10, 0,
     [](TClock& c) -> std::int32_t& { return c.MinuteHandWidth; }},
    {IDC_ANALOG_MINUTE_HAND_OUTLINE, 0, 3, 0,
     [](TClock& c) -> std::int32_t& { return c.MinuteHandSettings.OutlineWidth; }},
    {IDC_ANALOG_SECONDS_HAND_LENGTH, 10, 100, IDC_ANALOG_SECONDS_HAND_LENGTH_LABEL,
     [](TClock& c) -> std::int32_t& { return c.SecondsHandLength; }},
    {IDC_ANALOG_SECONDS_HAND_WIDTH, 1, 10, 0,
     [](TClock& c) -> std::int32_t& { return c.SecondsHandWidth; }},
    {IDC_ANALOG_SECONDS_HAND_OUTLINE, 0, 3, 0,
     [](TClock& c) -> std::int32_t& { return c.SecondsHandSettings.OutlineWidth; }},
    {IDC_ANALOG_TEXT_OUTLINE, 0, 3, 0,
     [](TClock& c) -> std::int32_t& { return c.TextFont.OutlineWidth; }},
    {IDC_ANALOG_OFFSET_X, 0, 100, IDC_ANALOG_OFFSET_X_LABEL,
     [](TClock& c) -> std::int32_t& { return c.TextOffsetX; }},
    {IDC_ANALOG_OFFSET_Y, 0, 100, IDC_ANALOG_OFFSET_Y_LABEL,
     [](TClock& c) -> std::int32_t& { return c.TextOffsetY; }},
};

constexpr TColorBinding<TClock> kClockColors[] = {
    {IDC_ANALOG_NORMAL_MARKS_COLOR,
     [](TClock& c) -> TColor& { return c.TickMarkSettings.FillColor; }},
    {IDC_ANALOG_NORMAL_MARKS_OUTLINE_COLOR,
     [](TClock& c) -> TColor& { return c.TickMarkSettings.OutlineColor; }},
    {IDC_ANALOG_QUARTER_MARKS_COLOR,
     [](TClock& c) -> TColor& { return c.QuarterMarksSettings.FillColor; }},
    {IDC_ANALOG_QUARTER_MARKS_OUTLINE_COLOR,
     [](TClock& c) -> TColor& { return c.QuarterMarksSettings.OutlineColor; }},
    {IDC_ANALOG_HOUR_HAND_COLOR, [](TClock& c) -> TColor& { return c.HourHandSettings.FillColor; }},
    {IDC_ANALOG_HOUR_HAND_OUTLINE_COLOR,
     [](TClock& c) -> TColor& { return c.HourHandSettings.OutlineColor; }},
    {IDC_ANALOG_MINUTE_HAND_COLOR,
     [](TClock& c) -> TColor& { return c.MinuteHandSettings.FillColor; }},
    {IDC_ANALOG_MINUTE_HAND_OUTLINE_COLOR,
     [](TClock& c) -> TColor& { return c.MinuteHandSettings.OutlineColor; }},
    {IDC_ANALOG_SECONDS_HAND_COLOR,
     [](TClock& c) -> TColor& { return c.SecondsHandSettings.FillColor; }},
    {IDC_ANALOG_SECONDS_HAND_OUTLINE_COLOR,
     [](TClock& c) -> TColor& { return c.SecondsHandSettings.OutlineColor; }},
    {IDC_ANALOG_TEXT_COLOR, [](TClock& c) -> TColor& { return c.TextFont.Color; }},
    {IDC_ANALOG_TEXT_BACKGROUND_COLOR, [](TClock& c) -> TColor& { return c.TextBackgroundColor; }},
    {IDC_ANALOG_TEXT_OUTLINE_COLOR, [](TClock& c) -> TColor& { return c.TextFont.OutlineColor; }},
};

constexpr TBoxBinding<TClock> kClockBoxes[] = {
    {IDC_ANALOG_QUARTER_MARKS_ONLY, [](TClock& c) -> bool& { return c.QuarterMarksOnly; }},
    {IDC_ANALOG_SHOW_TEXT, [](TClock& c) -> bool& { return c.ShowText; }},
    {IDC_ANALOG_TEXT_BACKGROUND, [](TClock& c) -> bool& { return c.TextBackground; }},
    {IDC_ANALOG_TEXT_OVER_HANDS, [](TClock& c) -> bool& { return c.TextOverHands; }},
};

using TText = TDisplayDigital;

constexpr TTrackBinding<TText> kTextTracks[] = {
    {IDC_DISPLAY_OUTLINE_WIDTH, 0, 3, 0,
     [](TText& d) -> std::int32_t& { return d.Font.OutlineWidth; }},
    {IDC_DISPLAY_SHADOW, 0, 10, 0, [](TText& d) -> std::int32_t& { return d.Shadow; }},
    {IDC_DISPLAY_BEVEL_WIDTH, 0, 10, 0, [](TText& d) -> std::int32_t& { return d.BevelWidth; }},
};

constexpr TColorBinding<TText> kTextColors[] = {
    {IDC_DISPLAY_TEXT_COLOR, [](TText& d) -> TColor& { return d.Font.Color; }},
    {IDC_DISPLAY_OUTLINE_COLOR, [](TText& d) -> TColor& { return d.Font.OutlineColor; }},
    {IDC_DISPLAY_SHADOW_COLOR, [](TText& d) -> TColor& { return d.ShadowColor; }},
    {IDC_DISPLAY_BACKGROUND_COLOR, [](TText& d) -> TColor& { return d.BackgroundColor; }},
    {IDC_DISPLAY_BEVEL_COLOR, [](TText& d) -> TColor& { return d.BevelColor; }},
};

constexpr TBoxBinding<TText> kTextBoxes[] = {
    {IDC_DISPLAY_OUTLINE_3D, [](TText& d) -> bool& { return d.Font.ThreeD; }},
    {IDC_DISPLAY_BEVEL_3D, [](TText& d) -> bool& { return d.Bevel3D; }},
};

}  // namespace

const TDisplayForm<TDisplayAnalogClock>& AnalogClockForm() {
  static const TDisplayForm<TDisplayAnalogClock> form{kClockTracks, kClockColors, kClockBoxes};
  return form;
}

const TDisplayForm<TDisplayDigital>& TextFontForm() {
  static const TDisplayForm<TDisplayDigital> form{kTextTracks, kTextColors, kTextBoxes};
  return form;
}
