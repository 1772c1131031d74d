#include "config/uStoredValues.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "config/uVarnRegistry.h"
#include "support/uTools.h"

namespace stored_detail {

bool Read(TVarnRegistry& registry, const std::string& name, bool current, TStoredForm) {
  return registry.ReadBoolOr(name, current);
}

std::int32_t Read(TVarnRegistry& registry, const std::string& name, std::int32_t current,
                  TStoredForm) {
  return registry.ReadIntegerOr(name, current);
}

// Colours and other bit patterns are stored as the signed integer of the same bits.
std::uint32_t Read(TVarnRegistry& registry, const std::string& name, std::uint32_t current,
                   TStoredForm) {
  return static_cast<std::uint32_t>(
      registry.ReadIntegerOr(name, static_cast<std::int32_t>(current)));
}

// An 8-bit number keeps the lowest 8 bits of the stored integer; in binary form
// anything but exactly one byte counts as absent.
std::uint8_t Read(TVarnRegistry& registry, const std::string& name, std::uint8_t current,
                  TStoredForm form) {
  if (form != TStoredForm::OneByte)
    return static_cast<std::uint8_t>(registry.ReadIntegerOr(name, current) & 0xFF);
  if (registry.GetDataType(name) != rtBinary) return current;
  std::uint8_t bytes[2] = {current, 0};
  try {
    return registry.ReadBinaryData(name, bytes, 2) == 1 ? bytes[0] : current;
  } catch (const ERegistryException&) {
    return current;
  }
}

std::string Read(TVarnRegistry& registry, const std::string& name, const std::string& current,
                 TStoredForm form) {
  if (form != TStoredForm::MultiLine) return registry.ReadStringOr(name, current);
  return TagsToLineBreaks(registry.ReadStringOr(name, LineBreaksToTags(current)));
}

double Read(TVarnRegistry& registry, const std::string& name, double current, TStoredForm form) {
  const double value = registry.ReadFloatOr(name, current);
  if (form != TStoredForm::TimeOfDay) return value;
  // NaN or an infinity is no time of day.
  return std::isfinite(value) ? TimeOfDay(value) : current;
}

// A record that cannot be read (longer than its 12 bytes, or not binary) counts as absent.
TElementSettings Read(TVarnRegistry& registry, const std::string& name,
                      const TElementSettings& current, TStoredForm) {
  TElementSettings record = current;
  try {
    ReadElementSettings(registry, name, current, record);
  } catch (const ERegistryException&) {
    return current;
  }
  return record;
}

void Write(TVarnRegistry& registry, const std::string& name, bool value, TStoredForm) {
  registry.WriteBool(name, value);
}

void Write(TVarnRegistry& registry, const std::string& name, std::int32_t value, TStoredForm) {
  registry.WriteInteger(name, value);
}

void Write(TVarnRegistry& registry, const std::string& name, std::uint32_t value, TStoredForm) {
  registry.WriteInteger(name, static_cast<std::int32_t>(value));
}

void Write(TVarnRegistry& registry, const std::string& name, std::uint8_t value, TStoredForm form) {
  if (form == TStoredForm::OneByte)
    registry.WriteBinaryData(name, &value, 1);
  else
    registry.WriteInteger(name, value);
}

void Write(TVarnRegistry& registry, const std::string& name, const std::string& value,
           TStoredForm form) {
  registry.WriteString(name, form == TStoredForm::MultiLine ? LineBreaksToTags(value) : value);
}

void Write(TVarnRegistry& registry, const std::string& name, double value, TStoredForm form) {
  registry.WriteFloat(name, form == TStoredForm::TimeOfDay ? TimeOfDay(value) : value);
}

void Write(TVarnRegistry& registry, const std::string& name, const TElementSettings& value,
           TStoredForm) {
  WriteElementSettings(registry, name, value);
}

}  // namespace stored_detail

std::string ListItemKeyName(std::size_t index) {
  char name[24];
  std::snprintf(name, sizeof(name), "%.3zu", index);
  return name;
}

std::vector<std::size_t> StoredListIndices(TVarnRegistry& registry, std::int32_t count) {
  std::vector<std::string> names;
  registry.GetKeyNames(names);
  std::vector<std::size_t> indices;
  for (const std::string& name : names) {
    const std::optional<std::int32_t> n = ParseDecimal(name);
    if (n && *n >= 0 && (count == -1 || *n < count) &&
        ListItemKeyName(static_cast<std::size_t>(*n)) == name)
      indices.push_back(static_cast<std::size_t>(*n));
  }
  std::sort(indices.begin(), indices.end());
  return indices;
}
