#include "config/uOptions.h"

#include <algorithm>

#include "config/uMultilanguage.h"
#include "config/uRegistryPaths.h"
#include "config/uStoredValues.h"
#include "config/uVarnRegistry.h"
#include "support/uCustomColors.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

TOptions::TOptions() {
  TCustomColors white;
  white.fill(clEmptyCustomColor);
  CustomColors = CustomColorsToList(white);
  ToolTipText = DefaultToolTipText();
}

std::string TOptions::DefaultToolTipText() {
  return GetText("DEFAULT_HINT",
                 "Local date: &ldate;, &$dd; (day #&dow;/week #&week;, &d;/&dim;, "
                 "&doy;/&diy;)\r\nLocal time: &time;");
}

void TOptions::AddCustomColor(std::uint32_t color) { AddRecentCustomColor(CustomColors, color); }

namespace {

constexpr char kRunValue[] = "Quorvel";

const TStoredValue<TOptions> kOptionValues[] = {
    {"ChimeEnabled", &TOptions::ChimeEnabled},
    {"ChimeTowerClock", &TOptions::ChimeTowerClock},
    {"ChimeQuarter", &TOptions::ChimeQuarter},
    {"ChimeHalf", &TOptions::ChimeHalf},
    {"ChimeThreeQuarters", &TOptions::ChimeThreeQuarters},
    {"ChimeTop", &TOptions::ChimeTop},
    {"ChimeQuarterSound", &TOptions::ChimeQuarterSound},
    {"ChimeHalfSound", &TOptions::ChimeHalfSound},
    {"ChimeThreeQuartersSound", &TOptions::ChimeThreeQuartersSound},
    {"ChimeTopSound", &TOptions::ChimeTopSound},
    {"ChimeStart", &TOptions::ChimeStart, TStoredForm::TimeOfDay},
    // Never an inverted chime range, whatever happens after this value.
    {"ChimeStop", &TOptions::ChimeStop, TStoredForm::TimeOfDay,
     [](TOptions& o) { o.ChimeStop = std::max(o.ChimeStop, o.ChimeStart); }},
    {"AutoHide", &TOptions::AutoHide},
    {"AutoHideAllDisplays", &TOptions::AutoHideAllDisplays},
    {"AutoHideInterval", &TOptions::AutoHideInterval},
    {"AutoShowInterval", &TOptions::AutoShowInterval},
    {"ToolTipText", &TOptions::ToolTipText, TStoredForm::MultiLine},
    {"LastSnoozeTime", &TOptions::LastSnoozeTime},
    {"ShowTrayIcon", &TOptions::ShowTrayIcon},
    {"AOT5s", &TOptions::AOT5s},
    {"HK_ShowHideDisplays", &TOptions::HK_ShowHideDisplays},
    {"HK_ShowDisplays", &TOptions::HK_ShowDisplays},
    {"HK_HideDisplays", &TOptions::HK_HideDisplays},
};

}  // namespace

void TOptions::Load() {
  FLoaded = false;
  TVarnRegistry registry;
  if (registry.OpenKey(RegistryKeys::Product, false)) {
    LoadValues<TOptions>(registry, *this, kOptionValues);
    registry.CloseKey();
  }
  registry.ReadStringList(RegistryKeys::CustomColors, CustomColors);
  if (registry.OpenKey(RegistryKeys::Run, false))
    StartAutomatically = registry.ValueExists(kRunValue);
  FLoaded = true;
}

void TOptions::Save() {
  // Options that were never read are not overwritten with defaults.
  if (!FLoaded) return;
  TVarnRegistry registry;
  if (registry.OpenKey(RegistryKeys::Product, true)) {
    registry.WriteString("Language", MultiLanguage().LanguageName());
    SaveValues<TOptions>(registry, *this, kOptionValues);
    registry.CloseKey();
  }
  registry.WriteStringList(RegistryKeys::CustomColors, CustomColors);
  if (registry.OpenKey(RegistryKeys::Run, true)) {
    if (StartAutomatically)
      // Quoted: unquoted, a path with a space would let Windows try "C:\Program.exe" first.
      registry.WriteString(kRunValue, "\"" + Platform().programFile + "\" /boot");
    else
      registry.DeleteValue(kRunValue);
  }
}

