#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "kinds/uDisplayAnalogClock.h"
#include "kinds/uDisplayDigitalClock.h"
#include "prefs/uDisplayForms.h"
#include "resources/uResourceIds.h"
#include "support/uTestPlatform.h"

namespace {

using C = TDisplayAnalogClock;
using D = TDisplayDigitalClock;

bool Changed(bool value) { return !value; }
std::uint32_t Changed(std::uint32_t value) { return value ^ 0xABCDEFu; }
std::int32_t Changed(std::int32_t value) { return value + 1; }

template <class TKind, class TValue>
using TRows = std::vector<std::pair<int, TValue& (*)(TKind&)>>;

// The form binds exactly the controls of rows, and each reaches its own value and
// no other, on a display made as TMade (a kind of TKind).
template <class TMade, class TKind, class TValue, class TBinding>
void ExpectReached(std::span<const TBinding> bindings, const TRows<TKind, TValue>& rows) {
  ASSERT_EQ(bindings.size(), rows.size());
  for (const auto& [id, value] : rows) {
    const auto binding = std::find_if(bindings.begin(), bindings.end(),
                                      [id](const TBinding& b) { return b.id == id; });
    ASSERT_NE(binding, bindings.end()) << id;
    auto display = TDisplay::Create<TMade>();
    const auto fresh = TDisplay::Create<TMade>();
    binding->field(*display) = Changed(binding->field(*display));
    for (const auto& [otherId, other] : rows)
      EXPECT_EQ(other(*display) == other(*fresh), otherId != id) << id << " moved " << otherId;
  }
}

// A slider's range as the window offers it: a position past either end is taken as
// that end, and a stored value past it puts the slider there.
template <class TMade, class TKind>
void ExpectRange(const TDisplayForm<TKind>& form, int id, int minimum, int maximum, bool percent) {
  SCOPED_TRACE(id);
  const auto track = form.Track(id);
  ASSERT_NE(track, nullptr);
  EXPECT_EQ(track->labelId != 0, percent);
  auto display = TDisplay::Create<TMade>();
  for (const auto& [position, end] : {std::pair{minimum - 7, minimum}, {maximum + 7, maximum}}) {
    ASSERT_TRUE(form.SetTrack(*display, id, position));
    EXPECT_EQ(track->field(*display), end);
    track->field(*display) = position;
    EXPECT_EQ(track->Position(*display), end);
  }
}

// Accessors of the values, each written as the test reads the model.
#define VALUE(Kind, Type, expression) [](Kind& d) -> Type& { return d.expression; }

TEST(DisplayForms, EachControlOfTheAnalogClockReachesItsOwnValueWithinItsRange) {
  TTestPlatform platform;
  const TDisplayForm<C>& form = AnalogClockForm();
  ExpectReached<C>(
      form.tracks,
      TRows<C, std::int32_t>{
          {IDC_ANALOG_SIZE, VALUE(C, std::int32_t, DisplaySize)},
          {IDC_ANALOG_NORMAL_MARKS_POSITION, VALUE(C, std::int32_t, TickMarkPosition)},
          {IDC_ANALOG_QUARTER_MARKS_POSITION, VALUE(C, std::int32_t, QuarterTickMarkPosition)},
          {IDC_ANALOG_NORMAL_MARKS_SIZE, VALUE(C, std::int32_t, TickMarkSize)},
          {IDC_ANALOG_QUARTER_MARKS_SIZE, VALUE(C, std::int32_t, QuarterTickMarkSize)},
          {IDC_ANALOG_HOUR_HAND_LENGTH, VALUE(C, std::int32_t, HourHandLength)},
          {IDC_ANALOG_MINUTE_HAND_LENGTH, VALUE(C, std::int32_t, MinuteHandLength)},
          {IDC_ANALOG_SECONDS_HAND_LENGTH, VALUE(C, std::int32_t, SecondsHandLength)},
          {IDC_ANALOG_HOUR_HAND_WIDTH, VALUE(C, std::int32_t, HourHandWidth)},
          {IDC_ANALOG_MINUTE_HAND_WIDTH, VALUE(C, std::int32_t, MinuteHandWidth)},
          {IDC_ANALOG_SECONDS_HAND_WIDTH, VALUE(C, std::int32_t, SecondsHandWidth)},
          {IDC_ANALOG_OFFSET_X, VALUE(C, std::int32_t, TextOffsetX)},
          {IDC_ANALOG_OFFSET_Y, VALUE(C, std::int32_t, TextOffsetY)},
          {IDC_ANALOG_NORMAL_MARKS_OUTLINE, VALUE(C, std::int32_t, TickMarkSettings.OutlineWidth)},
          {IDC_ANALOG_QUARTER_MARKS_OUTLINE,
           VALUE(C, std::int32_t, QuarterMarksSettings.OutlineWidth)},
          {IDC_ANALOG_HOUR_HAND_OUTLINE, VALUE(C, std::int32_t, HourHandSettings.OutlineWidth)},
          {IDC_ANALOG_MINUTE_HAND_OUTLINE, VALUE(C, std::int32_t, MinuteHandSettings.OutlineWidth)},
          {IDC_ANALOG_SECONDS_HAND_OUTLINE,
           VALUE(C, std::int32_t, SecondsHandSettings.OutlineWidth)},
          {IDC_ANALOG_TEXT_OUTLINE, VALUE(C, std::int32_t, TextFont.OutlineWidth)}});
  const struct {
    std::vector<int> ids;
    int minimum, maximum;
    bool percent;
  } ranges[] = {
      // Size, lengths and positions in per cent of the face, with a label saying so.
      {{IDC_ANALOG_SIZE, IDC_ANALOG_NORMAL_MARKS_POSITION, IDC_ANALOG_QUARTER_MARKS_POSITION,
        IDC_ANALOG_HOUR_HAND_LENGTH, IDC_ANALOG_MINUTE_HAND_LENGTH, IDC_ANALOG_SECONDS_HAND_LENGTH},
       10,
       100,
       true},
      {{IDC_ANALOG_NORMAL_MARKS_SIZE, IDC_ANALOG_QUARTER_MARKS_SIZE, IDC_ANALOG_HOUR_HAND_WIDTH,
        IDC_ANALOG_MINUTE_HAND_WIDTH, IDC_ANALOG_SECONDS_HAND_WIDTH},
       1,
       10,
       false},
      {{IDC_ANALOG_NORMAL_MARKS_OUTLINE, IDC_ANALOG_QUARTER_MARKS_OUTLINE,
        IDC_ANALOG_HOUR_HAND_OUTLINE, IDC_ANALOG_MINUTE_HAND_OUTLINE,
        IDC_ANALOG_SECONDS_HAND_OUTLINE, IDC_ANALOG_TEXT_OUTLINE},
       0,
       3,
       false},
      {{IDC_ANALOG_OFFSET_X, IDC_ANALOG_OFFSET_Y}, 0, 100, true}};
  for (const auto& range : ranges)
    for (const int id : range.ids)
      ExpectRange<C>(form, id, range.minimum, range.maximum, range.percent);
  ExpectReached<C>(
      form.colors,
      TRows<C, TColor>{
          {IDC_ANALOG_NORMAL_MARKS_COLOR, VALUE(C, TColor, TickMarkSettings.FillColor)},
          {IDC_ANALOG_NORMAL_MARKS_OUTLINE_COLOR, VALUE(C, TColor, TickMarkSettings.OutlineColor)},
          {IDC_ANALOG_QUARTER_MARKS_COLOR, VALUE(C, TColor, QuarterMarksSettings.FillColor)},
          {IDC_ANALOG_QUARTER_MARKS_OUTLINE_COLOR,
           VALUE(C, TColor, QuarterMarksSettings.OutlineColor)},
          {IDC_ANALOG_HOUR_HAND_COLOR, VALUE(C, TColor, HourHandSettings.FillColor)},
          {IDC_ANALOG_HOUR_HAND_OUTLINE_COLOR, VALUE(C, TColor, HourHandSettings.OutlineColor)},
          {IDC_ANALOG_MINUTE_HAND_COLOR, VALUE(C, TColor, MinuteHandSettings.FillColor)},
          {IDC_ANALOG_MINUTE_HAND_OUTLINE_COLOR, VALUE(C, TColor, MinuteHandSettings.OutlineColor)},
          {IDC_ANALOG_SECONDS_HAND_COLOR, VALUE(C, TColor, SecondsHandSettings.FillColor)},
          {IDC_ANALOG_SECONDS_HAND_OUTLINE_COLOR,
           VALUE(C, TColor, SecondsHandSettings.OutlineColor)},
          {IDC_ANALOG_TEXT_COLOR, VALUE(C, TColor, TextFont.Color)},
          {IDC_ANALOG_TEXT_BACKGROUND_COLOR, VALUE(C, TColor, TextBackgroundColor)},
          {IDC_ANALOG_TEXT_OUTLINE_COLOR, VALUE(C, TColor, TextFont.OutlineColor)}});
  ExpectReached<C>(form.boxes,
                   TRows<C, bool>{{IDC_ANALOG_QUARTER_MARKS_ONLY, VALUE(C, bool, QuarterMarksOnly)},
                                  {IDC_ANALOG_SHOW_TEXT, VALUE(C, bool, ShowText)},
                                  {IDC_ANALOG_TEXT_BACKGROUND, VALUE(C, bool, TextBackground)},
                                  {IDC_ANALOG_TEXT_OVER_HANDS, VALUE(C, bool, TextOverHands)}});
  // A control the form does not bind changes nothing.
  auto clock = TDisplay::Create<C>();
  EXPECT_FALSE(form.SetTrack(*clock, IDC_ANALOG_ZONE, 5));
  EXPECT_EQ(form.Color(IDC_ANALOG_SIZE), nullptr);
  EXPECT_EQ(form.Box(IDC_ANALOG_SIZE), nullptr);
}

TEST(DisplayForms, EachControlOfTheTextFontPageReachesItsOwnValueWithinItsRange) {
  TTestPlatform platform;
  using T = TDisplayDigital;
  const TDisplayForm<T>& form = TextFontForm();
  // The form works on the text kinds' common part; a digital clock stands for them.
  ExpectReached<D>(
      form.tracks,
      TRows<T, std::int32_t>{{IDC_DISPLAY_OUTLINE_WIDTH, VALUE(T, std::int32_t, Font.OutlineWidth)},
                             {IDC_DISPLAY_SHADOW, VALUE(T, std::int32_t, Shadow)},
                             {IDC_DISPLAY_BEVEL_WIDTH, VALUE(T, std::int32_t, BevelWidth)}});
  ExpectRange<D>(form, IDC_DISPLAY_OUTLINE_WIDTH, 0, 3, false);
  for (const int id : {IDC_DISPLAY_SHADOW, IDC_DISPLAY_BEVEL_WIDTH})
    ExpectRange<D>(form, id, 0, 10, false);
  ExpectReached<D>(
      form.colors,
      TRows<T, TColor>{{IDC_DISPLAY_TEXT_COLOR, VALUE(T, TColor, Font.Color)},
                       {IDC_DISPLAY_OUTLINE_COLOR, VALUE(T, TColor, Font.OutlineColor)},
                       {IDC_DISPLAY_SHADOW_COLOR, VALUE(T, TColor, ShadowColor)},
                       {IDC_DISPLAY_BACKGROUND_COLOR, VALUE(T, TColor, BackgroundColor)},
                       {IDC_DISPLAY_BEVEL_COLOR, VALUE(T, TColor, BevelColor)}});
  ExpectReached<D>(form.boxes, TRows<T, bool>{{IDC_DISPLAY_OUTLINE_3D, VALUE(T, bool, Font.ThreeD)},
                                              {IDC_DISPLAY_BEVEL_3D, VALUE(T, bool, Bevel3D)}});
}

}  // namespace
