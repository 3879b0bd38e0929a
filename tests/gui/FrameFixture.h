#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QSplitter>
#include <filesystem>
#include <memory>

#include "app/AppConfig.h"
#include "app/MainFrame.h"
#include "app/TrainerContext.h"
#include "common/Clock.h"
#include "common/Prompter.h"

namespace kestrel::test {

// A fresh, empty folder per test, under the build tree.
inline std::filesystem::path FreshGuiDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name)
    if (c == '/') c = '_';
  const std::filesystem::path dir = std::filesystem::path(KESTREL_GUI_TEST_TMP) / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

// A main window on a manual clock, scripted prompts and waits that only count,
// shown offscreen at a chosen size.
class FrameFixture : public ::testing::Test {
 protected:
  AppConfig Config() {
    work = FreshGuiDir();
    AppConfig config = DefaultAppConfig(Folders::FromWork(work));
    config.folders.CreateAll();
    return config;
  }

  void Make(AppConfig config, int screenWidth = 1920, QSize size = {1600, 900}) {
    prompter.fallback = PromptAnswer::Ok;
    FrameServices services{&clock, &sleeper, &prompter, screenWidth};
    frame = std::make_unique<CMainFrame>(std::move(config), services);
    frame->resize(size);
    frame->show();
    QApplication::processEvents();
  }
  void Make() { Make(Config()); }

  TrainerContext& Ctx() { return frame->Context(); }
  int Height(int column, int row) {
    QWidget* pane = frame->Pane(column, row);
    return pane->isVisible() ? pane->height() : 0;
  }
  bool Shown(int column, int row) { return frame->Pane(column, row)->isVisible(); }

  std::filesystem::path work;
  ManualClock clock{5000};
  RecordingSleeper sleeper{&clock};
  ScriptedPrompter prompter;
  std::unique_ptr<CMainFrame> frame;
};

}  // namespace kestrel::test
