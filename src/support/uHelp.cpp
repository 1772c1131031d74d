#include "support/uHelp.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "resources/uResourceIds.h"

namespace {

struct THelpSection {
  int templateId;
  const char* anchor;
};

constexpr THelpSection kSections[] = {
    {IDD_PREFS, "prefs"},
    {IDD_PREFS_DISPLAYS_PAGE, "prefs-displays-page"},
    {IDD_PREFS_EVENTS_PAGE, "prefs-events-page"},
    {IDD_PREFS_OPTIONS_PAGE, "prefs-options-page"},
    {IDD_PREFS_GENERAL_PAGE, "prefs-general-page"},
    {IDD_PREFS_LANGUAGE_PAGE, "prefs-language-page"},
    {IDD_PREFS_TRAY_ICON_PAGE, "prefs-tray-icon-page"},
    {IDD_PREFS_CHIME_PAGE, "prefs-chime-page"},
    {IDD_PREFS_CHIME_SOUNDS_PAGE, "prefs-chime-sounds-page"},
    {IDD_PREFS_HOT_KEYS_PAGE, "prefs-hot-keys-page"},
    {IDD_PREFS_TROUBLESHOOTING_PAGE, "prefs-troubleshooting-page"},
    {IDD_ABOUT, "about"},
    {IDD_DISPLAY_GENERAL_PAGE, "display-general-page"},
    {IDD_DISPLAY_FONT_PAGE, "display-font-page"},
    {IDD_DIGITALCLOCK, "digitalclock"},
    {IDD_DIGITALCLOCK_TEXT_PAGE, "digitalclock-text-page"},
    {IDD_COUNTDOWN, "countdown"},
    {IDD_COUNTDOWN_GENERAL_PAGE, "countdown-general-page"},
    {IDD_COUNTDOWN_FINAL_TIME_PAGE, "countdown-final-time-page"},
    {IDD_COUNTDOWN_COUNTER_PAGE, "countdown-counter-page"},
    {IDD_COUNTDOWN_TEXT_PAGE, "countdown-text-page"},
    {IDD_ANALOG, "analog"},
    {IDD_ANALOG_GENERAL_PAGE, "analog-general-page"},
    {IDD_ANALOG_DIAL_PAGE, "analog-dial-page"},
    {IDD_ANALOG_HOUR_HAND_PAGE, "analog-hour-hand-page"},
    {IDD_ANALOG_MINUTE_HAND_PAGE, "analog-minute-hand-page"},
    {IDD_ANALOG_SECONDS_HAND_PAGE, "analog-seconds-hand-page"},
    {IDD_ANALOG_TEXT_PAGE, "analog-text-page"},
    {IDD_STOPWATCH, "stopwatch"},
    {IDD_STOPWATCH_TEXT_PAGE, "stopwatch-text-page"},
    {IDD_EVENT, "event"},
    {IDD_NOTIFY, "notify"},
    {IDD_PRESETS, "presets"},
    {IDD_ZONES, "zones"},
    {IDD_CALENDAR, "calendar"},
};

}  // namespace

std::string HelpSectionOf(int templateId) {
  const auto* found =
      std::find_if(std::begin(kSections), std::end(kSections),
                   [templateId](const THelpSection& s) { return s.templateId == templateId; });
  return found == std::end(kSections) ? "getting-started" : found->anchor;
}

std::string HelpAddress(const std::string& file, const std::string& section) {
  // file:///C:/Program%20Files/Quorvel/help_en.htm#prefs: forward slashes, and every byte that
  // is not plain in an address escaped, UTF-8 included.
  std::string address = "file:///";
  for (const char c : file) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      address += '/';
    } else if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') ||
               (byte >= 'a' && byte <= 'z') ||
               std::string_view("-._~/:").find(c) != std::string_view::npos) {
      address += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof(escaped), "%%%02X", byte);
      address += escaped;
    }
  }
  return section.empty() ? address : address + "#" + section;
}
