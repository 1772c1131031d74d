#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The kinds of window parts that are translated by their tag number.
enum class TComponentKind {
  Action,
  Label,
  CheckBox,
  RadioButton,
  TabPage,
  MenuItem,
  Button,
  Header,
  ListView
};

// One window part as the translation sees it: its texts are read, translated and written back.
struct TTranslatable {
  TComponentKind kind = TComponentKind::Label;
  int tag = 0;
  std::string caption;
  std::string hint;
  std::vector<std::string> columns;  // header sections or list view columns
};

// The translation service: picks the language at start-up, loads its file
// and answers look-ups of (key, English default).
class TMultiLanguage {
 public:
  // Reads the user's (or the installation's) language from the registry and loads it.
  TMultiLanguage();
  // Without the registry: the built-in English.
  struct TNoRegistry {};
  explicit TMultiLanguage(TNoRegistry) {}

  void SetLanguage(const std::string& name);
  void LoadLanguage();
  // Loads translations from the contents of a file (UTF-8 or the 8-bit code page).
  void LoadFromText(std::string_view contents);
  std::string GetText(const std::string& key, const std::string& def) const;
  const std::string& LanguageName() const { return FLanguageName; }
  bool HasTranslations() const { return FTranslations.has_value(); }

  // The window's caption, then every part whose tag lies in 1..9999.
  void TranslateCaption(int tag, std::string& caption) const;
  void TranslateComponent(TTranslatable& component) const;

  // The language entries for the user's choice, "(English) [built-in]" first.
  static std::vector<std::string> ListLanguages(const std::string& folder);
  // The language name of an entry of that list ("english" for the first).
  static std::string LanguageOfEntry(const std::string& entry);

 private:
  std::string Lookup(const std::string& key, bool referenced) const;

  // Lower-case key and text, sorted by key.
  std::optional<std::vector<std::pair<std::string, std::string>>> FTranslations;
  std::string FLanguageName = "english";
};

// The program's translation service: the one its root installs for its
// lifetime, or the built-in English while none is installed.
const TMultiLanguage& MultiLanguage();

// Installs a translation service for the lifetime of this object.
class TInstalledLanguage {
 public:
  explicit TInstalledLanguage(const TMultiLanguage& language);
  ~TInstalledLanguage();
  TInstalledLanguage(const TInstalledLanguage&) = delete;
  TInstalledLanguage& operator=(const TInstalledLanguage&) = delete;

 private:
  const TMultiLanguage* FPrevious;
};

// The translation of key, or the English default when there is none. Looked up
// at every call, so a change of language reaches every text looked up after it.
std::string GetText(const std::string& key, const std::string& def);

// Text as UTF-8: kept when it already is valid UTF-8 (a byte-order mark is
// dropped), otherwise read as the system's 8-bit code page.
std::string DecodeTextFile(std::string_view bytes);