namespace {

// Writes new := old when the old integer value exists.
void CopyInteger(TVarnRegistry& reader, TVarnRegistry& writer, const char* oldName,
                 const char* newName) {
  const std::int32_t value = reader.ReadIntegerOr(oldName, -1);
  if (value != -1) writer.WriteInteger(newName, value);
}

// The bytes of a binary value of at most size bytes copied into buffer; -1
// when it is missing or cannot be read, which counts the same.
int ReadRecord(TVarnRegistry& reader, const char* name, void* buffer, int size) {
  try {
    return reader.ValueExists(name) ? reader.ReadBinaryData(name, buffer, size) : -1;
  } catch (const ERegistryException&) {
    return -1;
  }
}

void ImportAnalogElements(TVarnRegistry& reader, TVarnRegistry& writer) {
  std::uint32_t colors[8] = {};
  if (ReadRecord(reader, "Analog.Colors", colors, sizeof(colors)) < 0) return;
  const TElementSettings base{
      static_cast<std::uint32_t>(reader.ReadIntegerOr("Analog.ClockColor", 0xFFFFFF)),
      static_cast<std::uint32_t>(reader.ReadIntegerOr("Analog.OutlineColor", 0)),
      reader.ReadIntegerOr("Analog.ThinOutline", 0) == 1 ? 1 : 2};
  // Each record takes a colour pair (first, second) of the old table when its switch is on.
  const auto record = [&](const char* switchName, int pair) {
    TElementSettings r = base;
    if (reader.ReadIntegerOr(switchName, 0) == 1) {
      r.FillColor = colors[pair * 2];
      r.OutlineColor = colors[pair * 2 + 1];
    }
    return r;
  };
  const TElementSettings marks = record("Analog.UseTickmarksHandColors", 3);
  WriteElementSettings(writer, "TickMarkSettings", marks);
  WriteElementSettings(writer, "QuarterMarksSettings", marks);
  WriteElementSettings(writer, "HourHandSettings", record("Analog.UseHourHandColors", 0));
  WriteElementSettings(writer, "MinuteHandSettings", record("Analog.UseMinuteHandColors", 1));
  WriteElementSettings(writer, "SecondsHandSettings", record("Analog.UseSecondHandColors", 2));
}

std::string ImportedClockText(TVarnRegistry& reader) {
  std::string time = "&time";
  if (reader.ReadIntegerOr("DisplaySeconds", 0) == 1) time += " -s";
  if (reader.ReadIntegerOr("Force24HourMode", 0) == 1) time += " -24";
  if (reader.ReadIntegerOr("NoAMPMIndicator", 0) == 1) time += " -nap";
  time += ";";
  if (!reader.ReadBoolOr("Date.Show", false)) return time;
  const std::int32_t format = reader.ReadIntegerOr("Date.Format", 0);
  const std::string date = format == 2   ? reader.ReadStringOr("Date.CustomFormat", "&sdate;")
                           : format == 1 ? "&sdate;"
                                         : "&ldate;";
  return reader.ReadIntegerOr("Date.Position", 0) == 0 ? date + "  " + time : time + "  " + date;
}

void ImportDigitalFont(TVarnRegistry& reader, TVarnRegistry& writer) {
  const std::string fontName = reader.ReadStringOr("Font.Name", "");
  if (fontName.empty()) return;
  writer.WriteString("Font_FontName", fontName);
  CopyInteger(reader, writer, "Font.Size", "Font_FontSize");
  CopyInteger(reader, writer, "Font.CharSet", "Font_FontCharset");
  const int style = (reader.ReadIntegerOr("Font.Bold", 0) == 1 ? 1 : 0) +
                    (reader.ReadIntegerOr("Font.Italic", 0) == 1 ? 16 : 0);
  writer.WriteInteger("Font_FontStyle", style);
  CopyInteger(reader, writer, "Font.Color", "Font_FontColor");
  CopyInteger(reader, writer, "Digital.3D", "Font_3D");
  CopyInteger(reader, writer, "Outline.Color", "Font_OutlineColor");
  CopyInteger(reader, writer, "Outline.Draw", "Font_OutlineWidth");
  const std::int32_t shadow = reader.ReadIntegerOr("Shadow.Draw", -1);
  if (shadow != -1)
    writer.WriteInteger("Shadow", shadow == 0 ? 0 : SaturatedInt(std::int64_t{shadow} + 4));
  CopyInteger(reader, writer, "Shadow.Color", "ShadowColor");
  writer.WriteString("Text", ImportedClockText(reader));
}

void WriteImportedDisplay(TVarnRegistry& reader, TVarnRegistry& writer, std::int32_t analog) {
  if (writer.OpenKey(RegistryKeys::Displays, true)) {
    writer.WriteInteger("Count", 1);
    writer.WriteInteger("Primary", 0);
    writer.CloseKey();
  }
  if (!writer.OpenKey(std::string(RegistryKeys::Displays) + "\\000", true)) return;
  const int kind = analog != 0 ? 1 : 2;
  writer.WriteInteger("", kind);
  struct {
    std::int32_t left, top, right, bottom;
  } position{};
  if (ReadRecord(reader, "ClockPosition", &position, sizeof(position)) == sizeof(position)) {
    writer.WriteInteger("Left", position.left);
    writer.WriteInteger("Top", position.top);
    writer.WriteInteger("Width", SaturatedInt(std::int64_t{position.right} - position.left));
    writer.WriteInteger("Height", SaturatedInt(std::int64_t{position.bottom} - position.top));
  }
  writer.WriteString("Description", GetText("IMPORTED_DISPLAY", "Imported from Quorvel 1.x"));
  writer.WriteBool("Active", true);
  if (reader.ReadBoolOr("TrueTransparencyEnabled", false)) {
    writer.WriteBool("Transparent", true);
    // A percentage; beyond 0..100 it would not be an opacity at all.
    const std::int32_t t = std::clamp(reader.ReadIntegerOr("TrueTransparency", 50), 0, 100);
    writer.WriteInteger("AlphaBlendValue", RoundHalfEven((100 - t) / 100.0 * 255));
  }
  if (kind == 1) {
    writer.WriteBool("ShowText", false);
    const std::int32_t size = reader.ReadIntegerOr("AnalogSize", -1);
    if (size != -1) writer.WriteInteger("DisplaySize", RoundHalfEven(size * 100 / 500.0));
    CopyInteger(reader, writer, "AnalogDesign", "TickMarks");
    CopyInteger(reader, writer, "DisplaySeconds", "SecondsHand");
    ImportAnalogElements(reader, writer);
  } else {
    CopyInteger(reader, writer, "Alignment", "Alignment");
    ImportDigitalFont(reader, writer);
  }
  writer.CloseKey();
}

}  // namespace

void ImportOldSettings() {
  TVarnRegistry reader;
  if (reader.KeyExists(RegistryKeys::Product) ||
      !reader.OpenKey(RegistryKeys::PreviousVersion, false))
    return;
  const std::int32_t analog = reader.ReadIntegerOr("AnalogDisplay", -1);
  if (analog == -1) return;
  TVarnRegistry writer;
  try {
    WriteImportedDisplay(reader, writer, analog);
  } catch (...) {
    // Half an import would count as done forever; without the product key it is tried again.
    writer.CloseKey();
    writer.DeleteKey(RegistryKeys::Product);
    throw;
  }
}
