#pragma once

#include <windows.h>

#include <string>

#include "support/uDialogBase.h"
#include "support/uVarnLabel.h"
#include "support/uWinHandles.h"

// The program's name, version and terms, with a link to its home page.
class TdlgAbout : public TDialogBase {
 public:
  static constexpr int TemplateId = 2189;
  static constexpr int InfoId = 2190;
  static constexpr int WebInfoId = 2191;
  static constexpr int LinkId = 2192;
  static constexpr int CloseId = 2194;
  explicit TdlgAbout(const wchar_t* homePage) : TDialogBase(TemplateId), FHomePage(homePage) {}

  const TVarnLabel& Link() const { return FLink; }

 protected:
  bool OnInitDialog() override;
  INT_PTR DlgProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int notification) override;

 private:
  void FormPaint();
  void DrawBannerText(HDC dc, const std::string& text, const RECT& bounds, int height, bool bold,
                      COLORREF colour, UINT format) const;
  // Pixels at 96 dpi grown to the box's DPI.
  int Scaled(int pixels) const;
  RECT Scaled(const RECT& r) const;
  const wchar_t* FHomePage;
  TVarnLabel FLink;
  TUniqueBrush FBackground;
  HBITMAP FBanner = nullptr;  // a shared resource bitmap, not ours to delete
};
