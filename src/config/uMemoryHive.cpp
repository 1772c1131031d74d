#include "config/uMemoryHive.h"

#include <algorithm>

#include "support/uTools.h"

struct TMemoryHive::TNode {
  std::string name;
  std::vector<std::unique_ptr<TNode>> children;
  std::vector<std::pair<std::string, TRegData>> values;
};

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

using TNode = TMemoryHive::TNode;

TNode* FindChild(TNode& node, const std::string& name) {
  for (auto& child : node.children)
    if (SameTextAscii(child->name, name)) return child.get();
  return nullptr;
}

// A key handle that stays valid only as long as its node exists, like the
// platform's: a deleted key is noticed on the next use.
class TMemoryKey : public THiveKey {
 public:
  TMemoryKey(const TMemoryHive& hive, std::vector<std::string> path)
      : FHive(hive), FPath(std::move(path)) {}

  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    if (TNode* n = Node())
      for (auto& c : n->children) names.push_back(c->name);
    return names;
  }
  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    if (TNode* n = Node())
      for (auto& v : n->values) names.push_back(v.first);
    return names;
  }
  std::optional<TRegData> QueryValue(const std::string& name) override {
    if (TNode* n = Node())
      for (auto& v : n->values)
        if (SameTextAscii(v.first, name)) return v.second;
    return std::nullopt;
  }
  bool SetValue(const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> bytes) override {
    TNode* n = Node();
    if (!n || FHive.refuseWrites) return false;
    if (!FHive.refusedValue.empty() && SameTextAscii(name, FHive.refusedValue)) return false;
    TRegData data{type, {bytes.begin(), bytes.end()}};
    for (auto& v : n->values)
      if (SameTextAscii(v.first, name)) {
        v.second = std::move(data);
        return true;
      }
    n->values.emplace_back(name, std::move(data));
    return true;
  }
  bool DeleteValue(const std::string& name) override {
    TNode* n = Node();
    if (!n || FHive.refuseWrites) return false;
    const auto it = std::find_if(n->values.begin(), n->values.end(),
                                 [&](const auto& v) { return SameTextAscii(v.first, name); });
    if (it == n->values.end()) return false;
    n->values.erase(it);
    return true;
  }

 private:
  TNode* Node();
  const TMemoryHive& FHive;
  std::vector<std::string> FPath;
};

}  // namespace

TMemoryHive::TMemoryHive() : FRoot(std::make_unique<TNode>()) {}
TMemoryHive::~TMemoryHive() = default;

std::unique_ptr<THiveKey> TMemoryHive::OpenKey(const std::string& path, bool create,
                                               std::uint32_t access) {
  if (access & refusedAccess) return nullptr;
  if (create && refuseWrites) return nullptr;
  TNode* node = FRoot.get();
  const std::vector<std::string> parts = SplitPath(path);
  std::vector<std::string> canonical;
  for (const std::string& part : parts) {
    TNode* child = FindChild(*node, part);
    if (!child) {
      if (!create) return nullptr;
      node->children.push_back(std::make_unique<TNode>(TNode{part, {}, {}}));
      child = node->children.back().get();
    }
    canonical.push_back(child->name);
    node = child;
  }
  return std::make_unique<TMemoryKey>(*this, canonical);
}

bool TMemoryHive::DeleteKey(const std::string& path) {
  if (refuseWrites) return false;
  const std::vector<std::string> parts = SplitPath(path);
  if (parts.empty()) return false;
  TNode* parent = FRoot.get();
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    parent = FindChild(*parent, parts[i]);
    if (!parent) return false;
  }
  auto& siblings = parent->children;
  const auto it = std::find_if(siblings.begin(), siblings.end(),
                               [&](const auto& c) { return SameTextAscii(c->name, parts.back()); });
  if (it == siblings.end() || !(*it)->children.empty()) return false;
  siblings.erase(it);
  return true;
}

TNode* TMemoryHive::FindNode(const std::vector<std::string>& names) const {
  TNode* node = FRoot.get();
  for (const std::string& name : names)
    if (!(node = FindChild(*node, name))) return nullptr;
  return node;
}

TNode* TMemoryKey::Node() { return FHive.FindNode(FPath); }
