#include "config/uWin32Hive.h"

#include <cstring>

#include "config/uVarnRegistry.h"
#include "support/uWinHandles.h"
#include "support/uWinText.h"

namespace {

struct TRegKeyTraits {
  using Handle = HKEY;
  static void Close(HKEY k) { RegCloseKey(k); }
  static void Count(long) {}
};
using TUniqueRegKey = TUniqueHandle<TRegKeyTraits>;

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

class TWin32Key : public THiveKey {
 public:
  explicit TWin32Key(HKEY key) : FKey(key) {}

  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    for (DWORD i = 0;; ++i) {
      wchar_t name[256];
      DWORD length = 256;
      const LONG rc =
          RegEnumKeyExW(FKey.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (rc != ERROR_SUCCESS) break;
      names.push_back(WideToUtf8({name, length}));
    }
    return names;
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    DWORD maxLength = 0;
    if (RegQueryInfoKeyW(FKey.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                         &maxLength, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return names;
    std::wstring name(maxLength + 1, L'\0');
    for (DWORD i = 0;; ++i) {
      DWORD length = maxLength + 1;
      if (RegEnumValueW(FKey.get(), i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      names.push_back(WideToUtf8({name.data(), length}));
    }
    return names;
  }

  std::optional<TRegData> QueryValue(const std::string& name) override {
    const std::wstring wideName = Utf8ToWide(name);
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(FKey.get(), wideName.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
      return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    // The value may grow between the two calls; ask again with the new size.
    LONG rc;
    while ((rc = RegQueryValueExW(FKey.get(), wideName.c_str(), nullptr, &type, bytes.data(),
                                  &size)) == ERROR_MORE_DATA)
      bytes.resize(size);
    if (rc != ERROR_SUCCESS) return std::nullopt;
    bytes.resize(size);
    if (!IsStringType(type)) return TRegData{type, std::move(bytes)};
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    const std::size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    const std::string utf8 = WideToUtf8(text);
    TRegData data{type, {utf8.begin(), utf8.end()}};
    data.bytes.push_back(0);
    return data;
  }

  bool SetValue(const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> bytes) override {
    const std::wstring wideName = Utf8ToWide(name);
    if (!IsStringType(type))
      return RegSetValueExW(FKey.get(), wideName.c_str(), 0, type, bytes.data(),
                            static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
    std::string_view utf8(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (const auto end = utf8.find('\0'); end != std::string_view::npos) utf8 = utf8.substr(0, end);
    const std::wstring text = Utf8ToWide(utf8);
    return RegSetValueExW(FKey.get(), wideName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& name) override {
    return RegDeleteValueW(FKey.get(), Utf8ToWide(name).c_str()) == ERROR_SUCCESS;
  }

 private:
  TUniqueRegKey FKey;
};

}  // namespace

std::unique_ptr<THiveKey> TWin32Hive::OpenKey(const std::string& path, bool create,
                                              std::uint32_t access) {
  const std::wstring widePath = Utf8ToWide(path);
  HKEY key = nullptr;
  const LONG rc = create ? RegCreateKeyExW(FRoot, widePath.c_str(), 0, nullptr, 0, access, nullptr,
                                           &key, nullptr)
                         : RegOpenKeyExW(FRoot, widePath.c_str(), 0, access, &key);
  if (rc != ERROR_SUCCESS) return nullptr;
  return std::make_unique<TWin32Key>(key);
}

bool TWin32Hive::DeleteKey(const std::string& path) {
  return RegDeleteKeyW(FRoot, Utf8ToWide(path).c_str()) == ERROR_SUCCESS;
}

void InstallWin32Hives() {
  static TWin32Hive currentUser(HKEY_CURRENT_USER);
  static TWin32Hive localMachine(HKEY_LOCAL_MACHINE);
  SetHive(TRootKey::CurrentUser, &currentUser);
  SetHive(TRootKey::LocalMachine, &localMachine);
}
