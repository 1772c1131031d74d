// Random sequences of store operations against the in-memory hive: no crash,
// no read past a value, and what was written is read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "config/uMemoryHive.h"
#include "config/uVarnRegistry.h"

namespace {

class TInput {
 public:
  TInput(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}
  bool Empty() const { return FPos >= FSize; }
  std::uint8_t Byte() { return Empty() ? 0 : FData[FPos++]; }
  std::string Name() {
    static const char* names[] = {"a", "B", "Software", "Quorvel II", "000", "", "x\\y", "\\A"};
    return names[Byte() % 8];
  }
  std::string Path() {
    std::string path = Byte() % 4 == 0 ? "\\" : "";
    for (int n = Byte() % 4; n >= 0; --n) path += Name() + (Byte() % 3 ? "\\" : "");
    return path;
  }

 private:
  const std::uint8_t* FData;
  std::size_t FSize;
  std::size_t FPos = 0;
};

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TMemoryHive hive;
  SetHive(TRootKey::CurrentUser, &hive);
  TVarnRegistry reg;
  TInput in(data, size);
  while (!in.Empty()) {
    try {
      const std::string name = in.Name();
      switch (in.Byte() % 14) {
        case 0:
          reg.OpenKey(in.Path(), in.Byte() & 1);
          break;
        case 1:
          reg.CloseKey();
          break;
        case 2:
          reg.DeleteKey(in.Path());
          break;
        case 3: {
          const std::string text(in.Byte() % 8, static_cast<char>(in.Byte()));
          reg.WriteString(name, text);
          const std::string back = reg.ReadString(name);
          Check(back == text.substr(0, text.find('\0')));
          break;
        }
        case 4: {
          const auto v = static_cast<std::int32_t>(in.Byte() * 16777619u);
          reg.WriteInteger(name, v);
          Check(reg.ReadInteger(name) == v);
          break;
        }
        case 5:
          reg.WriteFloat(name, in.Byte() / 7.0);
          break;
        case 6: {
          std::uint8_t bytes[32];
          const int n = in.Byte() % 33;
          for (int i = 0; i < n; ++i) bytes[i] = in.Byte();
          reg.WriteBinaryData(name, bytes, n);
          break;
        }
        case 7: {
          std::uint8_t buffer[12];
          std::uint8_t guard[4] = {1, 2, 3, 4};
          const int n = reg.ReadBinaryData(name, buffer, 12);
          Check(n >= 0 && n <= 12 && guard[0] == 1);
          break;
        }
        case 8:
          reg.ReadBoolDef(name, true);
          break;
        case 9:
          reg.ReadFloatDef(name, 1.0);
          break;
        case 10:
          reg.ReadStringDef(name, "d");
          break;
        case 11: {
          std::vector<std::string> list(in.Byte() % 5, "item");
          reg.WriteStringList(in.Path(), list);
          std::vector<std::string> back{"unchanged"};
          reg.ReadStringList(in.Path(), back);
          break;
        }
        case 12: {
          std::vector<std::string> names;
          reg.GetKeyNames(names);
          reg.GetValueNames(names);
          reg.GetDataType(name);
          break;
        }
        default:
          reg.DeleteValue(name);
          break;
      }
    } catch (const ERegistryException&) {
      // The store's own error for wrong types and refused writes is expected.
    }
  }
  SetHive(TRootKey::CurrentUser, nullptr);
  return 0;
}
