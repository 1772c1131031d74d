#include "display/uDisplayPresets.h"

#include "display/uDisplay.h"

std::string TDisplayPresetManager::GetCategory() const {
  return std::to_string(static_cast<int>(FDisplay.Kind()));
}

void TDisplayPresetManager::SaveTo(TVarnRegistry& registry) {
  FDisplay.SaveToRegistry(registry, true);
}

void TDisplayPresetManager::LoadFrom(TVarnRegistry& registry) {
  FDisplay.LoadFromRegistry(registry, true);
  FDisplay.SetDirty();
}
