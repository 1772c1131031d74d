#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/uStartup.h"
#include "config/uMemoryHive.h"
#include "config/uVarnRegistry.h"
#include "support/uTestPlatform.h"
#include "support/uWin32Platform.h"
#include "win/uPumpMessages.h"

// The program's root in this process, with the clock of the test.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallWin32Platform();
    Platform().clock = &clock;
    clock.local = {2026, 12, 0, 6, 9, 30, 0, 0};
    SetHive(TRootKey::CurrentUser, &hive);  // a first start, nothing stored
    SetHive(TRootKey::LocalMachine, &machine);
    quorvel = std::make_unique<TQuorvel>();
    PumpMessages();  // the deferred start-up: the default clock
    TDisplay* second = List().Add(dkDigitalClock);
    second->SetActive(true);
    second->Show();
  }
  void TearDown() override {
    quorvel.reset();
    SetHive(TRootKey::CurrentUser, nullptr);
    SetHive(TRootKey::LocalMachine, nullptr);
    Platform() = TPlatform{};
  }
  TDisplayList& List() { return quorvel->DisplayList(); }
  TQuorvelDisplay& Main() { return quorvel->MainWindow(); }
  int VisibleDisplays() {
    int n = 0;
    for (std::size_t i = 0; i < List().Count(); ++i) n += List()[i].IsVisible();
    return n;
  }
  LRESULT Send(UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    return SendMessageW(Main().Handle(), msg, wp, lp);
  }

  TTestClock clock;
  TMemoryHive hive;
  TMemoryHive machine;
  std::unique_ptr<TQuorvel> quorvel;
};
