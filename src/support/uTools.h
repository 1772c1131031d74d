#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/uDateTime.h"
#include "support/uTypes.h"

// Moves rect so that at least half of its width and height lie within bounds.
void KeepHalfInside(TRect& rect, const TRect& bounds);

enum TShiftState : unsigned { ssShift = 1, ssCtrl = 2, ssAlt = 4 };

// A stored keyboard shortcut: virtual-key code in the low byte, 0x2000 Shift,
// 0x4000 Ctrl, 0x8000 Alt.
struct TShortCutParts {
  unsigned key = 0;
  unsigned shift = 0;  // TShiftState bits
};
TShortCutParts SplitShortCut(std::uint32_t shortcut);
std::uint32_t MakeShortCut(const TShortCutParts& parts);

// Every occurrence of from replaced by to (case-sensitive).
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);
// The items of a translated list written as "one","two","three".
std::vector<std::string> QuotedList(const std::string& text);
// A translated format with one number: the first "%d" becomes value and "%%" a
// percent sign; any other directive stays as it is written.
std::string FormatInteger(std::string_view format, std::int32_t value);
// Letter case of the ASCII letters a to z only; other bytes stay as they are.
std::string UpperAscii(std::string text);
std::string LowerAscii(std::string text);
bool SameTextAscii(std::string_view a, std::string_view b);

// Nearest integer, halves to the even one, whatever the floating-point
// environment's rounding mode happens to be.
int RoundHalfEven(double x);

// A whole decimal number with an optional sign; nothing for "2x", "" or a
// number beyond 32 bits.
std::optional<std::int32_t> ParseDecimal(std::string_view text);

// Multi-line texts are stored on one line with "&br;" for each CR LF.
std::string LineBreaksToTags(const std::string& text);
std::string TagsToLineBreaks(const std::string& text);

// Head before the first space and the tail after it; a quoted tail loses its quotes.
std::pair<std::string, std::string> SplitAtFirstSpace(const std::string& text);

// The top-left that keeps a window of the given size 16 pixels inside the work area.
TPoint FitOnMonitor(TPoint desired, TPoint size, const TRect& workArea);
// The same with the work area of the monitor nearest to reference.
TPoint FitOnMonitor(TPoint desired, TPoint size, TPoint reference);
// The top-left that centres a window of the given size over owner, kept inside the work area of
// the owner's monitor.
TPoint CentredOver(const TRect& owner, TPoint size);
// The top-left nearest to desired, kept inside the work area of the monitor nearest to desired,
// at which a window of the given size covers none of the obstacles (windows that would stay above
// it); the least covered place when every place covers one.
TPoint AsideFrom(TPoint desired, TPoint size, const std::vector<TRect>& obstacles);

// Text shown in a menu or a label as it is written: every "&" doubled, so none marks an access key.
std::string EscapeAccessKeys(const std::string& text);
// The letter a single "&" marks in text, in upper case; 0 when there is none.
char AccessKeyOf(const std::string& text);
// Texts shown as written, each with the first ASCII letter as access key that neither taken (upper
// case) nor an earlier text has; a text without such a letter gets none.
std::vector<std::string> WithAccessKeys(const std::vector<std::string>& texts, std::string taken);

// Whether a wave file to play is there: a plain file, not a folder.
bool SoundFileExists(const std::string& file);
// Plays a wave file asynchronously; false (and nothing played) when it does not exist.
bool PlaySoundFile(const std::string& file, bool loop);
void StopSound();
// The sounds the program ships in the folder "Sounds" beside it.
inline constexpr const char* QuarterStroke = "quarter.wav";
inline constexpr const char* HourStroke = "hour.wav";
inline constexpr const char* EventAlert = "alert.wav";
// What a sound switch being turned on plays: its own file, or else the shipped sound of that name
// when it is there, so that a switch works without choosing a file first.
std::string SoundOrShipped(const std::string& file, const std::string& shipped);

// Names (without folder) of the plain files in folder whose name ends in extension (".lng",
// letter case ignored), appended to list in the order the file system gives them.
void ListFiles(const std::string& folder, std::string_view extension,
               std::vector<std::string>& list);

// The locale's weekday name; 0 Monday .. 5 Saturday, 6 and above Sunday.
std::string WeekdayName(int day, bool abbreviated);

// The element around the caret that a click in a format text selects, as
// [first, last] character indices, or nothing.
std::optional<std::pair<std::size_t, std::size_t>> FormatElementAt(const std::string& text,
                                                                   std::size_t caret);

TSystemTime ReadUtcTime();
TSystemTime ReadLocalTime();

// A file-system path from UTF-8 text.
std::filesystem::path PathFromUtf8(const std::string& text);

// The folder of the running program file, with a trailing separator.
std::string ProgramFolder();

// The program's version, read once at start-up.
struct TVersionInfo {
  int Major = 0, Minor = 0, Release = 0, Build = 0;
  unsigned Flags = 0;  // 0x1 debug, 0x2 pre-release, 0x8 private, 0x20 special build
  bool Valid = false;
  std::string MajorMinor() const;
  std::string ReleaseBuild() const;
  std::string Text() const;
};
