#include "display/uDisplayList.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "config/uMultilanguage.h"
#include "config/uVarnRegistry.h"
#include "kinds/uDisplayDigitalClock.h"

namespace {

constexpr char kDisplaysKey[] = "Software\\Quorvel II\\Displays";

std::string DisplayKey(std::size_t index) {
  char name[16];
  std::snprintf(name, sizeof(name), "\\%.3zu", index);
  return kDisplaysKey + std::string(name);
}

// A stored display of a kind this version cannot show yet. It keeps every
// value of its key as it was, so saving the list loses none of them.
class TDisplayPreserved : public TDisplay {
 public:
  explicit TDisplayPreserved(std::uint8_t kind) : TDisplay(TDisplayKind{kind}) {}
  void LoadFromRegistry(TVarnRegistry& registry, bool) override { FValues = registry.ReadAllValues(); }
  void SaveToRegistry(TVarnRegistry& registry, bool) override {
    for (const auto& [name, data] : FValues) registry.WriteRaw(name, data);
  }

 private:
  std::vector<std::pair<std::string, TRegData>> FValues;
};

// The largest number among the display subkeys ("000", "001", ...), or -1.
std::int32_t HighestStoredIndex(TVarnRegistry& registry) {
  std::vector<std::string> names;
  registry.GetKeyNames(names);
  std::int32_t highest = -1;
  for (const std::string& name : names) {
    if (name.empty() || name.size() > 9 ||
        !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    highest = std::max(highest, static_cast<std::int32_t>(std::stol(name)));
  }
  return highest;
}

}  // namespace

TDisplay* TDisplayList::Add(std::unique_ptr<TDisplay> display) {
  if (FItems.size() >= MaxDisplays) return nullptr;
  FItems.push_back(std::move(display));
  return FItems.back().get();
}

TDisplay* TDisplayList::Add(std::uint8_t kind) {
  if (FItems.size() >= MaxDisplays) return nullptr;
  switch (kind) {
    case dkDigitalClock:
      return Add(TDisplay::Create<TDisplayDigitalClock>());
    case dkAnalogClock:
    case dkCountdown:
    case dkStopwatch:
      return Add(std::make_unique<TDisplayPreserved>(kind));
    default:
      return nullptr;
  }
}

void TDisplayList::Delete(TDisplay* display) {
  if (display == Primary) Primary = nullptr;
  std::erase_if(FItems, [&](const auto& d) { return d.get() == display; });
}

void TDisplayList::Clear() {
  Primary = nullptr;
  FItems.clear();
}

void TDisplayList::Save() {
  TVarnRegistry registry;
  registry.DeleteKey(kDisplaysKey);
  if (!registry.OpenKey(kDisplaysKey, true)) return;
  registry.WriteInteger("Count", static_cast<std::int32_t>(FItems.size()));
  std::int32_t primary = -1;
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == Primary) primary = static_cast<std::int32_t>(i);
  registry.WriteInteger("Primary", primary);
  registry.CloseKey();
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    if (!registry.OpenKey(DisplayKey(i), true)) continue;
    FItems[i]->SaveToRegistry(registry, false);
    registry.CloseKey();
  }
}

void TDisplayList::Load() {
  Clear();
  std::int32_t count = -1, primary = -1;
  TVarnRegistry registry;
  std::int32_t storedKeys = 0;
  if (registry.OpenKey(kDisplaysKey, false)) {
    count = registry.ReadIntegerDef("Count", -1);
    primary = registry.ReadIntegerDef("Primary", -1);
    storedKeys = HighestStoredIndex(registry) + 1;
    registry.CloseKey();
  }
  if (count == -1) {
    CreateDefault();
    return;
  }
  // A damaged Count must not make the start-up try a billion keys that are not there.
  for (std::int32_t i = 0; i < std::min(count, storedKeys); ++i) {
    if (!registry.OpenKey(DisplayKey(static_cast<std::size_t>(i)), false)) continue;
    LoadDisplay(registry);
    registry.CloseKey();
  }
  if (primary >= 0 && static_cast<std::size_t>(primary) < FItems.size())
    Primary = FItems[static_cast<std::size_t>(primary)].get();
}

void TDisplayList::LoadDisplay(TVarnRegistry& registry) {
  const std::size_t before = FItems.size();
  std::uint8_t kind = 0;
  try {
    if (registry.GetDataType("") == rtInteger)
      kind = static_cast<std::uint8_t>(registry.ReadIntegerDef("", 0) & 0xFF);
    else
      kind = static_cast<std::uint8_t>(std::stoi(registry.ReadStringDef("", "0")) & 0xFF);
    if (TDisplay* display = Add(kind)) display->LoadFromRegistry(registry, false);
    return;
  } catch (const std::exception&) {
    // A damaged display is kept exactly as stored instead of being lost at the next save.
  }
  if (FItems.size() > before) FItems.resize(before);
  if (TDisplay* kept = Add(std::make_unique<TDisplayPreserved>(kind)))
    kept->LoadFromRegistry(registry, false);
}

void TDisplayList::CreateDefault() {
  TDisplay* display = Add(dkDigitalClock);
  if (display) display->Description = GetText("DEFAULT_DISPLAY", "Default display");
  Primary = display;
  if (display) display->SetActive(true);
}

void TDisplayList::Tick(bool hourChanged, bool minuteChanged, bool secondChanged, int second) {
  for (auto& d : FItems)
    if (d->IsActive()) d->Tick(hourChanged, minuteChanged, secondChanged, second);
}

void TDisplayList::ShowAll() {
  for (auto& d : FItems) d->Show();
}

void TDisplayList::HideAll(const TDisplay* except) {
  for (auto& d : FItems)
    if (d.get() != except) d->Hide();
}

void TDisplayList::ToggleAll() {
  const bool allVisible = std::all_of(FItems.begin(), FItems.end(), [](const auto& d) {
    return !d->IsActive() || d->IsVisible();
  });
  if (allVisible)
    HideAll(nullptr);
  else
    ShowAll();
}

void TDisplayList::RefreshTopmost() {
  for (auto& d : FItems)
    if (d->AlwaysOnTop() && d->Window()) d->Window()->ApplyZOrder();
}

void TDisplayList::InvalidateAll() {
  for (auto& d : FItems) d->SetDirty();
}

void TDisplayList::Highlight(const TDisplay* display) {
  for (auto& d : FItems)
    if (d->IsActive()) d->SetHighlighted(d.get() == display);
}

void TDisplayList::StopFlashingAll() {
  for (auto& d : FItems) d->StopFlashing();
}

void TDisplayList::AutoHideOthers(const TDisplay& display) {
  for (auto& d : FItems)
    if (d.get() != &display && d->IsVisible()) d->Window()->AutoHide(false);
}

void TDisplayList::AutoShowAll() {
  for (auto& d : FItems)
    if (d->IsActive()) d->Window()->AutoShow(false);
}

bool TDisplayList::IsCursorOverAny() const {
  return std::any_of(FItems.begin(), FItems.end(),
                     [](const auto& d) { return d->IsActive() && d->Window()->IsCursorInside(); });
}

bool TDisplayList::CanAutoHide(const TDisplay& display, bool allDisplays) const {
  if (!allDisplays) return !display.Flashing();
  return std::none_of(FItems.begin(), FItems.end(),
                      [](const auto& d) { return d->IsActive() && d->Flashing(); });
}
