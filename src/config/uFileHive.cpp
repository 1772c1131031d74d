#include "config/uFileHive.h"

#include <algorithm>
#include <charconv>

#include "support/uTools.h"

namespace {

// How a value's bytes are written: a quoted text, one hex number, or hex bytes.
enum class TForm { Text, Number, Bytes };

struct TTypeName {
  std::uint32_t type;
  std::string_view name;
  TForm form;
};

constexpr TTypeName kTypeNames[] = {
    {rtNone, "REG_NONE", TForm::Bytes},
    {rtString, "REG_SZ", TForm::Text},
    {rtExpandString, "REG_EXPAND_SZ", TForm::Text},
    {rtBinary, "REG_BINARY", TForm::Bytes},
    {rtInteger, "REG_DWORD", TForm::Number},
    {rtMultiString, "REG_MULTI_SZ", TForm::Bytes},
    {rtQWord, "REG_QWORD", TForm::Number},
};

const TTypeName* NamedType(std::uint32_t type) {
  for (const TTypeName& t : kTypeNames)
    if (t.type == type) return &t;
  return nullptr;
}

const TTypeName* NamedType(std::string_view name) {
  for (const TTypeName& t : kTypeNames)
    if (SameTextAscii(t.name, name)) return &t;
  return nullptr;
}

std::size_t NumberSize(std::uint32_t type) { return type == rtQWord ? 8 : 4; }

// Whether the bytes can be written in the form of their type without loss.
bool FitsForm(const TTypeName& named, const std::vector<std::uint8_t>& bytes) {
  switch (named.form) {
    case TForm::Text:
      return !bytes.empty() && std::find(bytes.begin(), bytes.end(), 0) == bytes.end() - 1;
    case TForm::Number:
      return bytes.size() == NumberSize(named.type);
    case TForm::Bytes:
      return true;
  }
  return false;
}

constexpr char kHexDigits[] = "0123456789abcdef";

void AppendHexByte(std::string& out, std::uint8_t byte) {
  out += kHexDigits[byte >> 4];
  out += kHexDigits[byte & 15];
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7f) {
      out += "\\x";
      AppendHexByte(out, byte);
    } else {
      out += c;
    }
  }
  return out + '"';
}

std::string ValueLine(const std::string& name, const TRegData& data) {
  std::string line = Quoted(name) + '=';
  const TTypeName* named = NamedType(data.type);
  // A value that does not fit its type's form keeps its type as a number and its bytes as they are.
  const bool fits = named && FitsForm(*named, data.bytes);
  const TForm form = fits ? named->form : TForm::Bytes;
  line += fits ? std::string(named->name) : std::to_string(data.type);
  line += ':';
  if (form == TForm::Text) {
    line += Quoted({reinterpret_cast<const char*>(data.bytes.data()), data.bytes.size() - 1});
  } else if (form == TForm::Number) {
    for (std::size_t i = data.bytes.size(); i-- > 0;) AppendHexByte(line, data.bytes[i]);
  } else {
    for (const std::uint8_t byte : data.bytes) AppendHexByte(line, byte);
  }
  return line;
}

