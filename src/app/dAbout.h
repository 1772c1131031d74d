#pragma once

#include <windows.h>

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
  const wchar_t* FHomePage;
  TVarnLabel FLink;
  TUniqueBrush FBackground;
  HBITMAP FBanner = nullptr;  // a shared resource bitmap, not ours to delete
};
