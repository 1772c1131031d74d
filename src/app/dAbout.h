#pragma once

#include <windows.h>

#include <string>

#include "resources/uResourceIds.h"
#include "support/uDialogBase.h"
#include "support/uVarnLabel.h"
#include "support/uWinHandles.h"

// The program's name, version and terms, with a link to its home page.
class TdlgAbout : public TDialogBase {
 public:
  static constexpr int TemplateId = IDD_ABOUT;
  static constexpr int InfoId = IDC_ABOUT_INFO;
  static constexpr int WebInfoId = IDC_ABOUT_WEB_INFO;
  static constexpr int LinkId = IDC_ABOUT_LINK;
  static constexpr int HelpId = IDC_ABOUT_HELP;
  static constexpr int CloseId = IDC_ABOUT_CLOSE;
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
  TVarnLabel FHelpLink;
  TUniqueBrush FBackground;
  HBITMAP FBanner = nullptr;  // a shared resource bitmap, not ours to delete
};
