#pragma once

#include <windows.h>

// Windows takes only its known DLLs from its own folder whatever the search order says; any other
// DLL a program imports is looked for beside the program first, where a downloads folder may hold
// a planted one. Such DLLs, and functions newer than the oldest Windows the program runs on, are
// loaded here at run time from the system folder only.

// Makes every later load search the system folder only (where Windows offers the switch).
void RestrictDllSearchToSystemFolder();

// The module of a DLL in the system folder, or null when it is missing. Modules stay loaded for the
// program's life, so callers keep what they find in a static.
HMODULE SystemLibrary(const wchar_t* name);

// A function of a DLL in the system folder, or null when the DLL or the function is missing.
template <typename TFunction>
TFunction* SystemFunction(const wchar_t* library, const char* name) {
  const HMODULE module = SystemLibrary(library);
  return module
             ? reinterpret_cast<TFunction*>(reinterpret_cast<void*>(GetProcAddress(module, name)))
             : nullptr;
}
