#pragma once
// The main window built as start-up builds it, in a fresh working directory
// of its own, with instant pauses, a fixed clock and scripted requesters.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "maker/project/new_project.h"
#include "maker/project/records.h"
#include "maker/resource_editors.h"
#include "maker/shell/main_loop.h"
#include "maker/shell/main_window.h"
#include "maker/shell/resource_browser.h"
#include "toolkit/testing.h"
#include "toolkit/toolkit.h"

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char old[PATH_MAX];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    old_dir_ = old;
    char tmpl[] = "/tmp/quillop-shell-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ASSERT_EQ(chdir(dir_.c_str()), 0);

    tk::set_test_mode(true);
    tk::set_instant_pause(true);
    tk::set_clock([] { return tk::TimeOfDay{9, 5, 3}; });
    reset_program_values();
    clear_resource_lists();
    ask_ = std::make_unique<tk::test::ScriptedRequesters>();

    connect_resource_editors();
    build_main_window();
    add_main_shortcuts();
    new_project();
    tk::process_pending();
    tk::clear_events();
    rebuild_resource_panel();
  }

  void TearDown() override {
    if (ask_) {
      EXPECT_EQ(ask_->unanswered(), 0) << "answers left over";
    }
    ask_.reset();
    tk::close_all_windows();
    tk::clear_events();
    tk::set_clock(nullptr);
    clear_resource_lists();
    EXPECT_EQ(chdir(old_dir_.c_str()), 0);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  // Handles every queued event as the main loop does.
  static void run_loop() {
    for (int round = 0; round < 10; ++round) {
      std::vector<tk::Event> events = tk::test::take_events();
      if (events.empty()) return;
      for (const tk::Event& e : events) handle_main_event(e);
    }
  }

  static std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // The entries of one kind, in list order.
  static std::vector<ResourceEntry> entries_of(const std::string& kind) {
    std::vector<ResourceEntry> out;
    for (const ResourceEntry& e : g_resource_entries)
      if (e.kind == kind) out.push_back(e);
    return out;
  }
  // The card widget of the resource `name`; -1 when it has none.
  static int card_of(const std::string& name) {
    for (const ResourceEntry& e : g_resource_entries)
      if (e.name == name && e.popup_menu != -1) return e.widget;
    return -1;
  }
  // Brings the tab holding the browser widget to the front, as a user does
  // before clicking it; returns the widget.
  static int shown(int widget) {
    for (const ResourceEntry& e : g_resource_entries)
      if (e.widget == widget)
        for (size_t k = 0; k < resource_kinds().size(); ++k)
          if (e.kind == resource_kinds()[k].kind) tk::set_state(kResourcePanel, int(k));
    tk::process_pending();
    return widget;
  }
  static int marked_entries() {
    int n = 0;
    for (const ResourceEntry& e : g_resource_entries) n += e.menu_target;
    return n;
  }

  std::unique_ptr<tk::test::ScriptedRequesters> ask_;
  std::string old_dir_, dir_;
};
