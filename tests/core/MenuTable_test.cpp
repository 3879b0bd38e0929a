#include "app/MenuTable.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrel {
namespace {

void Collect(const std::vector<MenuEntry>& entries, std::multiset<int>* ids) {
  for (const MenuEntry& e : entries) {
    if (e.kind == MenuEntry::Command) ids->insert(e.id);
    if (e.kind == MenuEntry::Submenu) Collect(e.children, ids);
  }
}

TEST(MenuTable, EveryAcceleratorNamesAMenuItemWithThatKey) {
  for (const Accelerator& a : Accelerators()) {
    const MenuEntry* e = FindMenuCommand(a.id);
    ASSERT_NE(e, nullptr) << a.key;
    EXPECT_EQ(e->key, a.key) << e->text;
  }
}

TEST(MenuTable, CommandsAppearOnceExceptTheSharedChartItems) {
  std::multiset<int> ids;
  Collect(MenuBar(), &ids);
  const std::set<int> shared = {32977, 32970, 32951, 32940, 32941, 32942, 32943, 33107, 33108};
  for (int id : std::set<int>(ids.begin(), ids.end())) {
    EXPECT_EQ(ids.count(id), shared.count(id) ? 2u : 1u) << id;
  }
  for (int id : {32788, 32897, 33009, 57664, 32987}) {
    EXPECT_EQ(ids.count(id), id == 32987 ? 0u : 1u) << id;  // 32987 has no menu item
  }
}

TEST(MenuTable, TopLevelMenusAndRenamedDownload) {
  std::vector<std::string> titles;
  for (const MenuEntry& e : MenuBar()) titles.push_back(e.text);
  EXPECT_EQ(titles,
            (std::vector<std::string>{"資料下載(&F)", "盤勢操作(&O)", "視窗管理(&W)", "走勢圖I",
                                      "走勢圖II", "分析視窗", "繪圖功能", "進階設定(&A)",
                                      "交易設定(&T)", "群組功能(&G)", "說明(&H)"}));
  EXPECT_EQ(FindMenuCommand(32824)->text, "下載盤勢");
  EXPECT_TRUE(FindMenuCommand(33046)->explanation);
}

TEST(MenuTable, ToolBarAndPopups) {
  ASSERT_EQ(ToolBar().size(), 9u);
  EXPECT_STREQ(ToolBar()[0].text, "  日 期  ");
  EXPECT_EQ(ToolBar()[2].id, 0);
  EXPECT_EQ(ToolBar()[8].id, 32817);
  EXPECT_EQ(SpeedPopup().back().id, 33009);
  EXPECT_EQ(SpeedPopup()[0].text, "正常速度");
  EXPECT_EQ(PatternPopup().back().id, 32997);
}

}  // namespace
}  // namespace kestrel
