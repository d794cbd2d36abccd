#pragma once
// The program's main window on the real window platform, made afresh for each test of a
// fixture: its settings live under a registry key of the fixture's own, removed at the end,
// and the end of a scan or a deletion is awaited through the user-interface thread's queue, as
// the program receives it. Fakes a fixture puts in place are its own members: they are made
// before the window and outlive it.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/mapp.h"
#include "base/utf8_path.h"
#include "frame/mwin.h"
#include "views/mvwl.h"

namespace kelvane::testing_fakes {

class ProgramWindowTest : public ::testing::Test {
 protected:
  explicit ProgramWindowTest(std::string key) : key_(std::move(key)) {}

  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    CguiSources sources;
    sources.key = key_;
    sources.use_environment_temp = false;
    app = std::make_unique<mapp>(sources);
    ASSERT_TRUE(app->create_main_window(std::make_unique<mwin>()));
    app->frame()->show(SW_SHOWNOACTIVATE);
    left = app->frame()->left_view();
    ASSERT_NE(left, nullptr);
  }
  void TearDown() override {
    if (app) {
      app->mdir.stop_scan();
      app->pump();
      app->free_main_window();
      app.reset();
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, widen(key_).c_str());
  }

  // Runs the queue until the scan or deletion has ended, for a minute at most.
  void settle() {
    const ULONGLONG limit = GetTickCount64() + 60000;
    while (app->busy.load() != 0 && GetTickCount64() < limit) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      app->pump();
    }
    ASSERT_EQ(app->busy.load(), 0);
  }
  // A scan of path as the path field and Enter start it.
  void scan(const std::string& path) {
    left->OnEnumDir(path);
    settle();
  }
  std::vector<std::string> rows() {
    std::vector<std::string> names;
    for (int r = 0; r < left->list().rows(); ++r) names.push_back(left->list().row_name(r));
    return names;
  }

  std::unique_ptr<mapp> app;
  mvwl* left = nullptr;

 private:
  std::string key_;
};

}  // namespace kelvane::testing_fakes
