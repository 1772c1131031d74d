#include "support/uGdiCanvas.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "support/uGraphicTools.h"
#include "support/uWinText.h"

static_assert(TextFormat::Center == DT_CENTER && TextFormat::Right == DT_RIGHT &&
              TextFormat::VCenter == DT_VCENTER && TextFormat::Bottom == DT_BOTTOM &&
              TextFormat::WordBreak == DT_WORDBREAK && TextFormat::SingleLine == DT_SINGLELINE &&
              TextFormat::ExpandTabs == DT_EXPANDTABS && TextFormat::NoClip == DT_NOCLIP &&
              TextFormat::CalcRect == DT_CALCRECT && TextFormat::NoPrefix == DT_NOPREFIX);
static_assert(static_cast<int>(TFontQuality::NonAntialiased) == NONANTIALIASED_QUALITY);

namespace {

RECT ToRECT(const TRect& r) { return {r.left, r.top, r.right, r.bottom}; }

std::vector<POINT> ToPOINTs(std::span<const TPoint> points) {
  std::vector<POINT> out(points.size());
  std::transform(points.begin(), points.end(), out.begin(), [](const TPoint& p) {
    return POINT{p.x, p.y};
  });
  return out;
}

}  // namespace

TGdiCanvas::TGdiCanvas(HDC dc)
    : FDC(dc),
      FOriginalPen(GetCurrentObject(dc, OBJ_PEN)),
      FOriginalBrush(GetCurrentObject(dc, OBJ_BRUSH)),
      FOriginalFont(GetCurrentObject(dc, OBJ_FONT)) {
  SetPen(FPenColor, FPenWidth, FPenStyle);
  SetBrush(FBrushColor, FBrushStyle);
  SetFont(FFontSpec);
}

TGdiCanvas::~TGdiCanvas() {
  // Deselect ours before the wrappers delete them.
  SelectObject(FDC, FOriginalPen);
  SelectObject(FDC, FOriginalBrush);
  SelectObject(FDC, FOriginalFont);
}

void TGdiCanvas::SetFont(const TFontSpec& font) {
  constexpr std::size_t kKeptFonts = 4;
  const auto kept =
      std::find_if(FFonts.begin(), FFonts.end(), [&](const auto& f) { return f.first == font; });
  if (kept == FFonts.begin() && kept != FFonts.end()) return;
  if (kept != FFonts.end()) {
    std::rotate(FFonts.begin(), kept, kept + 1);
    SelectObject(FDC, FFonts.front().second.get());
    FFontSpec = font;
    return;
  }
  LOGFONTW lf{};
  lf.lfHeight = font.height;
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic;
  lf.lfUnderline = font.underline;
  lf.lfStrikeOut = font.strikeOut;
  lf.lfCharSet = static_cast<BYTE>(font.charSet);
  lf.lfQuality = static_cast<BYTE>(font.quality);
  const std::wstring face = Utf8ToWide(font.name);
  wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  TUniqueFont created(CreateFontIndirectW(&lf));
  if (!created) return;
  SelectObject(FDC, created.get());
  FFonts.insert(FFonts.begin(), {font, std::move(created)});
  if (FFonts.size() > kKeptFonts) FFonts.pop_back();  // never the one in the DC
  FFontSpec = font;
}

void TGdiCanvas::SetPen(TColor c, int width, TPenStyle style) {
  if (FPen && c == FPenColor && width == FPenWidth && style == FPenStyle) return;
  const int gdiStyle = style == TPenStyle::Clear         ? PS_NULL
                       : style == TPenStyle::InsideFrame ? PS_INSIDEFRAME
                                                         : PS_SOLID;
  TUniquePen created(CreatePen(gdiStyle, width, c));
  if (!created) return;
  SelectObject(FDC, created.get());
  FPen = std::move(created);
  FPenColor = c;
  FPenWidth = width;
  FPenStyle = style;
}

void TGdiCanvas::SetBrush(TColor c, TBrushStyle style) {
  if (style == TBrushStyle::Solid && FBrush && FBrushStyle == style && FBrushColor == c) return;
  FBrushColor = c;
  FBrushStyle = style;
  if (style == TBrushStyle::Clear) {
    SelectObject(FDC, GetStockObject(NULL_BRUSH));
    FBrush.reset();
    return;
  }
  TUniqueBrush created(CreateSolidBrush(c));
  if (!created) return;
  SelectObject(FDC, created.get());
  FBrush = std::move(created);
}

