#pragma once

#include <string>

#include "config/uPresets.h"

class TEvent;

// Presets of an event's actions.
class TEventPresetManager : public TPresetManager {
 public:
  explicit TEventPresetManager(TEvent& event) : FEvent(event) { Refresh(); }

 protected:
  std::string GetCategory() const override { return "events"; }
  void SaveTo(TVarnRegistry& registry) override;
  void LoadFrom(TVarnRegistry& registry) override;

 private:
  TEvent& FEvent;
};
