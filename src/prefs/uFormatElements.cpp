#include "prefs/uFormatElements.h"

#include "config/uMultilanguage.h"
#include "support/uTools.h"

namespace {

using K = TFormatElement::TKind;

TFormatElement Insert(int tag, const char* caption, const char* inserts) {
  return {K::Insert, tag, caption, inserts, {}};
}
TFormatElement Separator() { return {K::Separator, 0, {}, {}, {}}; }
TFormatElement Submenu(int tag, const char* caption, std::vector<TFormatElement> items) {
  return {K::Submenu, tag, caption, {}, std::move(items)};
}
// The three hour and time forms share their tags, and so their translations.
std::vector<TFormatElement> HourForms(const char* element) {
  const std::string e = element;
  return {Insert(9102, "Default", ("&" + e + ";").c_str()), Separator(),
          Insert(9103, "Force 12-hour format", ("&" + e + " -12;").c_str()),
          Insert(9104, "Force 24-hour format", ("&" + e + " -24;").c_str())};
}

std::vector<TFormatElement> Untranslated() {
  return {
      Submenu(9000, "Date elements",
              {Insert(9001, "Day", "&d;"),
               Insert(9002, "Day with leading zero", "&dd;"),
               Insert(9003, "Day name (abbreviated)", "&$d;"),
               Insert(9004, "Day name", "&$dd;"),
               Separator(),
               Insert(9005, "Month", "&m;"),
               Insert(9006, "Month with leading zero", "&mm;"),
               Insert(9007, "Month name (abbreviated)", "&$m;"),
               Insert(9008, "Month name", "&$mm;"),
               Insert(9009, "Number of days in the month", "&dim;"),
               Separator(),
               Insert(9010, "Year (2 digits)", "&yy;"),
               Insert(9011, "Year (4 digits)", "&yyyy;"),
               Insert(9012, "Number of days in the year", "&diy;"),
               Insert(9013, "Day of the year", "&doy;"),
               Separator(),
               Insert(9014, "Week number", "&week;"),
               Insert(9015, "Day of the week", "&dow;"),
               Insert(9016, "Day of the week (where Sunday is the first day)", "&dows;"),
               Separator(),
               Insert(9017, "Short date", "&sdate;"),
               Insert(9018, "Long date", "&ldate;")}),
      Submenu(9100, "Time elements",
              {Submenu(9101, "Hour", HourForms("h")),
               Submenu(9105, "Hour with leading zero", HourForms("hh")), Separator(),
               Insert(9106, "Minute", "&n;"), Insert(9107, "Minute with leading zero", "&nn;"),
               Separator(), Insert(9108, "Second", "&s;"),
               Insert(9109, "Second with leading zero", "&ss;"), Separator(),
               Insert(9110, "AM/PM indicator", "&ap;"), Separator(),
               Submenu(9111, "Time",
                       {Insert(9112, "Default (short) format", "&time;"), Separator(),
                        Insert(9114, "With seconds", "&time -s;"),
                        Insert(9115, "Force 24-hour format", "&time -24;"),
                        Insert(9116, "Force 24-hour format and seconds", "&time -24 -s;"),
                        Insert(9117, "No minutes nor seconds", "&time -nm;"),
                        Insert(9118, "No am/pm indicator", "&time -nap;")})}),
      Separator(),
      Insert(9205, "Internet time (Swatch)", "&swatch;"),
      Separator(),
      {K::ZoneSwitch, 9200, "Time zone switch...", {}, {}},
      Insert(9204, "Local time switch", "<tz>"),
      Separator(),
      Insert(9201, "Ampersand", "&;"),
      Insert(9202, "Less than sign", "&lt;"),
      Insert(9203, "Greater than sign", "&gt;"),
  };
}

void Prepare(std::vector<TFormatElement>& items) {
  for (TFormatElement& item : items) {
    if (item.kind == K::Separator) continue;
    TTranslatable translated{TComponentKind::MenuItem, item.tag, item.caption, item.inserts, {}};
    MultiLanguage().TranslateComponent(translated);
    item.caption = translated.caption;
    if (item.kind == K::Submenu) Prepare(item.items);
    if (item.kind == K::Insert) item.caption = CaptionWithElement(item.caption, item.inserts);
  }
}

}  // namespace

std::vector<TFormatElement> FormatElementMenu() {
  std::vector<TFormatElement> menu = Untranslated();
  Prepare(menu);
  return menu;
}

std::string CaptionWithElement(const std::string& caption, const std::string& element) {
  const std::string suffix = ": " + EscapeAccessKeys(element);
  const bool hasIt = caption.size() >= suffix.size() &&
                     SameTextAscii(caption.substr(caption.size() - suffix.size()), suffix);
  return hasIt ? caption : caption + suffix;
}

std::string ZoneSwitchElement(const std::string& keyName) { return "<tz \"" + keyName + "\">"; }
