#include "app/MenuTable.h"

namespace kestrel {

namespace {

MenuEntry Item(int id, std::string text, std::string key = {}) {
  MenuEntry e;
  e.id = id;
  e.text = std::move(text);
  e.key = std::move(key);
  return e;
}

MenuEntry Note(int id, std::string text) {
  MenuEntry e = Item(id, std::move(text));
  e.explanation = true;
  return e;
}

MenuEntry Sub(std::string text, std::vector<MenuEntry> children) {
  MenuEntry e;
  e.kind = MenuEntry::Submenu;
  e.text = std::move(text);
  e.children = std::move(children);
  return e;
}

MenuEntry Separator() {
  MenuEntry e;
  e.kind = MenuEntry::Separator;
  return e;
}

std::vector<MenuEntry> PatternItems() {
  return {Item(32878, "隨機日期"),
          Item(32879, "上漲盤型"),
          Item(32880, "下跌盤型"),
          Item(32881, "震盪盤型"),
          Item(32882, "殺多盤型"),
          Item(32883, "軋空盤型"),
          Separator(),
          Item(32997, "訓練盤型")};
}

std::vector<MenuEntry> SpeedItems() {
  return {Item(32800, "正常速度(Z)", "Z"), Item(32805, "兩倍速度"), Item(32806, "四倍速度"),
          Item(32807, "八倍速度"),         Item(32972, "16倍速度"), Item(32974, "32倍速度")};
}

// Chart I and chart II menus share their layout; ids differ (chart I first).
struct ChartIds {
  int modes[10];
  int volume[6];
  int scale;
  int query[4];
  int trades;
  int pivot;
};

MenuEntry ChartMenu(const std::string& title, const ChartIds& ids) {
  static const char* kModes[10] = {
      "期貨走勢 (F1)", "加權走勢 (F2)", "電子現貨 (F2)",  "金融現貨 (F2)",  "價差走勢 (F3)",
      "個股走勢 (F4)", "日Ｋ線圖(&1)",  "１分鐘Ｋ線(&2)", "５分鐘Ｋ線(&3)", "30分鐘Ｋ線(&4)"};
  static const char* kVolume[6] = {"期貨不顯示成交量", "加權不顯示成交量", "價差不顯示成交量",
                                   "個股不顯示成交量", "Ｋ線不顯示成交量", "設定成交量顯示比率"};
  std::vector<MenuEntry> items;
  for (int i = 0; i < 10; ++i) {
    if (i == 6) items.push_back(Separator());
    items.push_back(Item(ids.modes[i], kModes[i]));
  }
  items.push_back(Separator());
  items.push_back(Item(32977, "移動平均線設定"));
  std::vector<MenuEntry> volume;
  for (int i = 0; i < 6; ++i) {
    if (i == 5) volume.push_back(Separator());
    volume.push_back(Item(ids.volume[i], kVolume[i]));
  }
  items.push_back(Sub("成交量設定", std::move(volume)));
  items.push_back(Item(32970, "顏色設定功能"));
  items.push_back(Item(ids.scale, "Ｋ線縮放比例"));
  items.push_back(
      Sub("Ｋ線操作說明",
          {Note(32951, "滑鼠先點選Ｋ線圖："), Note(32940, "放大：方向鍵[↑]或[＋]"),
           Note(32941, "縮小：方向鍵[↓]或[－]"), Note(32942, "左移：方向鍵[←]或[CTRL+←]"),
           Note(32943, "右移：方向鍵[→]或[CTRL+→]")}));
  items.push_back(Separator());
  items.push_back(
      Sub("移動查價",
          {Item(ids.query[0], "開啟移動查價 (Q)"), Item(ids.query[1], "顯示垂直線"),
           Item(ids.query[2], "顯示水平線"), Item(ids.query[3], "水平線自動定位"),
           Sub("設定使用字型", {Item(33107, "使用正常字型"), Item(33108, "使用偏大字型")})}));
  items.push_back(Sub("交易點位繪製", {Item(ids.trades, "開啟Ｋ線交易點位")}));
  items.push_back(Item(ids.pivot, "顯示K線PIVOT"));
  return Sub(title, std::move(items));
}

std::vector<MenuEntry> BuildMenuBar() {
  std::vector<MenuEntry> bar;
  bar.push_back(Sub("資料下載(&F)", {Item(1025, "登入帳號"), Separator(),
                                     // Created as "開啟檔案" and renamed when the window is built.
                                     Item(32824, "下載盤勢"),
                                     Sub("盤型下載",
                                         [] {
                                           auto items = PatternItems();
                                           items.push_back(Separator());
                                           items.push_back(Item(33073, "日期範圍設定"));
                                           return items;
                                         }()),
                                     Sub("資料來源", {Item(33102, "使用真實五檔資料"),
                                                      Item(33115, "安全下載 (下載有問題請勾選)")}),
                                     Separator(), Item(57665, "離開程式(&X)")}));
  bar.push_back(Sub("盤勢操作(&O)", {Item(32788, "開盤"), Item(32790, "暫停"), Item(32791, "繼續"),
                                     Item(32792, "結束"), Separator(), Item(32982, "切換", "Space"),
                                     Separator(), Item(32778, "快速播放")}));
  bar.push_back(
      Sub("視窗管理(&W)",
          {Item(32837, "權值股票 (F5)", "F5"), Item(32948, "走勢圖Ⅰ (F6)", "F6"),
           Item(33037, "分析視窗 (F7)", "F7"), Item(32853, "委託回報 (F8)", "F8"),
           Item(33020, "指數視窗 (TAB)", "Tab"), Separator(),
           Sub("顏色設定功能",
               {Item(33066, "全視窗黑底顏色"), Item(33068, "全視窗白底顏色"), Separator(),
                Item(33051, "Ｋ線圖顏色"), Item(33055, "江波圖顏色"), Item(33053, "個股列表顏色"),
                Item(33057, "指數圖顏色"), Item(33060, "成交回報顏色"), Item(33062, "交易明細顏色"),
                Item(33064, "技術分析圖顏色")}),
           Separator(), Item(59393, "狀態列(&S)")}));
  bar.push_back(
      ChartMenu("走勢圖I", {{32925, 32926, 33030, 33031, 32927, 32928, 32929, 32930, 32931, 33007},
                            {32932, 32933, 32934, 32935, 32936, 32938},
                            32945,
                            {32958, 32959, 32989, 32993},
                            33011,
                            33047}));
  bar.push_back(
      ChartMenu("走勢圖II", {{32826, 32825, 33027, 33029, 32827, 32833, 32860, 32861, 32862, 33006},
                             {32916, 32917, 32918, 32919, 32921, 32922},
                             32946,
                             {32961, 32960, 32991, 32995},
                             33014,
                             33048}));
  bar.push_back(
      Sub("分析視窗", {Item(33038, "價差走勢"), Item(33040, "KD指標"), Item(33041, "MACD指標"),
                       Separator(), Item(33043, "KD參數設定"), Item(33044, "MACD參數設定"),
                       Separator(), Sub("設定說明", {Note(33046, "1. 指標僅與走勢圖II連結")})}));
  bar.push_back(
      Sub("繪圖功能", {Item(33085, "正常模式"), Item(33086, "線條模式 (T)", "T"),
                       Item(33087, "矩型模式 (Y)", "Y"), Separator(), Item(33091, "刪除上個繪圖"),
                       Item(33088, "刪除全部繪圖"), Separator(), Item(33089, "設定繪圖參數")}));
  bar.push_back(Sub("進階設定(&A)",
                    {Sub("模擬速度",
                         [] {
                           auto items = SpeedItems();
                           items.push_back(Separator());
                           items.push_back(Item(33009, "時間回溯(&R)", "R"));
                           items.push_back(Separator());
                           items.push_back(Item(33094, "速度加快(C)", "C"));
                           items.push_back(Item(33095, "速度放慢(X)", "X"));
                           return items;
                         }()),
                     Sub("成交明細", {Item(32798, "正常模式"), Item(32797, "平滑模式"), Separator(),
                                      Item(32906, "由下往上捲"), Item(32907, "由上往下捲")}),
                     Item(32897, "隱藏日期 (H)", "H")}));
  bar.push_back(Sub(
      "交易設定(&T)",
      {Item(32869, "初始設定"), Separator(),
       Sub("下單介面", {Item(33016, "簡易介面 (S)", "S"), Item(32842, "一般介面 (G)", "G"),
                        Item(32847, "光速介面 (F)", "F"), Separator(),
                        Sub("字型設定", {Item(33077, "使用小字型"), Item(33078, "使用大字型")})}),
       Item(32846, "期貨帳戶 (A)", "A"), Separator(), Item(32963, "交易日誌 (D)", "D"),
       Item(32985, "歷史記錄")}));
  bar.push_back(Sub("群組功能(&G)", {Item(33001, "進入學員模式"), Item(33003, "講師監控視窗")}));
  bar.push_back(Sub("說明(&H)", {Item(32885, "連到首頁(&H)"), Item(32895, "軟體手冊(&M)"),
                                 Item(32903, "更新歷程(&U)"), Item(32901, "意見反應(&F)"),
                                 Separator(), Item(57664, "關於軟體(&A)...")}));
  return bar;
}

const MenuEntry* Find(const std::vector<MenuEntry>& entries, int id) {
  for (const MenuEntry& e : entries) {
    if (e.kind == MenuEntry::Command && e.id == id) return &e;
    if (e.kind == MenuEntry::Submenu)
      if (const MenuEntry* found = Find(e.children, id)) return found;
  }
  return nullptr;
}

}  // namespace

const std::vector<MenuEntry>& MenuBar() {
  static const std::vector<MenuEntry> bar = BuildMenuBar();
  return bar;
}

const std::vector<MenuEntry>& PatternPopup() {
  static const std::vector<MenuEntry> popup = PatternItems();
  return popup;
}

const std::vector<MenuEntry>& SpeedPopup() {
  static const std::vector<MenuEntry> popup = [] {
    std::vector<MenuEntry> items;
    static const char* kTexts[6] = {"正常速度", "兩倍速度", "四倍速度",
                                    "八倍速度", "16倍速度", "32倍速度"};
    const auto speeds = SpeedItems();
    for (int i = 0; i < 6; ++i) items.push_back(Item(speeds[i].id, kTexts[i]));
    items.push_back(Separator());
    items.push_back(Item(33009, "時間回溯(&R)"));
    return items;
  }();
  return popup;
}

const std::vector<Accelerator>& Accelerators() {
  static const std::vector<Accelerator> keys = {
      {"Space", 32982}, {"F5", 32837}, {"F6", 32948}, {"F7", 33037}, {"F8", 32853}, {"Tab", 33020},
      {"T", 33086},     {"Y", 33087},  {"Z", 32800},  {"R", 33009},  {"C", 33094},  {"X", 33095},
      {"H", 32897},     {"S", 33016},  {"G", 32842},  {"F", 32847},  {"A", 32846},  {"D", 32963}};
  return keys;
}

const std::vector<ToolButton>& ToolBar() {
  static const std::vector<ToolButton> buttons = {
      {32824, "  日 期  "}, {32893, "盤型"}, {0, ""}, {32788, "開盤"}, {32791, "繼續"},
      {32790, "暫停"},      {32792, "結束"}, {0, ""}, {32817, "盤速"}};
  return buttons;
}

const MenuEntry* FindMenuCommand(int id) {
  return Find(MenuBar(), id);
}

}  // namespace kestrel
