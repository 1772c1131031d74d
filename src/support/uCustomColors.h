#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/uTypes.h"

// The colour dialog's sixteen custom colours, slot 0 being the item "ColorA".
constexpr int CustomColorCount = 16;
using TCustomColors = std::array<TColor, CustomColorCount>;

// What an unreadable or missing slot shows: the dialog's own empty colour.
constexpr TColor clEmptyCustomColor = 0xFFFFFF;

// A slot's item starts with this: "ColorA=" for slot 0 to "ColorP=" for slot 15.
std::string CustomColorPrefix(int slot);
// Exactly six upper-case hexadecimal digits of the colour's 24 bits.
std::string CustomColorHex(TColor colour);

// One to six hexadecimal digits (either case) and nothing else; red is the low byte.
std::optional<TColor> ParseCustomColorHex(std::string_view hex);

// The slots from items "Color" + letter + "=" + hex, letters A to P. The first
// item of a letter counts; a slot without a readable item is white, so a damaged
// list never keeps the dialog from opening.
TCustomColors CustomColorsFromList(const std::vector<std::string>& items);

// Sixteen items in letter order, each with six upper-case hex digits.
std::vector<std::string> CustomColorsToList(const TCustomColors& colors);

// Records a picked colour as the newest of the four recent slots of items (G, O, H, P, the
// last two columns of the dialog's grid), moving a known one to the newest place; a list that
// lacks one of those slots is left as it is.
void AddRecentCustomColor(std::vector<std::string>& items, TColor colour);
