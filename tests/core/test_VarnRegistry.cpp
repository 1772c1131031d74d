#include <gtest/gtest.h>

#include <cstring>

#include "config/uVarnRegistry.h"
#include "support/uTestPlatform.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  // Writes a value of any type and bytes straight into the hive.
  void Store(const std::string& key, const std::string& name, std::uint32_t type,
             std::vector<std::uint8_t> bytes) {
    auto k = platform.currentUser.OpenKey(key, true, RegAccess::AllAccess);
    ASSERT_TRUE(k->SetValue(name, type, bytes));
  }
  std::string ErrorOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const ERegistryException& e) {
      return e.what();
    }
    return "no error";
  }
  TTestPlatform platform;
  TVarnRegistry reg;
};

TEST_F(RegistryTest, PathsResolveFromRootOrFromTheOpenKey) {
  EXPECT_FALSE(reg.OpenKey("Software\\Quorvel II\\", false));
  ASSERT_TRUE(reg.OpenKey("Software\\Quorvel II\\", true));
  EXPECT_EQ(reg.CurrentPath(), "Software\\Quorvel II");
  ASSERT_TRUE(reg.OpenKey("Displays", true));  // relative to the open key
  EXPECT_EQ(reg.CurrentPath(), "Software\\Quorvel II\\Displays");
  ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\quorvel ii", false));  // absolute, any case
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\quorvel ii");
  EXPECT_FALSE(reg.OpenKey("Missing", false));
  EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\quorvel ii");  // a failed open keeps the key
  reg.CloseKey();
  EXPECT_FALSE(reg.HasCurrentKey());
  EXPECT_TRUE(reg.KeyExists("Software\\Quorvel II\\Displays"));
  // Another root is another hive: the key lands there, not under the user's root.
  reg.SetRootKey(TRootKey::LocalMachine);
  ASSERT_TRUE(reg.OpenKey("Software\\Machine", true));
  EXPECT_TRUE(platform.localMachine.OpenKey("Software\\Machine", false, RegAccess::Read));
  EXPECT_FALSE(platform.currentUser.OpenKey("Software\\Machine", false, RegAccess::Read));
}

TEST_F(RegistryTest, ReadOnlyOpeningFallsBackThroughTheRights) {
  reg.OpenKey("Software\\Zones", true);
  reg.CloseKey();
  platform.currentUser.refusedAccess = 0x10;  // only KEY_READ (0x20019) asks for this bit
  ASSERT_TRUE(reg.OpenKeyReadOnly("Software\\Zones"));
  EXPECT_EQ(reg.Access(), RegAccess::ReadEnumerate);
  platform.currentUser.refusedAccess = 0x8;  // refuses both read masks
  TVarnRegistry other;
  ASSERT_TRUE(other.OpenKeyReadOnly("Software\\Zones"));
  EXPECT_EQ(other.Access(), RegAccess::QueryValue);
}

TEST_F(RegistryTest, EnumerationKeepsCreationOrder) {
  ASSERT_TRUE(reg.OpenKey("Software\\Order", true));
  for (const char* name : {"zeta", "alpha", "Mid"}) reg.WriteString(name, name);
  reg.OpenKey("c", true);
  reg.OpenKey("\\Software\\Order\\a", true);
  reg.OpenKey("\\Software\\Order", false);
  std::vector<std::string> names{"stale"};
  reg.GetValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"zeta", "alpha", "Mid"}));
  reg.GetKeyNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"c", "a"}));
  reg.CloseKey();  // no key: no names, not the stale ones
  std::vector<std::string> keys{"stale"};
  reg.GetValueNames(names);
  reg.GetKeyNames(keys);
  EXPECT_TRUE(names.empty() && keys.empty());
}

TEST_F(RegistryTest, DeleteKeyRemovesTheWholeTree) {
  reg.OpenKey("Software\\Tree\\a\\b\\c", true);
  reg.OpenKey("\\Software\\Tree\\d", true);
  reg.WriteInteger("x", 1);
  reg.CloseKey();
  EXPECT_TRUE(reg.DeleteKey("Software\\Tree"));
  EXPECT_FALSE(reg.KeyExists("Software\\Tree"));
  EXPECT_TRUE(reg.KeyExists("Software"));
  EXPECT_FALSE(reg.DeleteKey("Software\\Tree"));
  EXPECT_FALSE(reg.DeleteKey("Software\\Missing\\Child"));
}

TEST_F(RegistryTest, TypedReadsAndTheirExactErrors) {
  Store("Software\\T", "sz", rtString, {'1', 0});
  Store("Software\\T", "dword7", rtInteger, {7, 0, 0, 0});
  Store("Software\\T", "bin4", rtBinary, {1, 2, 3, 4});
  Store("Software\\T", "bin5", rtBinary, {1, 2, 3, 4, 5});
  Store("Software\\T", "text", rtExpandString, {'%', 'A', '%', 0, 'x'});
  Store("Software\\T", "unterminated", rtString, {'a', 'b'});
  ASSERT_TRUE(reg.OpenKey("Software\\T", false));

  EXPECT_TRUE(reg.ReadBoolDef("dword7", false));
  EXPECT_EQ(ErrorOf([&] { reg.ReadBoolDef("sz", false); }), "Invalid data type for 'sz'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadFloatDef("bin4", 0); }), "Invalid data type for 'bin4'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadInteger("missing"); }), "Failed to get data for 'missing'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadInteger("bin5"); }), "Failed to get data for 'bin5'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadInteger("bin4"); }), "Invalid data type for 'bin4'");
  EXPECT_EQ(ErrorOf([&] { reg.ReadString("dword7"); }), "Invalid data type for 'dword7'");
  EXPECT_EQ(reg.ReadIntegerDef("missing", -1), -1);
  EXPECT_EQ(reg.ReadString("missing"), "");
  EXPECT_EQ(reg.ReadString("text"), "%A%");  // up to the zero byte, not expanded
  EXPECT_EQ(reg.ReadString("unterminated"), "ab");
  EXPECT_EQ(reg.GetDataType("sz"), rtString);
  EXPECT_EQ(reg.GetDataType("text"), rtExpandString);
  EXPECT_EQ(reg.GetDataType("dword7"), rtInteger);
  EXPECT_EQ(reg.GetDataType("missing"), rtNone);
}

