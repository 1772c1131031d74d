#pragma once

#include <string>
#include <vector>

class TVarnRegistry;

// Named copies of a display's look or an event's actions, kept in the
// registry under one category per kind of bound object. A manager is bound to
// one object (not owned) and reads and writes its presets; each kind of object
// has its manager beside it.
class TPresetManager {
 public:
  virtual ~TPresetManager() = default;
  TPresetManager(const TPresetManager&) = delete;
  TPresetManager& operator=(const TPresetManager&) = delete;

  // The presets of the category, sorted as a reader of the locale sorts them.
  const std::vector<std::string>& Names() const { return FNames; }
  // Looking up a name ignores letter case, as the registry does.
  bool Contains(const std::string& name) const;
  void Refresh();
  bool SavePreset(const std::string& name);
  bool LoadPreset(const std::string& name);
  bool DeletePreset(const std::string& name);
  bool RenamePreset(const std::string& oldName, const std::string& newName);

 protected:
  TPresetManager() = default;
  virtual std::string GetCategory() const = 0;
  virtual void SaveTo(TVarnRegistry& registry) = 0;
  virtual void LoadFrom(TVarnRegistry& registry) = 0;

 private:
  std::string CategoryPath() const;
  // The key of a preset, or empty for a name that would reach another key (the
  // category itself, or outside it).
  std::string PresetPath(const std::string& name) const;
  std::vector<std::string> FNames;
};
