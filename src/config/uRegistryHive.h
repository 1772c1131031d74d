#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Registry value types; the values are the platform's.
enum TRegDataType : std::uint32_t {
  rtNone = 0,
  rtString = 1,        // REG_SZ
  rtExpandString = 2,  // REG_EXPAND_SZ
  rtBinary = 3,        // REG_BINARY
  rtInteger = 4,       // REG_DWORD
  rtMultiString = 7,   // REG_MULTI_SZ
  rtQWord = 11,        // REG_QWORD
};

// Access rights; the values are the platform's.
namespace RegAccess {
constexpr std::uint32_t QueryValue = 0x0001;
constexpr std::uint32_t Read = 0x20019;
constexpr std::uint32_t ReadEnumerate = 0x20009;
constexpr std::uint32_t AllAccess = 0xF003F;
}  // namespace RegAccess

// A stored value: its type and bytes. Strings are UTF-8 with one closing zero byte.
struct TRegData {
  std::uint32_t type = rtNone;
  std::vector<std::uint8_t> bytes;
  friend bool operator==(const TRegData&, const TRegData&) = default;
};

// One open key of a hive.
class THiveKey {
 public:
  virtual ~THiveKey() = default;
  // Names in the hive's enumeration order (creation order for a new key).
  virtual std::vector<std::string> SubKeyNames() = 0;
  virtual std::vector<std::string> ValueNames() = 0;
  virtual std::optional<TRegData> QueryValue(const std::string& name) = 0;
  virtual bool SetValue(const std::string& name, std::uint32_t type,
                        std::span<const std::uint8_t> bytes) = 0;
  virtual bool DeleteValue(const std::string& name) = 0;
};

// One root of the registry (the current user's or the machine's). Paths are
// backslash-separated from the root; key names compare without regard to case.
class TRegistryHive {
 public:
  virtual ~TRegistryHive() = default;
  // Opens (with create, makes every missing key of) the path; nothing on failure.
  virtual std::unique_ptr<THiveKey> OpenKey(const std::string& path, bool create,
                                            std::uint32_t access) = 0;
  // Deletes a key that has no subkeys.
  virtual bool DeleteKey(const std::string& path) = 0;
};

enum class TRootKey { CurrentUser, LocalMachine };