void TGdiCanvas::FillRect(const TRect& r) {
  if (FBrushStyle == TBrushStyle::Clear || !FBrush) return;
  const RECT rc = ToRECT(r);
  ::FillRect(FDC, &rc, FBrush.get());
}

void TGdiCanvas::Rectangle(const TRect& r) { ::Rectangle(FDC, r.left, r.top, r.right, r.bottom); }

void TGdiCanvas::Ellipse(const TRect& r) { ::Ellipse(FDC, r.left, r.top, r.right, r.bottom); }

void TGdiCanvas::Polygon(std::span<const TPoint> points) {
  const auto pts = ToPOINTs(points);
  ::Polygon(FDC, pts.data(), static_cast<int>(pts.size()));
}

void TGdiCanvas::Polyline(std::span<const TPoint> points) {
  const auto pts = ToPOINTs(points);
  ::Polyline(FDC, pts.data(), static_cast<int>(pts.size()));
}

int TGdiCanvas::DrawText(const std::string& text, TRect& r, unsigned format) {
  std::wstring wide = Utf8ToWide(text);
  RECT rc = ToRECT(r);
  SetTextColor(FDC, FFontColor);
  if (FBrushStyle == TBrushStyle::Clear) {
    SetBkMode(FDC, TRANSPARENT);
  } else {
    SetBkMode(FDC, OPAQUE);
    SetBkColor(FDC, FBrushColor);
  }
  const int height =
      DrawTextExW(FDC, wide.data(), static_cast<int>(wide.size()), &rc, format, nullptr);
  if (format & DT_CALCRECT) r = {rc.left, rc.top, rc.right, rc.bottom};
  return height;
}

TGdiBitmap::TGdiBitmap() : FDC(CreateCompatibleDC(nullptr)) {
  if (!FDC) throw std::runtime_error("CreateCompatibleDC failed");
  FCanvas = std::make_unique<TGdiCanvas>(FDC.get());
}

TGdiBitmap::~TGdiBitmap() {
  FCanvas.reset();
  if (FOriginalBitmap) SelectObject(FDC.get(), FOriginalBitmap);
}

void TGdiBitmap::SetSize(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TUniqueBitmap created(CreateDIBSection(FDC.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!created) throw std::runtime_error("CreateDIBSection failed");
  const HGDIOBJ previous = SelectObject(FDC.get(), created.get());
  if (!FOriginalBitmap) FOriginalBitmap = previous;
  FBitmap = std::move(created);
  FBits = static_cast<std::uint32_t*>(bits);
  FWidth = width;
  FHeight = height;
}

const std::uint32_t* TGdiBitmap::ScanLine(int y) const {
  GdiFlush();  // GDI may still be drawing into the section
  return FBits + static_cast<std::size_t>(y) * FWidth;
}

std::uint32_t* TGdiBitmap::ScanLine(int y) {
  GdiFlush();
  return FBits + static_cast<std::size_t>(y) * FWidth;
}

TUniqueRegion CreateRegionFromRuns(const std::vector<TRect>& rowRuns) {
  if (rowRuns.empty()) return TUniqueRegion(CreateRectRgn(0, 0, 0, 0));
  const std::vector<TRect> runs = MergeIdenticalRows(rowRuns);
  std::vector<std::byte> buffer(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  RGNDATAHEADER& header = data->rdh;
  header.dwSize = sizeof(RGNDATAHEADER);
  header.iType = RDH_RECTANGLES;
  header.nCount = static_cast<DWORD>(runs.size());
  header.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  TRect bound{runs.front().left, runs.front().top, runs.front().right, runs.back().bottom};
  auto* rects = reinterpret_cast<RECT*>(buffer.data() + sizeof(RGNDATAHEADER));
  for (std::size_t i = 0; i < runs.size(); ++i) {
    rects[i] = ToRECT(runs[i]);
    bound.left = std::min(bound.left, runs[i].left);
    bound.right = std::max(bound.right, runs[i].right);
  }
  header.rcBound = ToRECT(bound);
  return TUniqueRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}
