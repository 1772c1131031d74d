#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/uGraphicTools.h"

#include "config/uRegistryHive.h"

// The registry's error; its message names the value.
class ERegistryException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The hive behind each root; the program installs the system's, tests their own.
TRegistryHive* HiveOf(TRootKey root);
void SetHive(TRootKey root, TRegistryHive* hive);

// The accessor every persisted object reads and writes through.
class TVarnRegistry {
 public:
  TVarnRegistry() = default;
  ~TVarnRegistry() = default;
  TVarnRegistry(const TVarnRegistry&) = delete;
  TVarnRegistry& operator=(const TVarnRegistry&) = delete;

  TRootKey RootKey() const { return FRootKey; }
  void SetRootKey(TRootKey root);
  std::uint32_t Access() const { return FAccess; }
  const std::string& CurrentPath() const { return FCurrentPath; }
  bool HasCurrentKey() const { return FCurrentKey != nullptr; }

  bool OpenKey(const std::string& path, bool canCreate);
  bool OpenKeyReadOnly(const std::string& path);
  void CloseKey();
  bool KeyExists(const std::string& path);
  bool DeleteKey(const std::string& path);
  // Copies the key with its values and subkeys to newPath, then deletes it when
  // asked; only when the old key exists and the new one does not.
  void MoveKey(const std::string& oldPath, const std::string& newPath, bool deleteSource);
  bool DeleteValue(const std::string& name);
  void GetKeyNames(std::vector<std::string>& list);
  void GetValueNames(std::vector<std::string>& list);
  bool ValueExists(const std::string& name);
  TRegDataType GetDataType(const std::string& name);

  std::string ReadString(const std::string& name);
  void WriteString(const std::string& name, const std::string& text);
  std::int32_t ReadInteger(const std::string& name);
  void WriteInteger(const std::string& name, std::int32_t value);
  void WriteBool(const std::string& name, bool value);
  void WriteFloat(const std::string& name, double value);
  int ReadBinaryData(const std::string& name, void* buffer, int size);
  void WriteBinaryData(const std::string& name, const void* buffer, int size);

  // Every value of the open key as stored, and one written back the same way.
  std::vector<std::pair<std::string, TRegData>> ReadAllValues();
  void WriteRaw(const std::string& name, const TRegData& data);

  std::string ReadStringDef(const std::string& name, const std::string& def);
  std::int32_t ReadIntegerDef(const std::string& name, std::int32_t def);
  bool ReadBoolDef(const std::string& name, bool def);
  double ReadFloatDef(const std::string& name, double def);
  // The reads that loading uses: a value that cannot be read (wrong type or
  // size) counts as absent, so one damaged value costs only itself.
  std::string ReadStringOr(const std::string& name, const std::string& def);
  std::int32_t ReadIntegerOr(const std::string& name, std::int32_t def);
  bool ReadBoolOr(const std::string& name, bool def);
  double ReadFloatOr(const std::string& name, double def);
  void WriteStringList(const std::string& path, const std::vector<std::string>& list);
  // An item that is not a string reads as empty; with no string at all the list stays as it was.
  void ReadStringList(const std::string& path, std::vector<std::string>& list);

 private:
  // The path from the root that path names, given the key now open.
  std::string Resolve(const std::string& path) const;
  void CopyKey(const std::string& from, const std::string& to);
  bool OpenWithAccess(const std::string& path, bool canCreate, std::uint32_t access);
  TRegistryHive& Hive() const;
  std::optional<TRegData> Query(const std::string& name);
  void Write(const std::string& name, std::uint32_t type, const void* bytes, std::size_t size);

  TRootKey FRootKey = TRootKey::CurrentUser;
  std::unique_ptr<THiveKey> FCurrentKey;
  std::string FCurrentPath;
  std::uint32_t FAccess = RegAccess::AllAccess;
};

// Persist the 12-byte element settings record of the analog clock.
void WriteElementSettings(TVarnRegistry& registry, const std::string& name,
                          const TElementSettings& record);
void ReadElementSettings(TVarnRegistry& registry, const std::string& name,
                         const TElementSettings& def, TElementSettings& record);
