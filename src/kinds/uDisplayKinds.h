#pragma once

#include <cstdint>
#include <memory>

#include "display/uDisplay.h"

// A new display of a kind, with its defaults; nullptr for a kind this version does not know.
// The display list is handed this to make its displays.
std::unique_ptr<TDisplay> CreateDisplay(std::uint8_t kind);
