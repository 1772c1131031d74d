#include "app/uTrayIcon.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <utility>

TVarnTrayIcon::TVarnTrayIcon(HWND owner, UINT callbackMessage, UINT id)
    : FOwner(owner), FId(id), FCallbackMessage(callbackMessage) {}

TVarnTrayIcon::~TVarnTrayIcon() {
  if (FShown) Notify(NIM_DELETE, 0);
}

void TVarnTrayIcon::AddIconName(const std::wstring& name) { FIconNames.push_back(name); }

void TVarnTrayIcon::SetIconIndex(int index) {
  if (index == FIconIndex) return;
  FIconIndex = index;
  ReloadIcon();
  Changed(NIF_ICON);
}

void TVarnTrayIcon::SetTip(const std::wstring& tip) {
  if (tip == FTip) return;
  FTip = tip;
  Changed(NIF_TIP);
}

void TVarnTrayIcon::SetVisible(bool value) {
  FWanted = value;
  if (value == FShown) return;
  if (value) {
    FShown = Add();
  } else {
    Notify(NIM_DELETE, 0);
    FShown = false;
  }
}

void TVarnTrayIcon::EndUpdate() {
  FUpdateCount = std::max(FUpdateCount - 1, 0);
  Changed(0);
}

void TVarnTrayIcon::TaskbarCreated() {
  if (FWanted) FShown = Add();
}

bool TVarnTrayIcon::Add() {
  if (!Notify(NIM_ADD, AllParts)) return false;
  FChanged = 0;  // all of it has just been told
  // The newer callback: the keyboard reaches the icon too, and the shell keeps the tip for
  // screen readers without showing it over the program's own.
  Notify(NIM_SETVERSION, 0);
  return true;
}

void TVarnTrayIcon::Changed(UINT parts) {
  FChanged |= parts;
  if (FUpdateCount > 0 || !FShown || FChanged == 0) return;
  // Only what changed: a new icon is copied into the shell's process, a new tip is not.
  Notify(NIM_MODIFY, std::exchange(FChanged, 0));
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

bool TVarnTrayIcon::Notify(DWORD request, UINT parts) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof(data);
  data.hWnd = FOwner;
  data.uID = FId;
  data.uFlags = parts;
  data.uCallbackMessage = FCallbackMessage;
  data.hIcon = FIcon.get();
  data.uVersion = NOTIFYICON_VERSION_4;  // read by NIM_SETVERSION only
  const std::wstring tip = FTip.substr(0, std::size(data.szTip) - 1);
  std::copy(tip.begin(), tip.end(), data.szTip);
  return Shell_NotifyIconW(request, &data) != FALSE;
}
