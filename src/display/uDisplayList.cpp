#include "display/uDisplayList.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "config/uMultilanguage.h"
#include "config/uRegistryPaths.h"
#include "config/uStoredValues.h"
#include "config/uVarnRegistry.h"
#include "support/uPlatform.h"
#include "support/uTools.h"

namespace {

std::string DisplayKey(std::size_t index) {
  return RegistryKeys::Displays + std::string("\\") + ListItemKeyName(index);
}

// A stored display of a kind this version does not know. It keeps every
// value of its key as it was, so saving the list loses none of them.
class TDisplayPreserved : public TDisplay {
 public:
  explicit TDisplayPreserved(std::uint8_t kind) : TDisplay(TDisplayKind{kind}) {}
  void LoadFromRegistry(TVarnRegistry& registry, bool) override {
    FValues = registry.ReadAllValues();
  }
  void SaveToRegistry(TVarnRegistry& registry, bool) override {
    for (const auto& [name, data] : FValues) registry.WriteRaw(name, data);
  }

 private:
  std::vector<std::pair<std::string, TRegData>> FValues;
};

// The stored kind: an integer, or a string that must be a decimal number.
std::optional<std::uint8_t> StoredKind(TVarnRegistry& registry) {
  if (registry.GetDataType("") == rtInteger)
    return static_cast<std::uint8_t>(registry.ReadIntegerDef("", 0) & 0xFF);
  const std::optional<std::int32_t> kind = ParseDecimal(registry.ReadStringDef("", "0"));
  if (!kind) return std::nullopt;
  return static_cast<std::uint8_t>(*kind & 0xFF);
}

// Where a display stands: its window's place while it has one (a drag moves only the window).
TRect PlaceOf(const TDisplay& display) {
  return display.Window() ? display.Window()->Bounds() : display.StoredBounds();
}

// The first place, row by row from the default place, beside or below the others, where a
// display of this size meets none of them inside the work area. When the area is full, a
// cascade from the default place, so it at least never lies exactly on another display.
TPoint FreePlace(const std::vector<TRect>& others, TPoint size, const TRect& work) {
  constexpr int kDefault = 100, kGap = 10, kCascade = 32;
  const TPoint start{std::max(kDefault, work.left), std::max(kDefault, work.top)};
  std::vector<int> xs{start.x}, ys{start.y};
  for (const TRect& o : others) {
    xs.push_back(o.right + kGap);
    ys.push_back(o.bottom + kGap);
  }
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  const auto fits = [&](TPoint p) {
    return p.x >= work.left && p.y >= work.top && p.x + size.x <= work.right &&
           p.y + size.y <= work.bottom;
  };
  for (const int y : ys)
    for (const int x : xs) {
      const TRect r = BoundsRect(x, y, size.x, size.y);
      if (fits({x, y}) && std::none_of(others.begin(), others.end(),
                                       [&](const TRect& o) { return o.Intersects(r); }))
        return {x, y};
    }
  for (TPoint p = start; fits(p); p = {p.x + kCascade, p.y + kCascade})
    if (std::none_of(others.begin(), others.end(),
                     [&](const TRect& o) { return o.left == p.x && o.top == p.y; }))
      return p;
  return start;
}

// Deactivated while still whole, so that its kind hears of it (a stopwatch stops).
void Destroy(std::unique_ptr<TDisplay> display) { display->SetActive(false); }

}  // namespace

TDisplay* TDisplayList::Add(std::unique_ptr<TDisplay> display) {
  if (FItems.size() >= MaxDisplays) return nullptr;
  display->DisplayFormat().Zones = FZones;
  FItems.push_back(std::move(display));
  return FItems.back().get();
}

TDisplay* TDisplayList::Add(std::uint8_t kind) {
  if (FItems.size() >= MaxDisplays) return nullptr;
  std::unique_ptr<TDisplay> display = FFactory(kind);
  return display ? Add(std::move(display)) : nullptr;
}

TDisplay* TDisplayList::AddNew(std::uint8_t kind) {
  TDisplay* display = Add(kind);
  if (!display) return nullptr;
  display->Description = NewDisplayName(*display);
  display->SetActive(true);
  PlaceNewDisplay(*display);
  return display;
}

std::string TDisplayList::NewDisplayName(const TDisplay& display) const {
  const std::string kind = display.GetKindName();
  const auto inUse = [&](const std::string& name) {
    return std::any_of(FItems.begin(), FItems.end(),
                       [&](const auto& d) { return d->Description == name; });
  };
  // The first of its kind is named by the kind alone, the next ones by their number.
  auto n = std::count_if(FItems.begin(), FItems.end(),
                         [&](const auto& d) { return d->Kind() == display.Kind(); });
  std::string name = n == 1 ? kind : kind + " " + std::to_string(n);
  while (inUse(name)) name = kind + " " + std::to_string(++n);
  return name;
}

