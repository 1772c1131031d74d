#include "display/uDisplayList.h"

#include <algorithm>

TDisplay* TDisplayList::Add(std::unique_ptr<TDisplay> display) {
  if (FItems.size() >= MaxDisplays) return nullptr;
  FItems.push_back(std::move(display));
  return FItems.back().get();
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
