// A portable settings file may be edited by hand or cut short: reading one must never crash,
// and what the program writes must read back as it was, with no line lost.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/uFileHive.h"
#include "config/uMemoryHive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TMemoryHive read;
  ReadSettingsText(text, read);
  const std::string written = SettingsText(read);
  TMemoryHive again;
  if (ReadSettingsText(written, again) != 0 || SettingsText(again) != written) std::abort();
  return 0;
}
