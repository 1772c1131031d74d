#pragma once

#include <windows.h>

#include "config/uRegistryHive.h"

// The system registry under one root, through the wide advapi32 functions.
// Strings are UTF-16 in the registry and UTF-8 in the program.
class TWin32Hive : public TRegistryHive {
 public:
  explicit TWin32Hive(HKEY root) : FRoot(root) {}
  std::unique_ptr<THiveKey> OpenKey(const std::string& path, bool create,
                                    std::uint32_t access) override;
  bool DeleteKey(const std::string& path) override;

 private:
  HKEY FRoot;
};

// Installs the current user's and the machine's registry for the registry store.
void InstallWin32Hives();
