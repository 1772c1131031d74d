#include "app/uTrayIcon.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>

TVarnTrayIcon::TVarnTrayIcon(HWND owner, UINT callbackMessage, UINT id)
    : FOwner(owner), FId(id), FCallbackMessage(callbackMessage) {}

TVarnTrayIcon::~TVarnTrayIcon() {
  if (FShown) Notify(NIM_DELETE);
}

void TVarnTrayIcon::AddIconName(const std::wstring& name) { FIconNames.push_back(name); }

void TVarnTrayIcon::SetIconIndex(int index) {
  if (index == FIconIndex) return;
  FIconIndex = index;
  ReloadIcon();
  if (FUpdateCount == 0 && FShown) Notify(NIM_MODIFY);
}

void TVarnTrayIcon::SetTip(const std::wstring& tip) {
  if (tip == FTip) return;
  FTip = tip;
  if (FUpdateCount == 0 && FShown) Notify(NIM_MODIFY);
}

void TVarnTrayIcon::SetVisible(bool value) {
  FWanted = value;
  if (value == FShown) return;
  if (value) {
    FShown = Notify(NIM_ADD);
  } else {
    Notify(NIM_DELETE);
    FShown = false;
  }
}

void TVarnTrayIcon::EndUpdate() {
  FUpdateCount = std::max(FUpdateCount - 1, 0);
  if (FUpdateCount == 0 && FShown) Notify(NIM_MODIFY);
}

void TVarnTrayIcon::TaskbarCreated() {
  if (FWanted) FShown = Notify(NIM_ADD);
}

void TVarnTrayIcon::ReloadIcon() {
  FIcon.reset();
  if (FIconIndex < 0 || static_cast<std::size_t>(FIconIndex) >= FIconNames.size()) return;
  // The notification area stands on the primary monitor at the system's DPI, whose small-icon
  // size GetSystemMetrics gives a per-monitor aware program too.
  FIcon.reset(static_cast<HICON>(LoadImageW(
      GetModuleHandleW(nullptr), FIconNames[static_cast<std::size_t>(FIconIndex)].c_str(),
      IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
}

bool TVarnTrayIcon::Notify(DWORD request) {
  // The layout with the long tip, which every shell since Windows 2000 takes.
  NOTIFYICONDATAW data{};
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  data.hWnd = FOwner;
  data.uID = FId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = FCallbackMessage;
  data.hIcon = FIcon.get();
  const std::wstring tip = FTip.substr(0, std::size(data.szTip) - 1);
  std::copy(tip.begin(), tip.end(), data.szTip);
  return Shell_NotifyIconW(request, &data) != FALSE;
}
