#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/uDateTime.h"
#include "support/uTypes.h"

// What the display preferences windows decide, apart from their controls.

// The translucency slider: 0 to 90 per cent, against the window's alpha value.
constexpr int MaxTranslucency = 90;
int TranslucencyPosition(std::int32_t alpha);
// Halves go to the even neighbour: 50 % gives 128.
std::uint8_t AlphaFromTranslucency(int position);
std::string PercentLabel(int position);

// Where the window goes before it is kept inside the work area: cascaded from
// the window that opened it, or centred on the cursor.
TPoint DisplayPreferencesPlace(const TPoint* ownerTopLeft, TPoint cursor, TPoint size);

// The items of the alignment list (left, right, centre) and of a countdown
// unit's visibility list (always, never, if above zero; seconds lack the last).
std::vector<std::string> AlignmentItems();
std::vector<std::string> VisibilityItems(bool seconds);

// A countdown's final moment after a change of its date picker (the time of
// day stays) or of its time picker (the date stays).
TDateTime WithDate(TDateTime moment, TDateTime date);
TDateTime WithTimeOfDay(TDateTime moment, TDateTime time);

// The dial styles' names, in style order.
std::vector<std::string> DialStyleItems();
// What a dial style offers: the quarter-marks-only box and the quarter marks'
// group show for styles with marks of their own at the quarters, the normal
// marks' group for every style with marks.
struct TDialControls {
  bool quarterMarksOnly, normalMarks, quarterMarks;
};
TDialControls DialControls(int style);