TEST_F(RegistryTest, BinaryReadsNeverPassTheBuffer) {
  Store("Software\\B", "bin1", rtBinary, {7});
  Store("Software\\B", "bin4", rtBinary, {1, 2, 3, 4});
  Store("Software\\B", "bin9", rtBinary, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  Store("Software\\B", "qword", rtQWord, {1, 0, 0, 0, 0, 0, 0, 0});
  ASSERT_TRUE(reg.OpenKey("Software\\B", false));
  std::uint8_t buffer[8];
  std::memset(buffer, 0xEE, sizeof(buffer));
  EXPECT_EQ(reg.ReadBinaryData("bin4", buffer, 4), 4);  // exactly the room there is
  EXPECT_EQ(buffer[3], 4);
  EXPECT_EQ(buffer[4], 0xEE);
  EXPECT_EQ(ErrorOf([&] { reg.ReadBinaryData("bin9", buffer, 8); }),
            "Invalid data type for 'bin9'");
  EXPECT_EQ(buffer[7], 0xEE);
  EXPECT_EQ(reg.ReadBinaryData("bin1", buffer, 1), 1);
  EXPECT_EQ(reg.ReadBinaryData("qword", buffer, 8), 8);  // a type the store does not classify
  EXPECT_EQ(reg.ReadBinaryData("missing", buffer, 8), 0);
  reg.WriteBinaryData("empty", nullptr, 0);
  EXPECT_EQ(reg.ReadBinaryData("empty", buffer, 8), 0);
  EXPECT_EQ(ErrorOf([&] { reg.ReadBinaryData("bin1", buffer, -1); }),
            "Invalid data type for 'bin1'");
}

TEST_F(RegistryTest, WritesRoundTripAndRefusalsRaise) {
  ASSERT_TRUE(reg.OpenKey("Software\\W", true));
  reg.WriteString("s", "Grüße");
  reg.WriteInteger("i", -5);
  reg.WriteBool("b", true);
  reg.WriteFloat("f", 40000.25);
  EXPECT_EQ(reg.ReadStringDef("s", ""), "Grüße");
  EXPECT_EQ(reg.ReadIntegerDef("i", 0), -5);
  EXPECT_EQ(reg.ReadIntegerDef("b", 0), 1);
  EXPECT_DOUBLE_EQ(reg.ReadFloatDef("f", 0), 40000.25);
  EXPECT_EQ(reg.GetDataType("f"), rtBinary);
  EXPECT_TRUE(reg.DeleteValue("i"));
  EXPECT_FALSE(reg.ValueExists("i"));
  platform.currentUser.refuseWrites = true;
  EXPECT_EQ(ErrorOf([&] { reg.WriteInteger("i", 1); }), "Failed to set data for 'i'");
  EXPECT_FALSE(reg.DeleteValue("s"));  // refused: nothing is removed
  EXPECT_TRUE(reg.ValueExists("s"));
  EXPECT_FALSE(reg.DeleteKey("Software\\Quorvel II"));
  reg.CloseKey();
  EXPECT_EQ(ErrorOf([&] { reg.WriteString("x", "y"); }), "Failed to set data for 'x'");
}

TEST_F(RegistryTest, StringListsReplaceTheirKeyAndKeepOrder) {
  const std::string key = "Software\\Quorvel II\\List";
  reg.WriteStringList(key, {"a", "b", "c", "d", "e"});
  reg.WriteStringList(key, {"x", "y", "z"});
  ASSERT_TRUE(reg.OpenKey(key, false));
  std::vector<std::string> names;
  reg.GetValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"000", "001", "002"}));
  reg.CloseKey();
  std::vector<std::string> list{"old"};
  reg.ReadStringList(key, list);
  EXPECT_EQ(list, (std::vector<std::string>{"x", "y", "z"}));

  reg.WriteStringList(key, {});
  EXPECT_FALSE(reg.KeyExists(key));
  list = {"kept"};
  reg.ReadStringList(key, list);  // no key: the list stays, and no key is made
  EXPECT_EQ(list, (std::vector<std::string>{"kept"}));
  EXPECT_FALSE(reg.KeyExists(key));
  reg.OpenKey(key, true);
  reg.WriteInteger("000", 5);
  reg.CloseKey();
  reg.ReadStringList(key, list);  // a key without any string: the list stays too
  EXPECT_EQ(list, (std::vector<std::string>{"kept"}));
}

}  // namespace