void TDisplayList::PlaceNewDisplay(TDisplay& display) const {
  TDesktop* desktop = Platform().desktop;
  if (!desktop || !display.Window()) return;
  // Painted once, so that its window has the size it will show at.
  display.Repaint();
  const TRect own = display.Window()->Bounds();
  std::vector<TRect> others;
  for (const auto& d : FItems)
    if (d.get() != &display) others.push_back(PlaceOf(*d));
  // The primary monitor is the one at the origin.
  const TPoint at = FreePlace(others, {own.Width(), own.Height()}, desktop->WorkAreaNear({0, 0}));
  display.Left = at.x;
  display.Top = at.y;
  display.Window()->MoveTo(at.x, at.y);
}

void TDisplayList::Delete(TDisplay* display) {
  if (display == Primary) Primary = nullptr;
  const auto it =
      std::find_if(FItems.begin(), FItems.end(), [&](const auto& d) { return d.get() == display; });
  if (it == FItems.end()) return;
  // Out of the list first: its window's last messages may reach the list.
  std::unique_ptr<TDisplay> removed = std::move(*it);
  FItems.erase(it);
  Destroy(std::move(removed));
}

bool TDisplayList::Contains(const TDisplay* display) const {
  return display && std::any_of(FItems.begin(), FItems.end(),
                                [&](const auto& d) { return d.get() == display; });
}

void TDisplayList::Clear() {
  Primary = nullptr;
  std::vector<std::unique_ptr<TDisplay>> removed;
  removed.swap(FItems);
  // Destroyed only now, with the list already empty.
  for (auto& d : removed) Destroy(std::move(d));
}

void TDisplayList::Save() {
  // A list that was never read whole must not replace what is stored.
  if (!FLoaded) return;
  TVarnRegistry registry;
  registry.DeleteKey(RegistryKeys::Displays);
  if (!registry.OpenKey(RegistryKeys::Displays, true)) return;
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
  FLoaded = false;
  Clear();
  if (!LoadStored()) CreateDefault();
  FLoaded = true;
}

bool TDisplayList::LoadStored() {
  TVarnRegistry registry;
  if (!registry.OpenKey(RegistryKeys::Displays, false)) return false;
  // A Count or Primary that cannot be read counts as absent.
  const std::int32_t count = registry.ReadIntegerOr("Count", -1);
  const std::int32_t primary = registry.ReadIntegerOr("Primary", -1);
  const std::vector<std::size_t> indices = StoredListIndices(registry, count);
  registry.CloseKey();
  // Without a Count the stored displays still count; only an empty key means a first start.
  if (count == -1 && indices.empty()) return false;
  for (const std::size_t i : indices) {
    if (!registry.OpenKey(DisplayKey(i), false)) continue;
    LoadDisplay(registry);
    registry.CloseKey();
  }
  if (primary >= 0 && static_cast<std::size_t>(primary) < FItems.size())
    Primary = FItems[static_cast<std::size_t>(primary)].get();
  return true;
}

void TDisplayList::LoadDisplay(TVarnRegistry& registry) {
  const std::size_t before = FItems.size();
  std::optional<std::uint8_t> kind;
  try {
    kind = StoredKind(registry);
    if (kind) {
      if (TDisplay* display = Add(*kind)) {
        display->LoadFromRegistry(registry, false);
        return;
      }
    }
  } catch (const std::exception&) {
  }
  // A display whose kind cannot be read, or is not one this version knows, is
  // kept exactly as stored instead of being lost at the next save.
  if (FItems.size() > before) {
    std::unique_ptr<TDisplay> failed = std::move(FItems.back());
    FItems.pop_back();
    Destroy(std::move(failed));
  }
  if (TDisplay* kept = Add(std::make_unique<TDisplayPreserved>(kind.value_or(0))))
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

std::optional<std::int64_t> TDisplayList::NextRepaintWithinMinute(std::int64_t nowMs) const {
  std::optional<std::int64_t> next;
  for (const auto& d : FItems) {
    if (!d->IsActive()) continue;
    const std::optional<std::int64_t> own = d->NextRepaintWithinMinute(nowMs);
    if (own && (!next || *own < *next)) next = own;
  }
  return next;
}

void TDisplayList::ShowAll() {
  for (auto& d : FItems) d->Show();
}

void TDisplayList::HideAll(const TDisplay* except) {
  for (auto& d : FItems)
    if (d.get() != except) d->Hide();
}

void TDisplayList::ToggleAll() {
  const bool allVisible = std::all_of(
      FItems.begin(), FItems.end(), [](const auto& d) { return !d->IsActive() || d->IsVisible(); });
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

void TDisplayList::MonitorsChanged() {
  for (auto& d : FItems) d->FitToMonitors();
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
