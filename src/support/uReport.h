#pragma once

#include <string>

// Notes of failures that their caller survives: a handler, a callback or a
// thread body caught what it could not handle and went on. They go where the
// platform keeps such notes (the debugger output on Windows, the error stream
// elsewhere); nothing in the program reads them.

// Names the exception in flight; call it inside a catch block, from any thread.
void ReportSwallowedException(const char* where) noexcept;

// Where the notes go from now on; returns where they went before.
using TReportWriter = void (*)(const std::string& text);
TReportWriter SetReportWriter(TReportWriter writer) noexcept;

// Runs body; what it throws is reported as a failure at where, and false returned.
template <class TBody>
bool RunReported(const char* where, TBody&& body) noexcept {
  try {
    body();
    return true;
  } catch (...) {
    ReportSwallowedException(where);
    return false;
  }
}
