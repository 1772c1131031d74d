#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "support/uCanvas.h"
#include "support/uDateTime.h"

class TDisplay;

// Application commands of the popup menus.
enum TAppCommand : int {
  cmdHeaderQuorvel = 1,
  cmdExit = 2,
  cmdPreferences = 3,
  cmdShowAll = 6,
  cmdHideAll = 7,
  cmdCalendar = 8,
  cmdDateTimeControlPanel = 9,
  cmdHomePage = 11,
  cmdMakerPage = 16,
  cmdEventsPage = 17,
  cmdNewEvent = 18,
  cmdAbout = 19,
  cmdToggleChime = 20,
  cmdHeaderDisplay = 99,
  cmdFirstEvent = 1100,
};

enum class TMenuEntryKind { Text, Separator, Header };

// One item of a popup menu as it is to be shown.
struct TMenuEntry {
  TMenuEntryKind kind = TMenuEntryKind::Text;
  std::string caption;
  int id = 0;
  bool enabled = true;
  bool checked = false;
  bool isDefault = false;
  std::vector<TMenuEntry> submenu;
  friend bool operator==(const TMenuEntry&, const TMenuEntry&) = default;
};

// An event that has not fired yet, as the events submenu lists it.
struct TPendingEvent {
  std::size_t index = 0;  // in the event list
  TDateTime trigger = 0;
  std::string message;
  std::string recurrence;  // the event's own description of when it repeats
};

// What the menu shows beyond the display's own items, read when it opens.
struct TMenuState {
  bool chimeEnabled = false;
  std::size_t eventCount = 0;
  std::vector<TPendingEvent> pending;  // in any order
};

// The tray menu, or with a display the display menu: its header and items on top.
std::vector<TMenuEntry> BuildPopupMenu(const TDisplay* display, const TMenuState& state);

// "date time: message\t[recurrence]", with the parts that are empty left out.
std::string PendingEventCaption(const TPendingEvent& event);

// The colours of a section header.
constexpr TColor clMenuHeader = 0x705030;
constexpr TColor clMenuHeaderText = 0xE0E0E0;

// A section header in item: a dark rule with the caption on a dark tab at its
// left end, over the menu's background colour, in the bold menu font; its lines and margins at
// the DPI of the monitor the menu shows on.
void DrawMenuHeader(TCanvas& canvas, const TRect& item, const std::string& caption,
                    TColor background, const TFontSpec& boldFont, int dpi);
