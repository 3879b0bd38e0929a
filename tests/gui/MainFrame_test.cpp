#include "app/MainFrame.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(MainFrame, TitleAndMinimumSize) {
  AppConfig config;
  CMainFrame frame(config);
  EXPECT_EQ(frame.windowTitle().toStdString(), "Kestrel");
  EXPECT_EQ(frame.minimumSize(), QSize(800, 600));
}

}  // namespace
}  // namespace kestrel
