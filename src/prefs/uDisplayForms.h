#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "support/uTypes.h"

class TDisplayAnalogClock;
class TDisplayDigital;

// What the controls of a kind's preferences pages hold, each bound to one value
// of the display: the window moves values between these and its controls, the
// form decides which value and within which range.

// A slider and its range; the label beside it, when it has one, shows the value as "n %".
template <class TKind>
struct TTrackBinding {
  int id, minimum, maximum, labelId;
  std::int32_t& (*field)(TKind&);

  // The slider's place for the display's value: a stored value may lie outside the range.
  int Position(TKind& display) const { return std::clamp(field(display), minimum, maximum); }
};

template <class TKind>
struct TColorBinding {
  int id;
  TColor& (*field)(TKind&);
};

template <class TKind>
struct TBoxBinding {
  int id;
  bool& (*field)(TKind&);
};

template <class TKind>
struct TDisplayForm {
  std::span<const TTrackBinding<TKind>> tracks;
  std::span<const TColorBinding<TKind>> colors;
  std::span<const TBoxBinding<TKind>> boxes;

  const TTrackBinding<TKind>* Track(int id) const { return Find(tracks, id); }
  const TColorBinding<TKind>* Color(int id) const { return Find(colors, id); }
  const TBoxBinding<TKind>* Box(int id) const { return Find(boxes, id); }
  // Takes a slider's position into the display, within the slider's range;
  // false for a control the form does not bind.
  bool SetTrack(TKind& display, int id, int position) const {
    const TTrackBinding<TKind>* track = Track(id);
    if (!track) return false;
    track->field(display) = std::clamp(position, track->minimum, track->maximum);
    return true;
  }

 private:
  template <class TBinding>
  static const TBinding* Find(std::span<const TBinding> bindings, int id) {
    const auto found = std::find_if(bindings.begin(), bindings.end(),
                                    [id](const TBinding& b) { return b.id == id; });
    return found == bindings.end() ? nullptr : &*found;
  }
};

// The analog clock's size, dial, hands and text.
const TDisplayForm<TDisplayAnalogClock>& AnalogClockForm();
// The text kinds' font page: outline, shadow and border.
const TDisplayForm<TDisplayDigital>& TextFontForm();
