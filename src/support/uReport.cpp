#include "support/uReport.h"

#include <atomic>
#include <cstdio>
#include <exception>

namespace {

void WriteToErrorStream(const std::string& text) { std::fputs(text.c_str(), stderr); }

std::atomic<TReportWriter> gWriter{&WriteToErrorStream};

}  // namespace

void ReportSwallowedException(const char* where) noexcept {
  try {
    std::string text = std::string("Quorvel: exception in ") + where + ": ";
    try {
      throw;
    } catch (const std::exception& e) {
      text += e.what();
    } catch (...) {
      text += "unknown";
    }
    gWriter.load()(text + "\n");
  } catch (...) {
    // Out of memory for the note itself: nothing more can be said.
  }
}

TReportWriter SetReportWriter(TReportWriter writer) noexcept { return gWriter.exchange(writer); }
