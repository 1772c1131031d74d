#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>
#include <vector>

#include "support/uWinHandles.h"

// The program's icon in the notification area. Mouse and keyboard actions on it
// reach the owner as the callback message, the action in the low word of its
// lParam; changes inside an update bracket reach the shell once, at its end.
class TVarnTrayIcon {
 public:
  TVarnTrayIcon(HWND owner, UINT callbackMessage, UINT id);
  ~TVarnTrayIcon();
  TVarnTrayIcon(const TVarnTrayIcon&) = delete;
  TVarnTrayIcon& operator=(const TVarnTrayIcon&) = delete;

  void AddIconName(const std::wstring& name);
  void SetIconIndex(int index);
  // Shown only when the shell takes the icon.
  void SetVisible(bool value);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  // What a screen reader says of the icon; at most 127 characters reach the shell.
  void SetTip(const std::wstring& tip);
  bool Visible() const { return FShown; }
  // The taskbar was made anew (the shell restarted, or it came up after this
  // program) and forgot every icon: an icon that is to be shown is added again,
  // also one the shell refused before, or the user loses the way in.
  void TaskbarCreated();

 private:
  static constexpr UINT AllParts = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  bool Add();
  bool Notify(DWORD request, UINT parts);
  // Tells the shell of the parts changed now and before, unless an update bracket is open.
  void Changed(UINT parts);
  void ReloadIcon();

  HWND FOwner;
  UINT FId;
  UINT FCallbackMessage;
  int FUpdateCount = 0;
  std::wstring FTip;
  // Parts changed since the shell was last told.
  UINT FChanged = 0;
  bool FShown = false;
  // What the last SetVisible asked for.
  bool FWanted = false;
  std::vector<std::wstring> FIconNames;
  int FIconIndex = -1;
  TUniqueIcon FIcon;
};
