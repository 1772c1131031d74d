#pragma once

#include <string>
#include <string_view>

// Text is UTF-8 inside the program and UTF-16 at the edge to the OS.
std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);
