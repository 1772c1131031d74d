#include "app/uMainMenuItems.h"

#include <algorithm>
#include <array>

#include "config/uMultilanguage.h"
#include "display/uDisplay.h"
#include "events/uEvents.h"
#include "support/uDpi.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

namespace {

TMenuEntry Item(const std::string& caption, int id, bool enabled = true) {
  TMenuEntry entry;
  entry.caption = caption;
  entry.id = id;
  entry.enabled = enabled;
  return entry;
}

TMenuEntry Separator() {
  TMenuEntry entry;
  entry.kind = TMenuEntryKind::Separator;
  return entry;
}

TMenuEntry Header(const std::string& caption, int id) {
  TMenuEntry entry = Item(caption, id);
  entry.kind = TMenuEntryKind::Header;
  return entry;
}

TMenuEntry EventsSubmenu(const TMenuState& state) {
  TMenuEntry events = Item(GetText("MNU_EVENTS", "Events"), 0);
  events.submenu = {Item(GetText("MNU_OPENEVENTS", "Events..."), cmdEventsPage),
                    Item(GetText("MNU_NEWEVENT", "Add event..."), cmdNewEvent,
                         state.eventCount < TEvents::MaxEvents)};
  std::vector<TPendingEvent> pending = state.pending;
  std::stable_sort(pending.begin(), pending.end(),
                   [](const auto& a, const auto& b) { return a.trigger < b.trigger; });
  if (!pending.empty()) events.submenu.push_back(Separator());
  for (const TPendingEvent& event : pending)
    events.submenu.push_back(
        Item(PendingEventCaption(event), cmdFirstEvent + static_cast<int>(event.index)));
  return events;
}

}  // namespace

std::vector<TMenuEntry> BuildPopupMenu(const TDisplay* display, const TMenuState& state) {
  std::vector<TMenuEntry> menu;
  if (display) {
    menu.push_back(Header(GetText("MNU_DISPLAY", "Display"), cmdHeaderDisplay));
    display->BuildMenu(
        [&](const std::string& caption, int id, bool isDefault, bool checked, bool enabled) {
          TMenuEntry entry = caption == "-" ? Separator() : Item(caption, id, enabled);
          entry.isDefault = isDefault;
          entry.checked = checked;
          menu.push_back(entry);
        });
  }
  TMenuEntry chime = Item(GetText("MNU_CHIME", "Chime"), cmdToggleChime);
  chime.checked = state.chimeEnabled;
  TMenuEntry web = Item(GetText("MNU_WEB", "Quorvel on the web"), 0);
  web.submenu = {Item(GetText("MNU_QUORVELHOMEPAGE", "Quorvel Home Page"), cmdHomePage),
                 Item("Free programs from the same maker", cmdMakerPage)};
  const TMenuEntry common[] = {
      Header("Quorvel", cmdHeaderQuorvel),
      Item(GetText("MNU_PREF", "Preferences..."), cmdPreferences),
      Item(GetText("MNU_ADJUST", "Adjust date and time..."), cmdDateTimeControlPanel),
      Separator(),
      Item(GetText("MNU_SHOWALL", "Show all active displays"), cmdShowAll),
      Item(GetText("MNU_HIDEALL", "Hide all active displays"), cmdHideAll),
      Separator(),
      chime,
      Separator(),
      EventsSubmenu(state),
      Separator(),
      web,
      Item(GetText("MNU_ABOUT", "About..."), cmdAbout),
      Separator(),
      Item(GetText("MNU_CAL", "Calendar"), cmdCalendar),
      Separator(),
      Item(GetText("MNU_EXIT", "Exit Quorvel"), cmdExit),
  };
  menu.insert(menu.end(), std::begin(common), std::end(common));
  // One default item: the one of the command the menu opens with.
  const int defaultCommand = display ? int{cmdHideDisplay} : int{cmdPreferences};
  for (TMenuEntry& entry : menu) entry.isDefault = entry.id == defaultCommand;
  return menu;
}

std::string PendingEventCaption(const TPendingEvent& event) {
  std::string caption = ShortDateTimeText(event.trigger);
  // The user's words are shown as typed: an "&" in them marks no access key.
  if (!event.message.empty()) caption += ": " + EscapeAccessKeys(event.message);
  caption += "\t";
  if (!event.recurrence.empty()) {
    caption += '[';
    caption += EscapeAccessKeys(event.recurrence);
    caption += ']';
  }
  return caption;
}

void DrawMenuHeader(TCanvas& canvas, const TRect& item, const std::string& caption,
                    TColor background, const TFontSpec& boldFont, int dpi) {
  const auto scaled = [dpi](int pixels) { return ScaleToDpi(pixels, dpi); };
  canvas.SetFont(boldFont);
  canvas.SetBrush(background, TBrushStyle::Solid);
  canvas.FillRect(item);
  canvas.SetPen(clMenuHeader, scaled(2), TPenStyle::InsideFrame);
  canvas.SetBrush(clMenuHeader, TBrushStyle::Solid);
  const TRect r{item.left, item.top + scaled(2), item.right, item.bottom - scaled(2)};
  const int middle = r.top + (r.bottom - r.top) / 2;
  const std::array<TPoint, 2> rule{{{r.left, middle}, {r.right, middle}}};
  canvas.Polyline(rule);
  TRect measured{0, 0, 0, 0};
  canvas.DrawText(caption, measured, TextFormat::SingleLine | TextFormat::CalcRect);
  canvas.Rectangle({r.left, r.top, r.left + measured.Width() + scaled(10), r.bottom});
  canvas.SetFontColor(clMenuHeaderText);
  TRect text{item.left + scaled(4), item.top - scaled(5), item.right + scaled(4),
             item.bottom - scaled(5)};
  canvas.DrawText(caption, text,
                  TextFormat::SingleLine | TextFormat::Bottom | TextFormat::NoPrefix);
}
