#include "support/uCustomColors.h"

#include <array>
#include <cstdio>

std::string CustomColorPrefix(int slot) {
  return std::string("Color") + static_cast<char>('A' + slot) + "=";
}

std::string CustomColorHex(TColor colour) {
  char hex[8];
  std::snprintf(hex, sizeof(hex), "%06X", static_cast<unsigned>(colour & 0xFFFFFF));
  return hex;
}

std::optional<TColor> ParseCustomColorHex(std::string_view hex) {
  if (hex.empty() || hex.size() > 6) return std::nullopt;
  TColor value = 0;
  for (char ch : hex) {
    int digit;
    if (ch >= '0' && ch <= '9')
      digit = ch - '0';
    else if (ch >= 'A' && ch <= 'F')
      digit = ch - 'A' + 10;
    else if (ch >= 'a' && ch <= 'f')
      digit = ch - 'a' + 10;
    else
      return std::nullopt;
    value = (value << 4) | static_cast<TColor>(digit);
  }
  return value;
}

TCustomColors CustomColorsFromList(const std::vector<std::string>& items) {
  TCustomColors colors;
  for (int i = 0; i < CustomColorCount; ++i) {
    const std::string prefix = CustomColorPrefix(i);
    colors[i] = clEmptyCustomColor;
    for (const std::string& item : items) {
      if (item.compare(0, prefix.size(), prefix) != 0) continue;
      colors[i] = ParseCustomColorHex(std::string_view(item).substr(prefix.size()))
                      .value_or(clEmptyCustomColor);
      break;
    }
  }
  return colors;
}

std::vector<std::string> CustomColorsToList(const TCustomColors& colors) {
  std::vector<std::string> items;
  for (int i = 0; i < CustomColorCount; ++i)
    items.push_back(CustomColorPrefix(i) + CustomColorHex(colors[i]));
  return items;
}

namespace {

// The item of a custom colour slot ("ColorG=..."), or nullptr when the list lacks it.
std::string* CustomColorSlot(std::vector<std::string>& colors, int slot) {
  const std::string prefix = CustomColorPrefix(slot);
  for (std::string& item : colors)
    if (item.compare(0, prefix.size(), prefix) == 0) return &item;
  return nullptr;
}

std::string SlotValue(const std::string* slot) { return slot->substr(slot->find('=') + 1); }

}  // namespace

void AddRecentCustomColor(std::vector<std::string>& items, TColor colour) {
  const std::string hex = CustomColorHex(colour);
  // Oldest to newest.
  const int recent[] = {6, 14, 7, 15};
  std::array<std::string*, 4> slots{};
  for (int i = 0; i < 4; ++i) {
    slots[i] = CustomColorSlot(items, recent[i]);
    if (!slots[i]) return;  // a damaged list is left as it is
  }
  if (SlotValue(slots[3]) == hex) return;
  int found = 0;
  for (int i = 0; i < 4; ++i)
    if (SlotValue(slots[i]) == hex) {
      found = i;
      break;
    }
  for (int i = found; i < 3; ++i)
    *slots[i] = CustomColorPrefix(recent[i]) + SlotValue(slots[i + 1]);
  *slots[3] = CustomColorPrefix(recent[3]) + hex;
}
