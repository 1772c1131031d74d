#include "support/uWin32Graphics.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <exception>
#include <optional>

#include "support/uCustomColors.h"
#include "support/uGdiCanvas.h"
#include "support/uGraphicTools.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"

static_assert(sizeof(COLORREF) == sizeof(TColor));

namespace {

// A top-down 32-bit DIB section holding the pixels of bitmap, selected into no DC.
TUniqueBitmap DetachedCopy(TGdiBitmap& bitmap) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bitmap.Width();
  info.bmiHeader.biHeight = -bitmap.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TUniqueBitmap copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!copy) return {};
  // 32-bit rows need no padding, so the rows of both lie back to back.
  std::memcpy(bits, bitmap.ScanLine(0),
              static_cast<std::size_t>(bitmap.Width()) * bitmap.Height() * sizeof(std::uint32_t));
  return copy;
}

// The glyph blended with colour, mask pixels kept.
TUniqueBitmap BlendedCopy(HBITMAP glyph, TColor colour) {
  BITMAP size{};
  if (!GetObjectW(glyph, sizeof(size), &size) || size.bmWidth <= 0 || size.bmHeight <= 0) return {};
  try {
    TGdiBitmap copy;
    copy.SetSize(size.bmWidth, size.bmHeight);
    {
      TUniqueMemoryDC source(CreateCompatibleDC(nullptr));
      if (!source) return {};
      TSelectObject selected(source.get(), glyph);
      if (!BitBlt(copy.DC(), 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY))
        return {};
    }
    BlendBitmap(copy, colour);
    // The image list selects what it is given into a DC of its own, which
    // fails for a bitmap still selected into the copy's DC.
    return DetachedCopy(copy);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

namespace {

// The variable-pitch stock font's description, made bold.
std::optional<LOGFONTW> BoldStockDescription() {
  LOGFONTW description{};
  if (GetObjectW(GetStockObject(ANSI_VAR_FONT), sizeof(description), &description) == 0)
    return std::nullopt;
  description.lfWeight = FW_BOLD;
  return description;
}

}  // namespace

TFontRef CreateBoldFont() {
  const auto stock = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  const std::optional<LOGFONTW> description = BoldStockDescription();
  if (!stock || !description) return TFontRef(stock);
  TUniqueFont bold(CreateFontIndirectW(&*description));
  if (!bold) return TFontRef(stock);
  return TFontRef(std::move(bold));
}

TFontSpec BoldMenuFontSpec(int dpi) {
  NONCLIENTMETRICSW metrics{};
  std::optional<LOGFONTW> description;
  if (NonClientMetricsForDpi(metrics, dpi))
    description = metrics.lfMenuFont;
  else
    description = BoldStockDescription();
  TFontSpec spec;
  spec.bold = true;
  if (description) {
    spec.name = WideToUtf8(description->lfFaceName);
    spec.height = description->lfHeight;
    spec.charSet = description->lfCharSet;
  }
  return spec;
}

TUniqueIcon LoadProgramIcon(bool small) {
  return TUniqueIcon(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), ProgramIconName, IMAGE_ICON,
                                    GetSystemMetrics(small ? SM_CXSMICON : SM_CXICON),
                                    GetSystemMetrics(small ? SM_CYSMICON : SM_CYICON), 0)));
}

int ScreenCaps(int index) {
  TWindowDC screen(nullptr);
  return screen.get() ? GetDeviceCaps(screen.get(), index) : 0;
}

bool AddGlyph(HIMAGELIST list, const wchar_t* resourceName, HIMAGELIST disabledList) {
  // A DIB section keeps the resource's exact colours whatever the screen's depth.
  TUniqueBitmap glyph(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), resourceName,
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!glyph) return false;
  // Adding masked turns the mask pixels of the source black, so the greyed
  // copy has to be taken before.
  TUniqueBitmap greyed;
  if (disabledList) {
    greyed = BlendedCopy(glyph.get(), GetSysColor(COLOR_BTNFACE));
    if (!greyed) return false;
  }
  const int index = ImageList_AddMasked(list, glyph.get(), clGlyphMask);
  if (index < 0) return false;
  if (disabledList && ImageList_AddMasked(disabledList, greyed.get(), clGlyphMask) < 0) {
    // Toolbars index both lists alike; keep them in step.
    ImageList_Remove(list, index);
    return false;
  }
  return true;
}

TUniqueImageList LoadToolGlyphs() {
  // A screen of few colours takes the 16-colour strip, drawn at 16 pixels only.
  const bool deep = ScreenCaps(BITSPIXEL) * ScreenCaps(PLANES) >= 9;
  const int dpi = deep ? ScreenCaps(LOGPIXELSY) : 96;
  const int size = dpi < 144 ? 16 : dpi < 192 ? 24 : 32;
  const wchar_t* name = !deep        ? L"IL_TOOLBAR_ENABLED_0"
                        : size == 16 ? L"IL_TOOLBAR_ENABLED_1"
                        : size == 24 ? L"IL_TOOLBAR_ENABLED_1_24"
                                     : L"IL_TOOLBAR_ENABLED_1_32";
  TUniqueImageList list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 10, 0));
  if (!list || !AddGlyph(list.get(), name)) return {};
  return list;
}

bool PickColor(HWND owner, std::vector<std::string>& customColors, TColor& colour) {
  TCustomColors custom = CustomColorsFromList(customColors);
  COLORREF dialogColors[CustomColorCount];
  std::copy(custom.begin(), custom.end(), dialogColors);

  CHOOSECOLORW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.rgbResult = colour & 0xFFFFFF;
  dialog.lpCustColors = dialogColors;
  dialog.Flags = CC_FULLOPEN | CC_ANYCOLOR | CC_RGBINIT;
  const bool chosen = ChooseColorW(&dialog) != FALSE;

  // The user may have edited the custom colours even when cancelling.
  std::copy(std::begin(dialogColors), std::end(dialogColors), custom.begin());
  customColors = CustomColorsToList(custom);
  if (!chosen) return false;
  colour = dialog.rgbResult & 0xFFFFFF;
  AddRecentCustomColor(customColors, colour);
  return true;
}

bool PickButtonColor(HWND owner, std::vector<std::string>& customColors,
                     TColorButtonValue& button) {
  TColor colour = button.ColorValue();
  if (!PickColor(owner, customColors, colour)) return false;
  button.SetColorValue(FixColor(colour));
  return true;
}
