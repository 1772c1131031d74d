#pragma once

#include <span>

// What the world calls each zone of the system's catalogue, from the CLDR data: the lists hold
// names separated by "|".
struct TZoneNames {
  const char* keyName;
  const char* ianaNames;
  // The exemplar cities in English and German, then cities that have no zone of their own.
  const char* cities;
  // The countries the zone serves, in English and German.
  const char* countries;
};

// A letter and how the zone search reads it: lower case, without its marks ("é" as "e").
struct TFoldedLetter {
  char32_t codePoint;
  const char* folded;
};

std::span<const TZoneNames> ZoneNameTable();
// Sorted by code point.
std::span<const TFoldedLetter> FoldedLetterTable();
