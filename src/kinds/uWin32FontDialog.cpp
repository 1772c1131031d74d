#include "kinds/uWin32FontDialog.h"

#include <commdlg.h>

#include <cmath>
#include <cwchar>

#include "support/uWin32Tools.h"
#include "support/uWinText.h"

bool ExecuteFontDialog(HWND owner, TFontOptions& options) {
  LOGFONTW font{};
  // Points as the dialog's own window shows them, on its owner's monitor.
  const int ppi = WindowDpi(owner);
  font.lfHeight = -static_cast<LONG>(std::lround(options.Size * static_cast<double>(ppi) / 72.0));
  font.lfWeight = options.Style.bold ? FW_BOLD : FW_NORMAL;
  font.lfItalic = options.Style.italic;
  font.lfCharSet = static_cast<BYTE>(options.CharSet);
  const std::wstring face = Utf8ToWide(options.FontName);
  wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  CHOOSEFONTW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = owner;
  choose.lpLogFont = &font;
  choose.Flags = CF_SCREENFONTS | CF_FORCEFONTEXIST | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontW(&choose)) return false;
  options.FontName = WideToUtf8(font.lfFaceName);
  options.CharSet = font.lfCharSet;
  // From the chosen height rather than the dialog's point size, which not
  // every implementation of the dialog fills in.
  const LONG height = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
  options.Size = static_cast<std::int32_t>(std::lround(height * 72.0 / ppi));
  options.Style.bold = font.lfWeight >= FW_BOLD;
  options.Style.italic = font.lfItalic != 0;
  return true;
}
