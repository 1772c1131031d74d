#include "config/uPresets.h"

#include <algorithm>

#include "config/uRegistryPaths.h"
#include "config/uVarnRegistry.h"
#include "support/uLocale.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

bool TPresetManager::Contains(const std::string& name) const {
  const std::string lower = LowerAscii(name);
  return std::any_of(FNames.begin(), FNames.end(),
                     [&](const std::string& n) { return LowerAscii(n) == lower; });
}

std::string TPresetManager::CategoryPath() const { return RegistryKeys::Presets + GetCategory(); }

std::string TPresetManager::PresetPath(const std::string& name) const {
  // An empty segment would make the path name the category (whose deletion
  // would take every preset with it) or, leading, the hive's root.
  if (name.empty() || name.front() == '\\' || name.back() == '\\' ||
      name.find("\\\\") != std::string::npos)
    return {};
  return CategoryPath() + "\\" + name;
}

void TPresetManager::Refresh() {
  FNames.clear();
  TVarnRegistry registry;
  if (registry.OpenKeyReadOnly(CategoryPath())) {
    registry.GetKeyNames(FNames);
    registry.CloseKey();
  }
  TLocale* locale = Platform().locale;
  std::sort(FNames.begin(), FNames.end(), [locale](const std::string& a, const std::string& b) {
    return locale ? locale->CompareText(a, b) < 0 : LowerAscii(a) < LowerAscii(b);
  });
}

bool TPresetManager::SavePreset(const std::string& name) {
  const std::string path = PresetPath(name);
  TVarnRegistry registry;
  const bool saved = !path.empty() && registry.OpenKey(path, true);
  if (saved) {
    SaveTo(registry);
    registry.CloseKey();
  }
  Refresh();
  return saved;
}

bool TPresetManager::LoadPreset(const std::string& name) {
  const std::string path = PresetPath(name);
  TVarnRegistry registry;
  if (path.empty() || !registry.OpenKeyReadOnly(path)) return false;
  LoadFrom(registry);
  registry.CloseKey();
  return true;
}

bool TPresetManager::DeletePreset(const std::string& name) {
  const std::string path = PresetPath(name);
  TVarnRegistry registry;
  if (path.empty() || !registry.DeleteKey(path)) return false;
  std::erase(FNames, name);
  return true;
}

bool TPresetManager::RenamePreset(const std::string& oldName, const std::string& newName) {
  const std::string from = PresetPath(oldName), to = PresetPath(newName);
  bool moved = false;
  try {
    TVarnRegistry registry;
    if (!from.empty() && !to.empty() && registry.KeyExists(from) && !registry.KeyExists(to)) {
      registry.MoveKey(from, to, true);
      moved = registry.KeyExists(to);
    }
  } catch (...) {
    // The list is read again below: it shows what the registry holds.
  }
  Refresh();
  return moved;
}
