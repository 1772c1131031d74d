#pragma once

#include <map>

#include "config/uRegistryHive.h"

// A registry root held in memory. Keys and values keep their creation order,
// as the platform's registry enumerates a freshly written key.
class TMemoryHive : public TRegistryHive {
 public:
  TMemoryHive();
  ~TMemoryHive() override;
  std::unique_ptr<THiveKey> OpenKey(const std::string& path, bool create,
                                    std::uint32_t access) override;
  bool DeleteKey(const std::string& path) override;

  // Rights the test refuses, to exercise fallbacks; a switch that refuses every
  // write, and a value name whose writes are refused.
  std::uint32_t refusedAccess = 0;
  bool refuseWrites = false;
  std::string refusedValue;

  struct TNode;
  // The node at a path of names, or nullptr once it has been deleted.
  TNode* FindNode(const std::vector<std::string>& names) const;

 private:
  std::unique_ptr<TNode> FRoot;
};