void AppendKey(TRegistryHive& hive, const std::string& path, std::string& out) {
  const auto key = hive.OpenKey(path, false, RegAccess::Read);
  if (!key) return;
  const std::vector<std::string> values = key->ValueNames();
  // The root has no section unless something is stored in it.
  if (!path.empty() || !values.empty()) out += '[' + path + "]\n";
  for (const std::string& name : values)
    if (const auto data = key->QueryValue(name)) out += ValueLine(name, *data) + '\n';
  for (const std::string& sub : key->SubKeyNames())
    AppendKey(hive, path.empty() ? sub : path + '\\' + sub, out);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A quoted text at the start of rest, which then holds what follows it.
std::optional<std::string> TakeQuoted(std::string_view& rest) {
  if (rest.empty() || rest.front() != '"') return std::nullopt;
  std::string text;
  for (std::size_t i = 1; i < rest.size(); ++i) {
    const char c = rest[i];
    if (c == '"') {
      rest.remove_prefix(i + 1);
      return text;
    }
    if (c != '\\') {
      text += c;
      continue;
    }
    if (++i == rest.size()) return std::nullopt;
    if (rest[i] == '"' || rest[i] == '\\') {
      text += rest[i];
    } else if (rest[i] == 'x' && i + 2 < rest.size() && HexValue(rest[i + 1]) >= 0 &&
               HexValue(rest[i + 2]) >= 0) {
      text += static_cast<char>(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2]));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> HexBytes(std::string_view hex) {
  if (hex.size() % 2) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int high = HexValue(hex[i]), low = HexValue(hex[i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
  }
  return bytes;
}

// A number of up to size bytes in hex digits, as little-endian bytes.
std::optional<std::vector<std::uint8_t>> NumberBytes(std::string_view hex, std::size_t size) {
  if (hex.empty() || hex.size() > 2 * size) return std::nullopt;
  std::vector<std::uint8_t> bytes(size, 0);
  for (std::size_t i = 0; i < hex.size(); ++i) {
    const int digit = HexValue(hex[hex.size() - 1 - i]);
    if (digit < 0) return std::nullopt;
    bytes[i / 2] |= static_cast<std::uint8_t>(digit << (i % 2 * 4));
  }
  return bytes;
}

std::optional<TRegData> ParseData(std::string_view typeName, std::string_view data) {
  std::uint32_t type = 0;
  const TTypeName* named = NamedType(typeName);
  if (named) {
    type = named->type;
  } else {
    const auto [end, error] =
        std::from_chars(typeName.data(), typeName.data() + typeName.size(), type);
    if (error != std::errc() || end != typeName.data() + typeName.size()) return std::nullopt;
  }
  std::optional<std::vector<std::uint8_t>> bytes;
  switch (named ? named->form : TForm::Bytes) {
    case TForm::Text: {
      std::optional<std::string> text = TakeQuoted(data);
      if (!text || !data.empty() || text->find('\0') != std::string::npos) return std::nullopt;
      bytes.emplace(text->begin(), text->end());
      bytes->push_back(0);
      break;
    }
    case TForm::Number:
      bytes = NumberBytes(data, NumberSize(type));
      break;
    case TForm::Bytes:
      bytes = HexBytes(data);
      break;
  }
  if (!bytes) return std::nullopt;
  return TRegData{type, std::move(*bytes)};
}

bool ReadValueLine(std::string_view line, THiveKey& key) {
  const std::optional<std::string> name = TakeQuoted(line);
  if (!name || line.empty() || line.front() != '=') return false;
  line.remove_prefix(1);
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  const std::optional<TRegData> data = ParseData(line.substr(0, colon), line.substr(colon + 1));
  return data && key.SetValue(*name, data->type, data->bytes);
}

std::string_view Trimmed(std::string_view line) {
  const auto first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

}  // namespace

std::string SettingsText(TRegistryHive& hive) {
  std::string text;
  AppendKey(hive, "", text);
  return text;
}

int ReadSettingsText(std::string_view text, TRegistryHive& hive) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int damaged = 0;
  std::unique_ptr<THiveKey> section;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      // A damaged header leaves its values without a key rather than in the one before.
      section = line.back() == ']' ? hive.OpenKey(std::string(line.substr(1, line.size() - 2)),
                                                  true, RegAccess::AllAccess)
                                   : nullptr;
      if (!section) ++damaged;
    } else if (!section || !ReadValueLine(line, *section)) {
      ++damaged;
    }
  }
  return damaged;
}

class TFileHive::TFileKey : public THiveKey {
 public:
  TFileKey(TFileHive& hive, std::unique_ptr<THiveKey> key) : FHive(hive), FKey(std::move(key)) {
    ++FHive.FOpenKeys;
  }
  ~TFileKey() override { FHive.KeyClosed(); }

  std::vector<std::string> SubKeyNames() override { return FKey->SubKeyNames(); }
  std::vector<std::string> ValueNames() override { return FKey->ValueNames(); }
  std::optional<TRegData> QueryValue(const std::string& name) override {
    return FKey->QueryValue(name);
  }
  bool SetValue(const std::string& name, std::uint32_t type,
                std::span<const std::uint8_t> bytes) override {
    return Changed(FKey->SetValue(name, type, bytes));
  }
  bool DeleteValue(const std::string& name) override { return Changed(FKey->DeleteValue(name)); }

 private:
  bool Changed(bool done) {
    if (done) FHive.FChanged = true;
    return done;
  }
  TFileHive& FHive;
  std::unique_ptr<THiveKey> FKey;
};

TFileHive::TFileHive(TSettingsFile& file) : FFile(file) {
  const std::optional<std::string> text = FFile.Load();
  const int damaged = text ? ReadSettingsText(*text, FValues) : 1;
  FDamaged = damaged > 0;
  // Saving drops what could not be read, so it waits for the copy that keeps it.
  FCanSave = !FDamaged || FFile.KeepDamagedCopy();
}

std::unique_ptr<THiveKey> TFileHive::OpenKey(const std::string& path, bool create,
                                             std::uint32_t access) {
  if (create && !FValues.OpenKey(path, false, access)) FChanged = true;
  std::unique_ptr<THiveKey> key = FValues.OpenKey(path, create, access);
  if (!key) return nullptr;
  return std::make_unique<TFileKey>(*this, std::move(key));
}

bool TFileHive::DeleteKey(const std::string& path) {
  if (!FValues.DeleteKey(path)) return false;
  FChanged = true;
  if (FOpenKeys == 0) Save();
  return true;
}

bool TFileHive::Save() {
  if (!FChanged) return true;
  if (!FCanSave || !FFile.WriteTemporary(SettingsText(FValues)) || !FFile.ReplaceWithTemporary())
    return false;
  FChanged = false;
  return true;
}

void TFileHive::KeyClosed() {
  if (--FOpenKeys == 0) Save();
}
