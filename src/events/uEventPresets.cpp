#include "events/uEventPresets.h"

#include "events/uEvents.h"

void TEventPresetManager::SaveTo(TVarnRegistry& registry) { FEvent.SaveToRegistry(registry, true); }

void TEventPresetManager::LoadFrom(TVarnRegistry& registry) {
  FEvent.LoadFromRegistry(registry, true);
}
