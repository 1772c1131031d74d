// Translation files come from anywhere; reading one must never crash.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/uMultilanguage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TMultiLanguage language(TMultiLanguage::TNoRegistry{});
  language.LoadFromText(text);
  // Look up keys that the input itself may contain, including references.
  const std::string_view head = text.substr(0, text.find('='));
  language.GetText(std::string(head.substr(0, 64)), "default");
  language.GetText("MNU_DISPLAY", "Display");
  TTranslatable list{TComponentKind::ListView, 7, "x", "x", {"a", "b"}};
  language.TranslateComponent(list);
  TTranslatable action{TComponentKind::Action, 1, "x", "x", {}};
  language.TranslateComponent(action);
  return 0;
}
