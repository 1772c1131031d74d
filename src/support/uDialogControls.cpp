#include "support/uDialogControls.h"

#include <algorithm>
#include <vector>

#include "support/uTools.h"
#include "support/uWin32Graphics.h"
#include "support/uWin32Platform.h"
#include "support/uWin32Tools.h"
#include "support/uWinHandles.h"
#include "support/uWinText.h"

namespace {

LRESULT Send(HWND dialog, int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendDlgItemMessageW(dialog, id, msg, wParam, lParam);
}

// The hot key box keeps its modifiers in the high byte of the value.
constexpr unsigned kHotKeyShift = HOTKEYF_SHIFT, kHotKeyControl = HOTKEYF_CONTROL,
                   kHotKeyAlt = HOTKEYF_ALT;

}  // namespace

TUniqueFont CreateBoldDialogFont(HWND dialog) {
  LOGFONTW font{};
  const auto current = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  if (!current || !GetObjectW(current, sizeof(font), &font)) return {};
  font.lfWeight = FW_BOLD;
  return TUniqueFont(CreateFontIndirectW(&font));
}

TGlyphButtons::TGlyphButtons(HWND dialog) : FGlyphs(LoadToolGlyphs()) {
  FHints = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, nullptr, nullptr);
}

void TGlyphButtons::SetGlyph(HWND button, int image) {
  if (!FGlyphs) return;
  FIcons.emplace_back(ImageList_GetIcon(FGlyphs.get(), image, ILD_NORMAL));
  SendMessageW(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(FIcons.back().get()));
}

