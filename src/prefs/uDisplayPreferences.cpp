#include "prefs/uDisplayPreferences.h"

#include <algorithm>
#include <cmath>

#include "config/uMultilanguage.h"
#include "support/uTools.h"

int TranslucencyPosition(std::int32_t alpha) {
  const std::int32_t a = std::clamp<std::int32_t>(alpha, 0, 255);
  return std::clamp(100 - RoundHalfEven(a / 255.0 * 100), 0, MaxTranslucency);
}

std::uint8_t AlphaFromTranslucency(int position) {
  // In whole numbers: (100 - p) * 255 / 100, with its halves made even.
  const int scaled = (100 - std::clamp(position, 0, MaxTranslucency)) * 255;
  int alpha = scaled / 100;
  const int rest = scaled % 100;
  if (rest > 50 || (rest == 50 && alpha % 2 == 1)) ++alpha;
  return static_cast<std::uint8_t>(alpha);
}

std::string PercentLabel(int position) { return std::to_string(position) + " %"; }

TPoint DisplayPreferencesPlace(const TPoint* ownerTopLeft, TPoint cursor, TPoint size) {
  if (ownerTopLeft) return {ownerTopLeft->x + 10, ownerTopLeft->y + 10};
  return {cursor.x - size.x / 2, cursor.y - size.y / 2};
}

std::vector<std::string> AlignmentItems() {
  return QuotedList(GetText("ALIGNMENT", "\"Left\",\"Right\",\"Center\""));
}

std::vector<std::string> VisibilityItems(bool seconds) {
  std::vector<std::string> items =
      QuotedList(GetText("ELEMENTVISIBILITY", "\"always\",\"never\",\"if > 0\""));
  // A counter always ends in seconds: they cannot wait for a value above zero.
  if (seconds && items.size() > 2) items.resize(2);
  return items;
}

TDateTime WithDate(TDateTime moment, TDateTime date) {
  return std::floor(date) + TimeOfDay(moment);
}

TDateTime WithTimeOfDay(TDateTime moment, TDateTime time) {
  return std::floor(moment) + TimeOfDay(time);
}

std::vector<std::string> DialStyleItems() {
  return QuotedList(GetText("DIAL",
                            "\"No tickmarks\",\"Rectangles\",\"Circle\",\"Classic\","
                            "\"Classic II\",\"Triangles\",\"Diamonds\",\"Stars\""));
}

TDialControls DialControls(int style) {
  const bool quarters = style != 0 && style != 2;
  return {quarters, style != 0, quarters};
}
