#include "config/uStoredValues.h"

#include <cmath>

#include "config/uVarnRegistry.h"
#include "support/uTools.h"

namespace stored_detail {

namespace {

double TimeOfDay(double dateTime) { return dateTime - std::floor(dateTime); }

}  // namespace

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

// An 8-bit number keeps the lowest 8 bits of the stored integer.
std::uint8_t Read(TVarnRegistry& registry, const std::string& name, std::uint8_t current,
                  TStoredForm) {
  return static_cast<std::uint8_t>(registry.ReadIntegerOr(name, current) & 0xFF);
}

std::string Read(TVarnRegistry& registry, const std::string& name, const std::string& current,
                 TStoredForm form) {
  if (form != TStoredForm::MultiLine) return registry.ReadStringOr(name, current);
  return TagsToLineBreaks(registry.ReadStringOr(name, LineBreaksToTags(current)));
}

double Read(TVarnRegistry& registry, const std::string& name, double current, TStoredForm form) {
  const double value = registry.ReadFloatOr(name, current);
  return form == TStoredForm::TimeOfDay ? TimeOfDay(value) : value;
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

void Write(TVarnRegistry& registry, const std::string& name, std::uint8_t value, TStoredForm) {
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