void TGlyphButtons::SetHint(HWND button, const std::string& hint) {
  if (!FHints) return;
  std::wstring wide = Utf8ToWide(hint);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(button);
  tool.uId = reinterpret_cast<UINT_PTR>(button);
  SendMessageW(FHints, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = wide.data();
  SendMessageW(FHints, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::string ControlText(HWND dialog, int id) {
  const HWND control = GetDlgItem(dialog, id);
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return WideToUtf8(text);
}

void SetControlText(HWND dialog, int id, const std::string& text) {
  SetDlgItemTextW(dialog, id, Utf8ToWide(text).c_str());
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void SetChecked(HWND dialog, int id, bool checked) {
  CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableControl(HWND dialog, int id, bool enabled) {
  EnableWindow(GetDlgItem(dialog, id), enabled);
}

void ShowListCheckBoxes(HWND dialog, int id) {
  Send(dialog, id, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
       LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
}

void AddListColumn(HWND dialog, int id, const std::string& caption, int width) {
  std::wstring text = Utf8ToWide(caption);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = text.data();
  column.cx = ScaledForWindow(GetDlgItem(dialog, id), width);
  const HWND header = reinterpret_cast<HWND>(Send(dialog, id, LVM_GETHEADER));
  const int count = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  Send(dialog, id, LVM_INSERTCOLUMNW, count, reinterpret_cast<LPARAM>(&column));
}

std::wstring HeaderItemText(HWND header, int index) {
  wchar_t text[256] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT;
  item.pszText = text;
  item.cchTextMax = 256;
  Header_GetItem(header, index, &item);
  return text;
}

void FitListColumns(HWND dialog, int id, int stretch) {
  const HWND list = GetDlgItem(dialog, id);
  const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int count = header ? Header_GetItemCount(header) : 0;
  std::vector<int> widths;
  for (int column = 0; column < count; ++column) {
    ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE);
    // A heading keeps three edges of room on either side.
    const std::wstring heading = HeaderItemText(header, column);
    widths.push_back(
        std::max(ListView_GetColumnWidth(list, column),
                 ListView_GetStringWidth(list, heading.c_str()) + 6 * GetSystemMetrics(SM_CXEDGE)));
  }
  RECT client{};
  GetClientRect(list, &client);
  int others = 0;
  for (int column = 0; column < count; ++column) {
    if (column == stretch) continue;
    ListView_SetColumnWidth(list, column, widths[column]);
    others += widths[column];
  }
  if (stretch >= 0 && stretch < count)
    ListView_SetColumnWidth(list, stretch, std::max<int>(widths[stretch], client.right - others));
}

int AddListRow(HWND dialog, int id, const std::vector<std::string>& texts) {
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = ListRowCount(dialog, id);
  std::wstring first = Utf8ToWide(texts.empty() ? std::string() : texts.front());
  item.pszText = first.data();
  const int row =
      static_cast<int>(Send(dialog, id, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  for (std::size_t column = 1; row >= 0 && column < texts.size(); ++column)
    SetListCellText(dialog, id, row, static_cast<int>(column), texts[column]);
  return row;
}

void SetListCellText(HWND dialog, int id, int row, int column, const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  LVITEMW cell{};
  cell.iSubItem = column;
  cell.pszText = wide.data();
  Send(dialog, id, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&cell));
}

int ListRowCount(HWND dialog, int id) {
  return static_cast<int>(Send(dialog, id, LVM_GETITEMCOUNT));
}

std::string ListRowText(HWND dialog, int id, int row, int column) {
  wchar_t buffer[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 512;
  Send(dialog, id, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return WideToUtf8(buffer);
}

// The check box is the item's state image: 1 unchecked, 2 checked.
bool IsListRowChecked(HWND dialog, int id, int row) {
  const auto state =
      static_cast<UINT>(Send(dialog, id, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;
}

void SetListRowChecked(HWND dialog, int id, int row, bool checked) {
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  Send(dialog, id, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int SelectedListRow(HWND dialog, int id) {
  return static_cast<int>(
      Send(dialog, id, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void SelectListRow(HWND dialog, int id, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  Send(dialog, id, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  Send(dialog, id, LVM_ENSUREVISIBLE, row, FALSE);
}

HTREEITEM AddTreeItem(HWND dialog, int id, HTREEITEM parent, const std::string& text, LPARAM data) {
  std::wstring wide = Utf8ToWide(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = wide.data();
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(
      Send(dialog, id, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void ExpandAllTreeItems(HWND dialog, int id) {
  // Depth first: every item with children is expanded.
  std::vector<HTREEITEM> pending{
      reinterpret_cast<HTREEITEM>(Send(dialog, id, TVM_GETNEXTITEM, TVGN_ROOT))};
  while (!pending.empty()) {
    const HTREEITEM item = pending.back();
    pending.pop_back();
    if (!item) continue;
    Send(dialog, id, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    pending.push_back(reinterpret_cast<HTREEITEM>(
        Send(dialog, id, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))));
    pending.push_back(reinterpret_cast<HTREEITEM>(
        Send(dialog, id, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))));
  }
}

void SelectTreeItem(HWND dialog, int id, HTREEITEM item) {
  Send(dialog, id, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

LPARAM SelectedTreeItemData(HWND dialog, int id) {
  TVITEMW item{};
  item.mask = TVIF_PARAM;
  item.hItem = reinterpret_cast<HTREEITEM>(Send(dialog, id, TVM_GETNEXTITEM, TVGN_CARET));
  if (!item.hItem || !Send(dialog, id, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
  return item.lParam;
}

void MakeThinTrackBar(HWND dialog, int id) {
  const HWND bar = GetDlgItem(dialog, id);
  SetWindowLongPtrW(bar, GWL_STYLE, GetWindowLongPtrW(bar, GWL_STYLE) & ~TBS_ENABLESELRANGE);
  SetWindowPos(bar, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void SetTrackBarRange(HWND dialog, int id, int minimum, int maximum) {
  Send(dialog, id, TBM_SETRANGEMIN, FALSE, minimum);
  Send(dialog, id, TBM_SETRANGEMAX, TRUE, maximum);
}

int TrackBarPosition(HWND dialog, int id) { return static_cast<int>(Send(dialog, id, TBM_GETPOS)); }

void SetTrackBarPosition(HWND dialog, int id, int position) {
  Send(dialog, id, TBM_SETPOS, TRUE, position);
}

int AddComboItem(HWND dialog, int id, const std::string& text) {
  return static_cast<int>(
      Send(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str())));
}

int ComboSelection(HWND dialog, int id) { return static_cast<int>(Send(dialog, id, CB_GETCURSEL)); }

void SetComboSelection(HWND dialog, int id, int index) { Send(dialog, id, CB_SETCURSEL, index); }

void FitComboDropDown(HWND dialog, int id) {
  const HWND combo = GetDlgItem(dialog, id);
  const TWindowDC dc(combo);
  const TSelectObject font(dc.get(), reinterpret_cast<HGDIOBJ>(Send(dialog, id, WM_GETFONT)));
  const int count = static_cast<int>(Send(dialog, id, CB_GETCOUNT));
  int widest = 0;
  for (int item = 0; item < count; ++item) {
    std::wstring text(static_cast<std::size_t>(Send(dialog, id, CB_GETLBTEXTLEN, item)), L'\0');
    Send(dialog, id, CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(text.data()));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    widest = std::max(widest, static_cast<int>(size.cx));
  }
  // Room for the list's scroll bar and its edges besides the text.
  const int room = GetSystemMetrics(SM_CXVSCROLL) + 4 * GetSystemMetrics(SM_CXEDGE);
  Send(dialog, id, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + room));
}

TSystemTime DateTimePickerValue(HWND dialog, int id) {
  SYSTEMTIME st{};
  Send(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
  return FromSYSTEMTIME(st);
}

void SetDateTimePickerValue(HWND dialog, int id, const TSystemTime& value) {
  const SYSTEMTIME st = ToSYSTEMTIME(value);
  Send(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
}

std::uint32_t HotKeyValue(HWND dialog, int id) {
  const auto value = static_cast<unsigned>(Send(dialog, id, HKM_GETHOTKEY));
  const unsigned modifiers = (value >> 8) & 0xFF;
  unsigned shift = 0;
  if (modifiers & kHotKeyShift) shift |= ssShift;
  if (modifiers & kHotKeyControl) shift |= ssCtrl;
  if (modifiers & kHotKeyAlt) shift |= ssAlt;
  return MakeShortCut({value & 0xFF, shift});
}

void SetHotKeyValue(HWND dialog, int id, std::uint32_t shortcut) {
  const TShortCutParts parts = SplitShortCut(shortcut);
  unsigned modifiers = 0;
  if (parts.shift & ssShift) modifiers |= kHotKeyShift;
  if (parts.shift & ssCtrl) modifiers |= kHotKeyControl;
  if (parts.shift & ssAlt) modifiers |= kHotKeyAlt;
  Send(dialog, id, HKM_SETHOTKEY, MAKEWORD(parts.key, modifiers));
}

void SetListRowData(HWND dialog, int id, int row, LPARAM data) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  item.lParam = data;
  Send(dialog, id, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

LPARAM ListRowData(HWND dialog, int id, int row) {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  return Send(dialog, id, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? item.lParam : 0;
}

void SetTabTexts(HWND dialog, int id, const std::vector<std::string>& texts) {
  const auto count = static_cast<std::size_t>(Send(dialog, id, TCM_GETITEMCOUNT));
  for (std::size_t i = 0; i < texts.size(); ++i) {
    std::wstring text = Utf8ToWide(texts[i]);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    Send(dialog, id, i < count ? TCM_SETITEMW : TCM_INSERTITEMW, i,
         reinterpret_cast<LPARAM>(&item));
  }
}

void SelectNextTab(HWND tabs, int step) {
  const int count = TabCtrl_GetItemCount(tabs);
  if (count <= 0) return;
  const int current = std::max(TabCtrl_GetCurSel(tabs), 0);
  TabCtrl_SetCurSel(tabs, ((current + step) % count + count) % count);
  NMHDR header{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(GetParent(tabs), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  const HWND focus = GetFocus();
  if (focus && !IsWindowVisible(focus)) SetFocus(tabs);
}
