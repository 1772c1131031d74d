#pragma once

#include <string>

#include "support/uWinHandles.h"

// The name of the marker shared by every running instance.
constexpr wchar_t SingleInstanceSemaphoreName[] = L"Varn Software - Quorvel";

// True when another instance runs; it has then been asked (message 1282) to
// open its preferences. Otherwise semaphore keeps the marker for this process.
bool IsAnotherInstanceRunning(TUniqueKernelHandle& semaphore, const std::wstring& firstArgument);

// The whole life of the process; returns its exit code.
int RunQuorvel();
