#pragma once

#include <string>

#include "config/uPresets.h"

class TDisplay;

// Presets of a display's look, offered only to displays of its kind.
class TDisplayPresetManager : public TPresetManager {
 public:
  explicit TDisplayPresetManager(TDisplay& display) : FDisplay(display) { Refresh(); }

 protected:
  std::string GetCategory() const override;
  void SaveTo(TVarnRegistry& registry) override;
  void LoadFrom(TVarnRegistry& registry) override;

 private:
  TDisplay& FDisplay;
};
