#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <vector>

#include "app/CommandRules.h"
#include "app/MenuTable.h"

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class QToolButton;

namespace kestrel {

// The window's commands as Qt actions: the menu bar, the tool bar with its two
// drop-down menus and the accelerator keys, all built from the menu table.
// Every action runs `run(id)`; states come from `state(id)` on Refresh.
class CommandActions : public QObject {
  Q_OBJECT

 public:
  using Runner = std::function<void(int)>;
  using StateOf = std::function<FrameCommandState(int)>;

  CommandActions(QMainWindow& window, Runner run, StateOf state);

  void BuildMenuBar(QMenuBar& bar);
  void BuildToolBar(QToolBar& bar);
  void BuildAccelerators();

  // Enable and check every action by its rule.
  void Refresh();

  // All actions of a command (menu item, tool-bar button, pop-up item).
  std::vector<QAction*> ActionsOf(int id) const;
  QAction* MenuAction(int id) const;
  QAction* ToolAction(int id) const;
  QToolButton* ToolButtonOf(int id) const;
  QMenu* PatternMenu() const { return patternMenu_; }
  QMenu* SpeedMenu() const { return speedMenu_; }

 private:
  QAction* MakeAction(const MenuEntry& entry, QObject* owner);
  void AddEntries(QMenu& menu, const std::vector<MenuEntry>& entries, bool menuBar);

  QMainWindow& window_;
  Runner run_;
  StateOf state_;
  std::multimap<int, QAction*> actions_;
  std::map<int, QAction*> menuActions_;
  std::map<int, QAction*> toolActions_;
  std::map<int, QToolButton*> toolButtons_;
  QMenu* patternMenu_ = nullptr;
  QMenu* speedMenu_ = nullptr;
};

// The status-bar prompt of a command, empty for none.
QString CommandPrompt(int id);

}  // namespace kestrel
