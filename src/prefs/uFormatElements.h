#pragma once

#include <string>
#include <vector>

// One item of the format element menu: what it shows and what it types into
// the format text it was opened for.
struct TFormatElement {
  enum class TKind { Insert, ZoneSwitch, Submenu, Separator };
  TKind kind = TKind::Insert;
  int tag = 0;          // the translation key
  std::string caption;  // as shown: translated, then ": " and the element (access keys escaped)
  std::string inserts;  // for Insert
  std::vector<TFormatElement> items;  // for Submenu
};

// The whole menu in the current language.
std::vector<TFormatElement> FormatElementMenu();
// The caption followed by ": " and the element with its "&" doubled, unless it already ends so
// (letter case of ASCII letters ignored), as a translation may have it.
std::string CaptionWithElement(const std::string& caption, const std::string& element);
// The element that switches the following text to a zone: <tz "key name">.
std::string ZoneSwitchElement(const std::string& keyName);
