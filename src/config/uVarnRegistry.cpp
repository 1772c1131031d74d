#include "config/uVarnRegistry.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

TRegistryHive* gHives[2] = {nullptr, nullptr};

std::string Message(const char* format, const std::string& name) {
  // The format is ours; the name is only ever an argument.
  std::string text(format);
  const auto at = text.find("%s");
  return text.replace(at, 2, name);
}

[[noreturn]] void InvalidType(const std::string& name) {
  throw ERegistryException(Message("Invalid data type for '%s'", name));
}

std::string StripTrailing(std::string path) {
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

TRegistryHive* HiveOf(TRootKey root) { return gHives[root == TRootKey::CurrentUser ? 0 : 1]; }

void SetHive(TRootKey root, TRegistryHive* hive) {
  gHives[root == TRootKey::CurrentUser ? 0 : 1] = hive;
}

TRegistryHive& TVarnRegistry::Hive() const {
  TRegistryHive* hive = HiveOf(FRootKey);
  if (!hive) throw ERegistryException("No registry available");
  return *hive;
}

void TVarnRegistry::SetRootKey(TRootKey root) {
  if (root == FRootKey) return;
  CloseKey();
  FRootKey = root;
}

std::string TVarnRegistry::Resolve(const std::string& path) const {
  if (!path.empty() && path.front() == '\\') return StripTrailing(path.substr(1));
  // The path is set and cleared together with the open key.
  if (!FCurrentPath.empty()) return StripTrailing(FCurrentPath + "\\" + path);
  return StripTrailing(path);
}

bool TVarnRegistry::OpenWithAccess(const std::string& path, bool canCreate, std::uint32_t access) {
  const std::string full = Resolve(path);
  std::unique_ptr<THiveKey> key = Hive().OpenKey(full, canCreate, access);
  if (!key) return false;
  FCurrentKey = std::move(key);
  FCurrentPath = full;
  return true;
}

bool TVarnRegistry::OpenKey(const std::string& path, bool canCreate) {
  return OpenWithAccess(path, canCreate, FAccess);
}

bool TVarnRegistry::OpenKeyReadOnly(const std::string& path) {
  for (const std::uint32_t access :
       {RegAccess::Read, RegAccess::ReadEnumerate, RegAccess::QueryValue})
    if (OpenWithAccess(path, false, access)) {
      FAccess = access;
      return true;
    }
  return false;
}

void TVarnRegistry::CloseKey() {
  FCurrentKey.reset();
  FCurrentPath.clear();
}

bool TVarnRegistry::KeyExists(const std::string& path) {
  return Hive().OpenKey(Resolve(path), false, RegAccess::ReadEnumerate) != nullptr;
}

bool TVarnRegistry::DeleteKey(const std::string& path) {
  const std::string full = Resolve(path);
  if (std::unique_ptr<THiveKey> key = Hive().OpenKey(full, false, RegAccess::AllAccess)) {
    const std::vector<std::string> names = key->SubKeyNames();
    for (auto it = names.rbegin(); it != names.rend(); ++it) DeleteKey("\\" + full + "\\" + *it);
  }
  return Hive().DeleteKey(full);
}

bool TVarnRegistry::DeleteValue(const std::string& name) {
  return FCurrentKey && FCurrentKey->DeleteValue(name);
}

void TVarnRegistry::GetKeyNames(std::vector<std::string>& list) {
  list = FCurrentKey ? FCurrentKey->SubKeyNames() : std::vector<std::string>{};
}

void TVarnRegistry::GetValueNames(std::vector<std::string>& list) {
  list = FCurrentKey ? FCurrentKey->ValueNames() : std::vector<std::string>{};
}

std::optional<TRegData> TVarnRegistry::Query(const std::string& name) {
  if (!FCurrentKey) return std::nullopt;
  return FCurrentKey->QueryValue(name);
}

bool TVarnRegistry::ValueExists(const std::string& name) { return Query(name).has_value(); }

TRegDataType TVarnRegistry::GetDataType(const std::string& name) {
  const auto data = Query(name);
  if (!data) return rtNone;
  switch (data->type) {
    case rtString:
    case rtExpandString:
    case rtInteger:
    case rtBinary:
      return static_cast<TRegDataType>(data->type);
    default:
      return rtNone;
  }
}

std::string TVarnRegistry::ReadString(const std::string& name) {
  const auto data = Query(name);
  if (!data) return {};
  if (data->type != rtString && data->type != rtExpandString) InvalidType(name);
  const auto* chars = reinterpret_cast<const char*>(data->bytes.data());
  // Up to the first zero byte, and never past the stored bytes.
  return std::string(chars, strnlen(chars, data->bytes.size()));
}

void TVarnRegistry::Write(const std::string& name, std::uint32_t type, const void* bytes,
                          std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  if (!FCurrentKey || !FCurrentKey->SetValue(name, type, {p, size}))
    throw ERegistryException(Message("Failed to set data for '%s'", name));
}

void TVarnRegistry::WriteString(const std::string& name, const std::string& text) {
  Write(name, rtString, text.c_str(), text.size() + 1);
}

std::int32_t TVarnRegistry::ReadInteger(const std::string& name) {
  const auto data = Query(name);
  if (!data || data->bytes.size() > 4)
    throw ERegistryException(Message("Failed to get data for '%s'", name));
  if (data->type != rtInteger || data->bytes.size() != 4) InvalidType(name);
  std::int32_t value;
  std::memcpy(&value, data->bytes.data(), 4);
  return value;
}

void TVarnRegistry::WriteInteger(const std::string& name, std::int32_t value) {
  Write(name, rtInteger, &value, 4);
}

void TVarnRegistry::WriteBool(const std::string& name, bool value) {
  WriteInteger(name, value ? 1 : 0);
}

void TVarnRegistry::WriteFloat(const std::string& name, double value) {
  static_assert(sizeof(double) == 8);
  Write(name, rtBinary, &value, 8);
}

int TVarnRegistry::ReadBinaryData(const std::string& name, void* buffer, int size) {
  const auto data = Query(name);
  if (!data) return 0;
  const bool known =
      data->type == rtString || data->type == rtExpandString || data->type == rtInteger;
  const auto capacity = static_cast<std::size_t>(std::max(size, 0));
  if (known || data->bytes.size() > capacity) InvalidType(name);
  if (!data->bytes.empty()) std::memcpy(buffer, data->bytes.data(), data->bytes.size());
  return static_cast<int>(data->bytes.size());
}

void TVarnRegistry::WriteBinaryData(const std::string& name, const void* buffer, int size) {
  Write(name, rtBinary, buffer, static_cast<std::size_t>(size));
}

void TVarnRegistry::MoveKey(const std::string& oldPath, const std::string& newPath,
                            bool deleteSource) {
  if (!KeyExists(oldPath) || KeyExists(newPath)) return;
  CopyKey(Resolve(oldPath), Resolve(newPath));
  if (deleteSource) DeleteKey(oldPath);
}

void TVarnRegistry::CopyKey(const std::string& from, const std::string& to) {
  TVarnRegistry source, target;
  source.SetRootKey(FRootKey);
  target.SetRootKey(FRootKey);
  if (!source.OpenKeyReadOnly("\\" + from) || !target.OpenKey("\\" + to, true)) return;
  for (const auto& [name, data] : source.ReadAllValues()) target.WriteRaw(name, data);
  std::vector<std::string> names;
  source.GetKeyNames(names);
  for (const std::string& name : names) CopyKey(from + "\\" + name, to + "\\" + name);
}

std::vector<std::pair<std::string, TRegData>> TVarnRegistry::ReadAllValues() {
  std::vector<std::pair<std::string, TRegData>> values;
  std::vector<std::string> names;
  GetValueNames(names);
  for (const std::string& name : names)
    if (auto data = Query(name)) values.emplace_back(name, std::move(*data));
  return values;
}

void TVarnRegistry::WriteRaw(const std::string& name, const TRegData& data) {
  Write(name, data.type, data.bytes.data(), data.bytes.size());
}

std::string TVarnRegistry::ReadStringDef(const std::string& name, const std::string& def) {
  return ValueExists(name) ? ReadString(name) : def;
}

std::int32_t TVarnRegistry::ReadIntegerDef(const std::string& name, std::int32_t def) {
  return ValueExists(name) ? ReadInteger(name) : def;
}

bool TVarnRegistry::ReadBoolDef(const std::string& name, bool def) {
  return ValueExists(name) ? ReadInteger(name) != 0 : def;
}

double TVarnRegistry::ReadFloatDef(const std::string& name, double def) {
  const auto data = Query(name);
  if (!data) return def;
  if (data->type != rtBinary || data->bytes.size() != 8) InvalidType(name);
  double value;
  std::memcpy(&value, data->bytes.data(), 8);
  return value;
}

namespace {

template <class T, class Read>
T ReadOrDefault(const T& def, Read read) {
  try {
    return read();
  } catch (const ERegistryException&) {
    return def;
  }
}

}  // namespace

std::string TVarnRegistry::ReadStringOr(const std::string& name, const std::string& def) {
  return ReadOrDefault(def, [&] { return ReadStringDef(name, def); });
}

std::int32_t TVarnRegistry::ReadIntegerOr(const std::string& name, std::int32_t def) {
  return ReadOrDefault(def, [&] { return ReadIntegerDef(name, def); });
}

bool TVarnRegistry::ReadBoolOr(const std::string& name, bool def) {
  return ReadOrDefault(def, [&] { return ReadBoolDef(name, def); });
}

double TVarnRegistry::ReadFloatOr(const std::string& name, double def) {
  return ReadOrDefault(def, [&] { return ReadFloatDef(name, def); });
}

void TVarnRegistry::WriteStringList(const std::string& path, const std::vector<std::string>& list) {
  DeleteKey(path);
  if (list.empty() || !OpenKey(path, true)) return;
  for (std::size_t i = 0; i < list.size(); ++i) {
    char name[24];
    std::snprintf(name, sizeof(name), "%.3zu", i);
    WriteString(name, list[i]);
  }
  CloseKey();
}

void TVarnRegistry::ReadStringList(const std::string& path, std::vector<std::string>& list) {
  if (!OpenKey(path, false)) return;
  std::vector<std::string> names, items;
  GetValueNames(names);
  bool readable = false;
  for (const std::string& name : names) {
    const TRegDataType type = GetDataType(name);
    const bool text = type == rtString || type == rtExpandString;
    readable = readable || text;
    items.push_back(text ? ReadString(name) : std::string());
  }
  if (readable) list = std::move(items);
  CloseKey();
}

void WriteElementSettings(TVarnRegistry& registry, const std::string& name,
                          const TElementSettings& record) {
  registry.WriteBinaryData(name, &record, sizeof(record));
}

void ReadElementSettings(TVarnRegistry& registry, const std::string& name,
                         const TElementSettings& def, TElementSettings& record) {
  record = def;
  if (registry.ValueExists(name)) registry.ReadBinaryData(name, &record, sizeof(record));
}
