#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/uDateTime.h"
#include "support/uWinHandles.h"

// The dialog's own font made bold, for headings; empty when it cannot be made.
TUniqueFont CreateBoldDialogFont(HWND dialog);

// Small icon buttons with the pictures of the program's tool bar image list,
// each with a hint that shows when the mouse rests on it.
class TGlyphButtons {
 public:
  explicit TGlyphButtons(HWND dialog);
  TGlyphButtons(const TGlyphButtons&) = delete;
  TGlyphButtons& operator=(const TGlyphButtons&) = delete;
  // Gives the button the picture image of the list (none when the list could not be read).
  void SetGlyph(HWND button, int image);
  // Gives the button its hint, replacing one it had.
  void SetHint(HWND button, const std::string& hint);

 private:
  TUniqueImageList FGlyphs;
  HWND FHints = nullptr;  // goes with the dialog
  std::vector<TUniqueIcon> FIcons;
};

// The controls of a dialog, reached by identifier; text is UTF-8.

std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);
void EnableControl(HWND dialog, int id, bool enabled);

// List views in report style; rows have check boxes when the list was given
// the check-box style.
void ShowListCheckBoxes(HWND dialog, int id);
// width: pixels at 96 dots per inch, grown with the screen's text size.
void AddListColumn(HWND dialog, int id, const std::string& caption, int width);
// The text of a header control's item (a list view's column heading).
std::wstring HeaderItemText(HWND header, int index);
// Every column as wide as its heading and its texts, except stretch, which takes the room the
// others leave (and at least its own).
void FitListColumns(HWND dialog, int id, int stretch);
int AddListRow(HWND dialog, int id, const std::vector<std::string>& texts);
void SetListCellText(HWND dialog, int id, int row, int column, const std::string& text);
int ListRowCount(HWND dialog, int id);
std::string ListRowText(HWND dialog, int id, int row, int column);
bool IsListRowChecked(HWND dialog, int id, int row);
void SetListRowChecked(HWND dialog, int id, int row, bool checked);
// The selected row, or -1.
int SelectedListRow(HWND dialog, int id);
void SelectListRow(HWND dialog, int id, int row);

// Tab controls: the tabs take these texts, added where the control has fewer.
void SetTabTexts(HWND dialog, int id, const std::vector<std::string>& texts);
// Selects the tab step places on (round the ends), telling the parent as a click would.
// Focus on a control that the switch hid goes to the tab control.
void SelectNextTab(HWND tabs, int step);

// Tree views: items carry a number of the caller's choosing.
HTREEITEM AddTreeItem(HWND dialog, int id, HTREEITEM parent, const std::string& text, LPARAM data);
void ExpandAllTreeItems(HWND dialog, int id);
void SelectTreeItem(HWND dialog, int id, HTREEITEM item);
// The number of the selected item, or -1 when none is selected.
LPARAM SelectedTreeItemData(HWND dialog, int id);

void SetTrackBarRange(HWND dialog, int id, int minimum, int maximum);
// Without the selection range the channel is drawn slim.
void MakeThinTrackBar(HWND dialog, int id);
int TrackBarPosition(HWND dialog, int id);
void SetTrackBarPosition(HWND dialog, int id, int position);

int AddComboItem(HWND dialog, int id, const std::string& text);
// The selected item's index, or -1.
int ComboSelection(HWND dialog, int id);
void SetComboSelection(HWND dialog, int id, int index);
// Widens the drop-down list to its widest item, so long items are read whole.
void FitComboDropDown(HWND dialog, int id);

TSystemTime DateTimePickerValue(HWND dialog, int id);
void SetDateTimePickerValue(HWND dialog, int id, const TSystemTime& value);

// Hot key boxes, in the stored shortcut encoding (see SplitShortCut).
std::uint32_t HotKeyValue(HWND dialog, int id);
void SetHotKeyValue(HWND dialog, int id, std::uint32_t shortcut);

// Rows of a list view carry a number of the caller's choosing.
void SetListRowData(HWND dialog, int id, int row, LPARAM data);
LPARAM ListRowData(HWND dialog, int id, int row);
