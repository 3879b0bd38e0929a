#include "app/CommandActions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "widgets/Fonts.h"

namespace kestrel {

namespace {

constexpr int kToolButtonSize = 43;

QKeySequence KeyOf(const std::string& key) {
  if (key == "Space") return QKeySequence(Qt::Key_Space);
  if (key == "Tab") return QKeySequence(Qt::Key_Tab);
  return QKeySequence(QString::fromStdString(key));
}

}  // namespace

QString CommandPrompt(int id) {
  switch (id) {
    case kCmdOpenSession: return "開始進行盤勢模擬";
    case kCmdPauseSession: return "暫停盤勢";
    case kCmdResumeSession: return "繼續盤勢";
    case kCmdEndSession: return "結束盤勢";
    case kCmdSmoothMode: return "VIP模式，無塞單現象";
    case kCmdNormalMode: return "正常模式，有塞單狀況";
    case kCmdFastPlayback: return "快速檢視完整盤勢";
    case kCmdSpeedMenu: return "設定盤勢進行速度\n設定盤勢進行速度";
    default: return {};
  }
}

CommandActions::CommandActions(QMainWindow& window, Runner run, StateOf state)
    : QObject(&window), window_(window), run_(std::move(run)), state_(std::move(state)) {}

QAction* CommandActions::MakeAction(const MenuEntry& entry, QObject* owner) {
  auto* action = new QAction(QString::fromStdString(entry.text), owner);
  const int id = entry.id;
  const QString prompt = CommandPrompt(id);
  if (!prompt.isEmpty()) {
    action->setStatusTip(prompt.section('\n', 0, 0));
    action->setToolTip(prompt.section('\n', -1));
  }
  connect(action, &QAction::triggered, this, [this, id] { run_(id); });
  actions_.emplace(id, action);
  return action;
}

void CommandActions::AddEntries(QMenu& menu, const std::vector<MenuEntry>& entries, bool menuBar) {
  for (const MenuEntry& e : entries) {
    switch (e.kind) {
      case MenuEntry::Separator: menu.addSeparator(); break;
      case MenuEntry::Submenu: {
        QMenu* sub = menu.addMenu(QString::fromStdString(e.text));
        connect(sub, &QMenu::aboutToShow, this, &CommandActions::Refresh);
        AddEntries(*sub, e.children, menuBar);
        break;
      }
      case MenuEntry::Command: {
        QAction* action = MakeAction(e, &menu);
        menu.addAction(action);
        if (menuBar) menuActions_.emplace(e.id, action);
        break;
      }
    }
  }
}

void CommandActions::BuildMenuBar(QMenuBar& bar) {
  for (const MenuEntry& top : MenuBar()) {
    QMenu* menu = bar.addMenu(QString::fromStdString(top.text));
    connect(menu, &QMenu::aboutToShow, this, &CommandActions::Refresh);
    AddEntries(*menu, top.children, true);
  }
}

void CommandActions::BuildToolBar(QToolBar& bar) {
  bar.setFont(AppQFont(2));
  bar.setMovable(false);
  bar.setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar.setIconSize(QSize(16, 21));
  patternMenu_ = new QMenu(&bar);
  speedMenu_ = new QMenu(&bar);
  connect(patternMenu_, &QMenu::aboutToShow, this, &CommandActions::Refresh);
  connect(speedMenu_, &QMenu::aboutToShow, this, &CommandActions::Refresh);
  AddEntries(*patternMenu_, PatternPopup(), false);
  AddEntries(*speedMenu_, SpeedPopup(), false);
  for (const ToolButton& b : ToolBar()) {
    if (b.id == 0) {
      bar.addSeparator();
      continue;
    }
    MenuEntry entry;
    entry.id = b.id;
    entry.text = b.text;
    QAction* action = MakeAction(entry, &bar);
    bar.addAction(action);
    toolActions_.emplace(b.id, action);
    auto* button = qobject_cast<QToolButton*>(bar.widgetForAction(action));
    if (button == nullptr) continue;
    button->setMinimumSize(kToolButtonSize, kToolButtonSize);
    button->setAutoRaise(true);
    toolButtons_.emplace(b.id, button);
  }
}

void CommandActions::BuildAccelerators() {
  // Window-wide keys that are always live: the command itself checks its rule,
  // so a key arriving before the menus were refreshed is still judged right.
  for (const Accelerator& a : Accelerators()) {
    auto* action = new QAction(&window_);
    action->setShortcut(KeyOf(a.key));
    action->setShortcutContext(Qt::WindowShortcut);
    const int id = a.id;
    connect(action, &QAction::triggered, this, [this, id] { run_(id); });
    window_.addAction(action);
  }
}

void CommandActions::Refresh() {
  for (auto& [id, action] : actions_) {
    const FrameCommandState s = state_(id);
    action->setCheckable(s.checkable);
    action->setEnabled(s.enabled);
    if (s.checkable) action->setChecked(s.checked);
  }
}

std::vector<QAction*> CommandActions::ActionsOf(int id) const {
  std::vector<QAction*> out;
  auto [from, to] = actions_.equal_range(id);
  for (auto it = from; it != to; ++it) out.push_back(it->second);
  return out;
}

QAction* CommandActions::MenuAction(int id) const {
  auto it = menuActions_.find(id);
  return it == menuActions_.end() ? nullptr : it->second;
}

QAction* CommandActions::ToolAction(int id) const {
  auto it = toolActions_.find(id);
  return it == toolActions_.end() ? nullptr : it->second;
}

QToolButton* CommandActions::ToolButtonOf(int id) const {
  auto it = toolButtons_.find(id);
  return it == toolButtons_.end() ? nullptr : it->second;
}

}  // namespace kestrel
