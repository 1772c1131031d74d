#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "config/fPresetManager.h"
#include "config/uOptions.h"
#include "config/uVarnRegistry.h"
#include "events/fEvent.h"
#include "events/uEventPresets.h"
#include "events/uEvents.h"
#include "events/uTowerClock.h"
#include "prefs/fDisplayPreferences.h"
#include "prefs/fPreferences.h"
#include "support/uDialogControls.h"
#include "support/uHelp.h"
#include "support/uTestPlatform.h"
#include "support/uTools.h"
#include "support/uWin32Tools.h"
#include "support/uWinText.h"
#include "win/uMainWindowTest.h"
#include "win/uModalSteps.h"
#include "win/uPumpMessages.h"

namespace {

using P = TfrmPreferences;

class PreferencesTest : public MainWindowTest {
 protected:
  TfrmPreferences& Open() {
    Send(WM_SECOND_INSTANCE);
    TfrmPreferences* window = Main().Preferences();
    if (!window) throw std::runtime_error("no preferences window");
    return *window;
  }
  HWND Window() { return Main().Preferences()->Handle(); }
  HWND C(int id) { return Main().Preferences()->Control(id); }
  HWND PageOf(int id) { return GetParent(C(id)); }
  void Command(int id, int notification = 0) {
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(id, notification), 0);
  }
  void ClickBox(int id) { SendMessageW(C(id), BM_CLICK, 0, 0); }
  int Rows(int list) { return ListRowCount(PageOf(list), list); }
  std::string Cell(int list, int row, int column) {
    return ListRowText(PageOf(list), list, row, column);
  }
  void CheckRow(int list, int row, bool checked) {
    SetListRowChecked(PageOf(list), list, row, checked);
  }
  void Notify(int id, NMHDR& header) {
    header.hwndFrom = C(id);
    header.idFrom = static_cast<UINT_PTR>(id);
    SendMessageW(PageOf(id), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  }
  void SetPicker(int id, WORD hour, WORD minute) {
    SYSTEMTIME t{2026, 12, 0, 6, hour, minute, 0, 0};
    SendMessageW(C(id), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    NMDATETIMECHANGE change{};
    change.nmhdr.code = DTN_DATETIMECHANGE;
    change.st = t;
    Notify(id, change.nmhdr);
  }
  std::pair<int, int> Picker(int id) {
    SYSTEMTIME t{};
    SendMessageW(C(id), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t));
    return {t.wHour, t.wMinute};
  }
  // The question box's answer, as the next modal window comes.
  void Answer(int button, int* asked = nullptr) {
    AnswerModalWindows({[button, asked] {
      const HWND box = FindDialogWith(IDNO);
      if (!box) return false;
      if (asked) ++*asked;
      Click(box, button);
      return true;
    }});
  }
  TOptions& Options() { return quorvel->Options(); }
  // Replaces the edit's text as typing does.
  void Type(int id, const wchar_t* text) {
    SendMessageW(C(id), EM_SETSEL, 0, -1);
    SendMessageW(C(id), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  }
};

TEST_F(PreferencesTest, DisplaysEventsAndDelaysReachTheRegistryWhenTheWindowCloses) {
  // The shortcuts are let go while the window is open (to be typed there) and taken back after.
  Options().HK_ShowDisplays = 0x4000 | 0x8000 | VK_F11;  // Ctrl+Alt+F11
  TUniqueWindow other(
      CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  const auto shortcutTaken = [&] {
    if (!RegisterHotKey(other.get(), 9, MOD_CONTROL | MOD_ALT, VK_F11)) return true;
    UnregisterHotKey(other.get(), 9);
    return false;
  };
  Open();
  EXPECT_FALSE(shortcutTaken());
  EXPECT_FALSE(Main().IsIdle());
  ASSERT_EQ(Rows(P::DisplayListId), 2);
  EXPECT_EQ(Cell(P::DisplayListId, 0, 2), "yes");
  // One of each kind, from the add menu's items.
  // The new display's own window opens; the preferences window waits for it.
  int opened = 0;
  for (const int kind : {2010, 2011, 2013, 2018}) {
    Command(kind);
    if (TacDisplayPreferences* window = DisplayPreferencesOf(List()[List().Count() - 1])) {
      ++opened;
      EXPECT_FALSE(IsWindowEnabled(Window()));
      SendMessageW(window->Handle(), WM_COMMAND, TacDisplayPreferences::CloseId, 0);
    }
    EXPECT_TRUE(IsWindowEnabled(Window()));
  }
  EXPECT_EQ(opened, 4);
  ASSERT_EQ(List().Count(), 6u);
  const char* kinds[] = {"Digital clock", "Analog clock", "Countdown", "Stopwatch"};
  // Named apart from the two digital clocks already there.
  const char* names[] = {"Digital clock 3", "Analog clock", "Countdown", "Stopwatch"};
  for (int row = 2; row < 6; ++row) {
    EXPECT_EQ(Cell(P::DisplayListId, row, 0), kinds[row - 2]);
    EXPECT_EQ(Cell(P::DisplayListId, row, 1), names[row - 2]);
  }
  EXPECT_EQ(SelectedListRow(PageOf(P::DisplayListId), P::DisplayListId), 5);
  EXPECT_EQ(VisibleDisplays(), 6);

  SelectListRow(PageOf(P::DisplayListId), P::DisplayListId, 1);
  Command(P::SetPrimaryId);
  EXPECT_EQ(List().Primary, &List()[1]);
  EXPECT_EQ(Cell(P::DisplayListId, 1, 2), "yes");
  EXPECT_EQ(Cell(P::DisplayListId, 0, 2), "");
  Command(P::SetPrimaryId);
  // Back from a display's own window: shown again with its display's row selected.
  ShowWindow(Window(), SW_HIDE);
  SendMessageW(Window(), WM_DISPLAY_PREFERENCES_CLOSED, 0, 0);
  EXPECT_TRUE(IsWindowVisible(Window()));
  EXPECT_EQ(SelectedListRow(PageOf(P::DisplayListId), P::DisplayListId), 1);
  SelectListRow(PageOf(P::DisplayListId), P::DisplayListId, 0);
  Command(P::SetPrimaryId);
  ASSERT_EQ(List().Primary, &List()[0]);

  CheckRow(P::DisplayListId, 1, false);
  EXPECT_FALSE(List()[1].IsActive());
  CheckRow(P::DisplayListId, 1, true);
  EXPECT_TRUE(List()[1].IsVisible());

  // The primary goes after Yes; No keeps it.
  SelectListRow(PageOf(P::DisplayListId), P::DisplayListId, 0);
  int asked = 0;
  Answer(IDNO, &asked);
  Command(P::RemoveDisplayId);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(List().Count(), 6u);
  Answer(IDYES);
  Command(P::RemoveDisplayId);
  ASSERT_EQ(List().Count(), 5u);
  EXPECT_EQ(Rows(P::DisplayListId), 5);
  EXPECT_EQ(List().Primary, nullptr);

  AnswerModalWindows({[] {
    const HWND editor = FindDialogWith(TfrmEvent::OKId);
    if (!editor) return false;
    SetDlgItemTextW(editor, TfrmEvent::MessageId, L"Call home");
    Click(editor, TfrmEvent::RepeatOnceId + 1);  // daily
    Click(editor, TfrmEvent::OKId);
    return true;
  }});
  Command(P::AddEventId);
  ASSERT_EQ(quorvel->Events().Count(), 1u);
  EXPECT_EQ(Cell(P::EventListId, 0, 1), "Call home");
  EXPECT_EQ(Cell(P::EventListId, 0, 2), quorvel->Events()[0].Describe());

  const HWND track = C(P::AutoHideDelayId);
  SendMessageW(track, TBM_SETPOS, TRUE, 7);
  SendMessageW(GetParent(track), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0),
               reinterpret_cast<LPARAM>(track));
  EXPECT_EQ(ControlText(PageOf(P::AutoHideLabelId), P::AutoHideLabelId), "700 ms");
  EXPECT_EQ(Options().AutoHideInterval, 700);

  Command(P::CloseId);
  EXPECT_EQ(Main().Preferences(), nullptr);
  EXPECT_TRUE(Main().IsIdle());
  EXPECT_TRUE(shortcutTaken());
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II", false));
  EXPECT_EQ(reg.ReadInteger("AutoHideInterval"), 700);
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quorvel II\\Displays", false));
  EXPECT_EQ(reg.ReadInteger("Count"), 5);
  ASSERT_TRUE(reg.OpenKey("\\Software\\Quorvel II\\Events\\000", false));
  EXPECT_EQ(reg.ReadString("Message"), "Call home");
}

TEST_F(PreferencesTest, OptionControlsKeepTheirRules) {
  Options().AutoHideInterval = 250;
  // Each row holds one quarter's switch and sound, the quarter past first.
  Options().ChimeQuarterSound = "1.wav";
  Options().ChimeHalfSound = "2.wav";
  Options().ChimeThreeQuartersSound = "3.wav";
  Options().ChimeTopSound = "4.wav";
  Options().ChimeHalf = true;
  TEvent& done = quorvel->Events().Add();
  done.Message = "Old";
  done.State = TEvent::stDone;
  TEvent& earlier = quorvel->Events().Add();
  earlier.Message = "Earlier";
  earlier.SetTrigger(done.Trigger() - 1);
  Open();
  // A stored 250 shows as 200 ms and stays 250 until the slider moves.
  EXPECT_EQ(SendMessageW(C(P::AutoHideDelayId), TBM_GETPOS, 0, 0), 2);
  EXPECT_EQ(ControlText(PageOf(P::AutoHideLabelId), P::AutoHideLabelId), "200 ms");
  EXPECT_EQ(Options().AutoHideInterval, 250);

  // The stop follows a start moved past it and snaps back when moved before it.
  SetPicker(P::ChimeStopId, 9, 0);
  SetPicker(P::ChimeStartId, 10, 30);
  EXPECT_EQ(Picker(P::ChimeStopId), (std::pair{10, 30}));
  SetPicker(P::ChimeStopId, 8, 0);
  EXPECT_EQ(Picker(P::ChimeStopId), (std::pair{10, 30}));
  EXPECT_NEAR(Options().ChimeStart, 10.5 / 24, 1e-9);
  EXPECT_NEAR(Options().ChimeStop, 10.5 / 24, 1e-9);

  // The tower clock strikes with quarter and hour sounds: the other rows rest, values kept.
  ClickBox(P::TowerClockId);
  EXPECT_TRUE(Options().ChimeTowerClock);
  for (int row = 0; row < 4; ++row)
    for (const int id :
         {P::SoundCheckId, P::SoundFileId, P::SoundBrowseId, P::SoundPlayId, P::SoundStopId})
      EXPECT_EQ(IsWindowEnabled(C(id + row)) != 0, row == 0 || row == 3) << id + row;
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(ControlText(PageOf(P::SoundFileId), P::SoundFileId + row),
              std::to_string(row + 1) + ".wav");
    EXPECT_EQ(IsChecked(PageOf(P::SoundCheckId), P::SoundCheckId + row), row == 1) << row;
  }
  SetWindowTextW(C(P::SoundFileId + 3), L"top.wav");
  EXPECT_EQ(Options().ChimeTopSound, "top.wav");
  ClickBox(P::SoundCheckId);
  ClickBox(P::SoundCheckId + 3);
  EXPECT_TRUE(Options().ChimeQuarter);
  EXPECT_TRUE(Options().ChimeTop);
  ClickBox(P::AOT5sId);
  EXPECT_FALSE(Options().AOT5s);

  SendMessageW(C(P::HotKeyId + 1), HKM_SETHOTKEY, MAKEWORD('S', HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
  Command(P::HotKeyId + 1, EN_CHANGE);
  EXPECT_EQ(SplitShortCut(static_cast<std::uint32_t>(Options().HK_ShowDisplays)).key,
            static_cast<unsigned>('S'));
  EXPECT_EQ(SplitShortCut(static_cast<std::uint32_t>(Options().HK_ShowDisplays)).shift,
            unsigned{ssCtrl | ssAlt});

  Type(P::TooltipId, L"mine");
  EXPECT_EQ(Options().ToolTipText, "mine");
  Answer(IDNO);
  Command(P::DefaultTooltipId);
  EXPECT_EQ(Options().ToolTipText, "mine");
  Answer(IDYES);
  Command(P::DefaultTooltipId);
  EXPECT_EQ(Options().ToolTipText, TOptions::DefaultToolTipText());

  // Delete with Shift held removes nothing and asks nothing; without it, it asks.
  SendMessageW(Window(), WM_REBUILD_EVENTS, 0, 0);
  SelectListRow(PageOf(P::DisplayListId), P::DisplayListId, 0);
  int asked = 0;
  Answer(IDNO, &asked);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  NMLVKEYDOWN del{};
  del.hdr.code = LVN_KEYDOWN;
  del.wVKey = VK_DELETE;
  Notify(P::DisplayListId, del.hdr);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(asked, 0);
  Notify(P::DisplayListId, del.hdr);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(List().Count(), 2u);

  // Earliest first; unchecked, the event is off; a one-shot that is done stays listed.
  ASSERT_EQ(Rows(P::EventListId), 2);
  EXPECT_EQ(Cell(P::EventListId, 0, 1), "Earlier");
  CheckRow(P::EventListId, 1, false);
  EXPECT_FALSE(done.Active());
}

TEST_F(PreferencesTest, EventRowsSwitchOnEditAndDeleteTheirEvents) {
  TEvent& past = quorvel->Events().Add();
  past.SetTrigger(LocalDateTimeNow() - 1.0 / 1440);  // a one-shot a minute ago
  past.SetActive(false);
  Open().ShowPage(1);
  CheckRow(P::EventListId, 0, true);
  EXPECT_TRUE(past.Active());
  EXPECT_EQ(past.State, TEvent::stDone);  // done at once, without firing
  EXPECT_EQ(past.NotifyWindow(), nullptr);
  SelectListRow(PageOf(P::EventListId), P::EventListId, 0);
  AnswerModalWindows({[] {
                        const HWND editor = FindDialogWith(TfrmEvent::OKId);
                        if (!editor) return false;
                        SetDlgItemTextW(editor, TfrmEvent::MessageId, L"Edited");
                        Click(editor, TfrmEvent::OKId);
                        return true;
                      },
                      [] {
                        const HWND question = FindDialogWith(IDYES);  // the time is past
                        if (question) Click(question, IDYES);
                        return question != nullptr;
                      }});
  Command(P::EditEventId);
  EXPECT_EQ(Cell(P::EventListId, 0, 1), "Edited");
  Answer(IDYES);
  Command(P::DeleteEventId);
  EXPECT_EQ(quorvel->Events().Count(), 0u);
  EXPECT_EQ(Rows(P::EventListId), 0);
}

TEST_F(PreferencesTest, TheTowerClockPreviewStrikesUntilItsStopButton) {
  static TRecordingSound sound;  // outlives the program's last stop
  sound.holding = true;          // each stroke lasts until it is cut
  Platform().sound = &sound;
  Options().ChimeQuarter = true;
  Options().ChimeQuarterSound = Platform().programFile;  // a file that exists
  Open();
  Command(P::PreviewId);
  ASSERT_TRUE(sound.AwaitSyncPlays(1));
  Command(P::PreviewStopId);
  EXPECT_TRUE(AwaitTowerClocks(std::chrono::seconds(4)));
  EXPECT_EQ(sound.played.size(), 1u);
}

TEST_F(PreferencesTest, F1OpensTheHelpPageOfTheLanguageAtTheSectionOfTheFocus) {
  std::vector<std::string> opened;
  const auto browser = AddressOpener();
  AddressOpener() = [&opened](const std::string& address) { opened.push_back(address); };
  Open();
  SetForegroundWindow(Window());
  SetFocus(C(P::CloseId));
  Press({VK_F1});
  HELPINFO info{};  // as the system asks a control of an option page
  info.cbSize = sizeof(info);
  SendMessageW(C(P::SoundFileId), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
  // The Help button opens the page in view.
  Command(P::HelpId);
  SendMessageW(Window(), WM_SHOW_LANGUAGE_PAGE, 0, 0);
  Command(P::HelpId);
  AddressOpener() = browser;
  const std::string page = HelpAddress(ProgramFolder(), "") + "help_en.htm#";
  EXPECT_EQ(opened,
            (std::vector<std::string>{page + "prefs", page + "prefs-chime-sounds-page",
                                      page + "prefs-displays-page", page + "prefs-language-page"}));
}

TEST_F(PreferencesTest, TabVisitsEveryControlOfThePageAndEscCloses) {
  Open();
  using V = std::vector<int>;
  EXPECT_EQ(TabOrder(Window()),
            (V{P::TabsId, P::DisplayListId, P::AddDisplayId, P::HelpId, P::CloseId}));
  SelectListRow(PageOf(P::DisplayListId), P::DisplayListId, 0);
  EXPECT_EQ(TabOrder(Window()),
            (V{P::TabsId, P::DisplayListId, P::AddDisplayId, P::RemoveDisplayId,
               P::ConfigureDisplayId, P::SetPrimaryId, P::ResetPositionId, P::HelpId, P::CloseId}));
  // A tab chosen shows its page.
  SendMessageW(C(P::TabsId), TCM_SETCURSEL, 1, 0);
  NMHDR tab{};
  tab.code = TCN_SELCHANGE;
  tab.hwndFrom = C(P::TabsId);
  tab.idFrom = P::TabsId;
  SendMessageW(Window(), WM_NOTIFY, P::TabsId, reinterpret_cast<LPARAM>(&tab));
  EXPECT_TRUE(IsWindowVisible(C(P::EventListId)));
  EXPECT_FALSE(IsWindowVisible(C(P::DisplayListId)));
  EXPECT_EQ(TabOrder(Window()),
            (V{P::TabsId, P::EventListId, P::AddEventId, P::HelpId, P::CloseId}));
  Main().Preferences()->ShowPage(2);
  EXPECT_EQ(TabOrder(Window()),
            (V{P::TabsId, P::TreeId, P::StartAutomaticallyId, P::AutoHideId, P::AutoHideDelayId,
               P::AutoShowDelayId, P::HideAllId, P::HelpId, P::CloseId}));
  SendMessageW(Window(), WM_SHOW_LANGUAGE_PAGE, 0, 0);
  EXPECT_EQ(TabOrder(Window()), (V{P::TabsId, P::TreeId, P::LanguagesId, P::HelpId, P::CloseId}));
  // By keystrokes, as the user: Tab from the list to the button, a plain key in a
  // shortcut box gets Ctrl+Alt, Esc closes.
  Main().Preferences()->ShowPage(0);
  SetForegroundWindow(Window());
  SetFocus(C(P::DisplayListId));
  RunLoop();
  ASSERT_EQ(GetFocus(), C(P::DisplayListId));
  Press({VK_TAB});
  EXPECT_EQ(GetFocus(), C(P::AddDisplayId));
  // Ctrl+Tab and Ctrl+PgDn step to the next tab, Ctrl+Shift+Tab and Ctrl+PgUp back, round the
  // ends; the focus leaves a page that went for the tabs.
  const auto page = [this] { return Main().Preferences()->CurrentPage(); };
  Press({VK_CONTROL, VK_TAB});
  EXPECT_EQ(page(), 1);
  EXPECT_TRUE(IsWindowVisible(C(P::EventListId)));
  EXPECT_EQ(GetFocus(), C(P::TabsId));
  Press({VK_CONTROL, VK_NEXT});
  Press({VK_CONTROL, VK_NEXT});
  EXPECT_EQ(page(), 0);
  Press({VK_CONTROL, VK_SHIFT, VK_TAB});
  EXPECT_EQ(page(), 2);
  Press({VK_CONTROL, VK_PRIOR});
  EXPECT_EQ(page(), 1);
  Main().Preferences()->ShowPage(2);
  SetFocus(C(P::TreeId));
  RunLoop();
  // Left on an open node would close it: the tree stays expanded.
  const HWND tree = C(P::TreeId);
  const auto node = [tree](HTREEITEM from, int steps) {
    for (int i = 0; i < steps; ++i)
      from = reinterpret_cast<HTREEITEM>(
          SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(from)));
    return from;
  };
  const HTREEITEM chime =
      node(reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 3);
  SelectTreeItem(PageOf(P::TreeId), P::TreeId, chime);
  Press({VK_LEFT});
  EXPECT_TRUE(SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(chime), TVIS_EXPANDED) &
              TVIS_EXPANDED);
  Press({VK_END});  // the last node, then up to the shortcuts
  Press({VK_UP});
  Press({VK_TAB});
  EXPECT_EQ(GetFocus(), C(P::HotKeyId));
  Press({'K'});
  EXPECT_EQ(SplitShortCut(static_cast<std::uint32_t>(Options().HK_ShowHideDisplays)).shift,
            unsigned{ssCtrl | ssAlt});
  Press({VK_DELETE});  // erases the shortcut
  EXPECT_EQ(Options().HK_ShowHideDisplays, 0);
  Press({VK_ESCAPE});
  EXPECT_EQ(Main().Preferences(), nullptr);
}

TEST_F(PreferencesTest, LanguagesSwitchInPlaceAndBackToEnglishAtTheSamePosition) {
  const std::string file = ProgramFolder() + "zz_prefs_test.lng";
  {
    std::ofstream lng(file, std::ios::binary);
    lng << "LANGUAGE=Testisch\r\nTRANSLATION_BY=Quorvel\r\n2001=Schliessen\r\n"
           "PREF_GENERAL=Allgemein\r\nDEFAULT_HINT=Testhinweis\r\n2006[0]=Art\r\n2121=Tipp\r\n";
  }
  Open();
  SendMessageW(Window(), WM_SHOW_LANGUAGE_PAGE, 0, 0);
  const HWND languages = C(P::LanguagesId);
  const auto entry = SendMessageW(languages, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(L"Testisch"));
  ASSERT_GT(entry, 0);
  EXPECT_EQ(SendMessageW(languages, LB_GETCURSEL, 0, 0), 0);  // the built-in English in use
  EXPECT_FALSE(IsWindowEnabled(C(P::SetLanguageId)));
  SendMessageW(languages, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
  Command(P::LanguagesId, LBN_SELCHANGE);
  EXPECT_TRUE(IsWindowEnabled(C(P::SetLanguageId)));
  const HWND before = Window();
  Command(P::SetLanguageId);
  EXPECT_EQ(Window(), before);  // translated in place
  EXPECT_EQ(ControlText(Window(), P::CloseId), "Schliessen");
  EXPECT_EQ(ControlText(PageOf(P::TooltipId), 2121), "Tipp");  // a group box
  EXPECT_EQ(Options().ToolTipText, "Testhinweis");             // untouched: it follows
  LVCOLUMNW column{};
  wchar_t text[64] = {};
  column.mask = LVCF_TEXT;
  column.pszText = text;
  column.cchTextMax = 64;
  SendMessageW(C(P::DisplayListId), LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  EXPECT_EQ(WideToUtf8(text), "Art");
  // The tree is rebuilt in the language with the Language node still selected.
  EXPECT_EQ(SelectedTreeItemData(PageOf(P::TreeId), P::TreeId), P::opLanguage);

  Type(P::TooltipId, L"mine");
  RECT place{};
  GetWindowRect(Window(), &place);
  SendMessageW(languages, LB_SETCURSEL, 0, 0);
  Command(P::SetLanguageId);
  PumpMessages();  // the main window makes the window anew
  ASSERT_NE(Main().Preferences(), nullptr);
  RECT now{};
  GetWindowRect(Window(), &now);
  EXPECT_EQ(std::pair(now.left, now.top), std::pair(place.left, place.top));
  EXPECT_EQ(ControlText(Window(), P::CloseId), "&Close");
  EXPECT_EQ(Main().Preferences()->CurrentPage(), 2);
  EXPECT_EQ(SelectedTreeItemData(PageOf(P::TreeId), P::TreeId), P::opLanguage);
  EXPECT_EQ(Options().ToolTipText, "mine");  // the user's own text stays
  std::remove(file.c_str());
}

TEST_F(PreferencesTest, EventPresetsSaveAndLoadInTheEditorAndTakenNamesAreRefused) {
  using E = TfrmEvent;
  using M = TfrmPresetManager;
  HWND editor = nullptr;
  bool loadEnabledBefore = true, loadEnabledAfter = false;
  std::string loadedSound;
  const auto presetWindow = [] { return FindDialogWith(M::NewNameId); };
  AnswerModalWindows({[&] {
                        editor = FindDialogWith(E::OKId);
                        if (!editor) return false;
                        loadEnabledBefore = IsWindowEnabled(GetDlgItem(editor, E::LoadPresetId));
                        SetDlgItemTextW(editor, E::SoundId, L"bell.wav");
                        Click(editor, E::SavePresetId);
                        return true;
                      },
                      [&] {
                        const HWND presets = presetWindow();
                        if (!presets) return false;
                        SetDlgItemTextW(presets, M::NewNameId, L"Loud");
                        Click(presets, M::OKId);
                        return true;
                      },
                      [&] {
                        if (presetWindow()) return false;
                        loadEnabledAfter = IsWindowEnabled(GetDlgItem(editor, E::LoadPresetId));
                        SetDlgItemTextW(editor, E::SoundId, L"other.wav");
                        Click(editor, E::LoadPresetId);
                        return true;
                      },
                      [&] {
                        const HWND presets = presetWindow();
                        if (!presets) return false;
                        SendDlgItemMessageW(presets, M::PresetsId, LB_SETCURSEL, 0, 0);
                        Click(presets, M::OKId);
                        return true;
                      },
                      [&] {
                        if (presetWindow()) return false;
                        loadedSound = ControlText(editor, E::SoundId);
                        Click(editor, E::CancelId);
                        return true;
                      }});
  Send(WM_COMMAND, cmdNewEvent);
  EXPECT_FALSE(loadEnabledBefore);
  EXPECT_TRUE(loadEnabledAfter);
  EXPECT_EQ(loadedSound, "bell.wav");
  EXPECT_EQ(quorvel->Events().Count(), 0u);
  TVarnRegistry reg;
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\Presets\\events\\Loud", false));
  EXPECT_EQ(reg.ReadString("Sound"), "bell.wav");

  // A name taken in other letter cases: the window says so and nothing changes.
  // Saving with no name: it asks for one and stays open.
  TEvent scratch(LocalDateTimeNow());
  TEventPresetManager manager(scratch);
  int boxes = 0;
  bool stayedOpen = false;
  const auto answerBox = [&] {
    const HWND box = FindDialogWith(IDOK);
    if (!box) return false;
    ++boxes;
    Click(box, IDOK);
    return true;
  };
  AnswerModalWindows({[&] {
                        const HWND presets = presetWindow();
                        if (!presets) return false;
                        SendDlgItemMessageW(presets, M::PresetsId, LB_SETCURSEL, 0, 0);
                        SendMessageW(presets, WM_COMMAND, MAKEWPARAM(M::PresetsId, LBN_SELCHANGE),
                                     0);
                        SetDlgItemTextW(presets, M::NewNameId, L"LOUD");
                        Click(presets, M::RenameId);
                        return true;
                      },
                      answerBox,
                      [&] {
                        if (FindDialogWith(IDOK)) return false;
                        SetDlgItemTextW(presetWindow(), M::NewNameId, L"");
                        Click(presetWindow(), M::CancelId);
                        return true;
                      }});
  EXPECT_EQ(ShowPresetManager(manager, false, nullptr), "");
  EXPECT_EQ(manager.Names(), std::vector<std::string>{"Loud"});
  AnswerModalWindows({[&] {
                        const HWND presets = presetWindow();
                        if (!presets) return false;
                        Click(presets, M::OKId);
                        return true;
                      },
                      answerBox,
                      [&] {
                        if (FindDialogWith(IDOK)) return false;
                        stayedOpen = presetWindow() != nullptr;
                        Click(presetWindow(), M::CancelId);
                        return true;
                      }});
  EXPECT_EQ(ShowPresetManager(manager, true, nullptr), "");
  EXPECT_EQ(boxes, 2);
  EXPECT_TRUE(stayedOpen);
}

}  // namespace
