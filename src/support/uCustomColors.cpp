#include "support/uCustomColors.h"

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
