#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

class TVarnRegistry;
struct TElementSettings;

// How a value is kept beyond its registry type.
enum class TStoredForm : std::uint8_t {
  Plain,
  MultiLine,  // a string with each CR LF stored as "&br;"
  TimeOfDay,  // a date/time of which only the fraction is kept
  OneByte,    // an 8-bit number stored as binary data of exactly one byte
};

// A value reached through an object's own operations rather than a member.
template <class T, class V>
struct TAccessor {
  V (*get)(const T&);
  void (*set)(T&, V);
};

// One stored value of an object of class T: its registry name, where it lives
// in the object, and its form. One table of these per class drives both its
// load and its save, in the stored order.
template <class T>
struct TStoredValue {
  const char* name;
  std::variant<bool T::*, std::int32_t T::*, std::uint32_t T::*, std::uint8_t T::*,
               std::string T::*, double T::*, TElementSettings T::*, TAccessor<T, bool>,
               TAccessor<T, std::int32_t>, TAccessor<T, std::string>, TAccessor<T, double>>
      field;
  TStoredForm form = TStoredForm::Plain;
  // Runs right after this value is read (a rule between values read so far).
  void (*afterLoad)(T&) = nullptr;
};

namespace stored_detail {

// Reads treat a value that cannot be read as absent, so a damaged value costs only itself.
bool Read(TVarnRegistry& registry, const std::string& name, bool current, TStoredForm form);
std::int32_t Read(TVarnRegistry& registry, const std::string& name, std::int32_t current,
                  TStoredForm form);
std::uint32_t Read(TVarnRegistry& registry, const std::string& name, std::uint32_t current,
                   TStoredForm form);
std::uint8_t Read(TVarnRegistry& registry, const std::string& name, std::uint8_t current,
                  TStoredForm form);
std::string Read(TVarnRegistry& registry, const std::string& name, const std::string& current,
                 TStoredForm form);
double Read(TVarnRegistry& registry, const std::string& name, double current, TStoredForm form);
TElementSettings Read(TVarnRegistry& registry, const std::string& name,
                      const TElementSettings& current, TStoredForm form);
void Write(TVarnRegistry& registry, const std::string& name, bool value, TStoredForm form);
void Write(TVarnRegistry& registry, const std::string& name, std::int32_t value, TStoredForm form);
void Write(TVarnRegistry& registry, const std::string& name, std::uint32_t value, TStoredForm form);
void Write(TVarnRegistry& registry, const std::string& name, std::uint8_t value, TStoredForm form);
void Write(TVarnRegistry& registry, const std::string& name, const std::string& value,
           TStoredForm form);
void Write(TVarnRegistry& registry, const std::string& name, double value, TStoredForm form);
void Write(TVarnRegistry& registry, const std::string& name, const TElementSettings& value,
           TStoredForm form);

template <class T, class V>
V Get(const T& object, V T::*member) {
  return object.*member;
}
template <class T, class V>
V Get(const T& object, TAccessor<T, V> accessor) {
  return accessor.get(object);
}
template <class T, class V>
void Set(T& object, V T::*member, V value) {
  object.*member = std::move(value);
}
template <class T, class V>
void Set(T& object, TAccessor<T, V> accessor, V value) {
  accessor.set(object, std::move(value));
}

}  // namespace stored_detail

// Reads every value of the table from the registry's open key, each with the
// object's current value as its default; prefix goes before every name.
template <class T>
void LoadValues(TVarnRegistry& registry, T& object, std::span<const TStoredValue<T>> table,
                const std::string& prefix = {}) {
  for (const TStoredValue<T>& value : table) {
    std::visit(
        [&](auto field) {
          stored_detail::Set(object, field,
                             stored_detail::Read(registry, prefix + value.name,
                                                 stored_detail::Get(object, field), value.form));
        },
        value.field);
    if (value.afterLoad) value.afterLoad(object);
  }
}

// Writes every value of the table into the registry's open key.
template <class T>
void SaveValues(TVarnRegistry& registry, const T& object, std::span<const TStoredValue<T>> table,
                const std::string& prefix = {}) {
  for (const TStoredValue<T>& value : table)
    std::visit(
        [&](auto field) {
          stored_detail::Write(registry, prefix + value.name, stored_detail::Get(object, field),
                               value.form);
        },
        value.field);
}

// A list is stored as one subkey per item, named by its index with three digits ("000").
std::string ListItemKeyName(std::size_t index);
// The indices below count (every one when count is -1) whose subkey exists under its
// own name, in order. Work is bounded by the keys that exist, whatever count says.
std::vector<std::size_t> StoredListIndices(TVarnRegistry& registry, std::int32_t count);
