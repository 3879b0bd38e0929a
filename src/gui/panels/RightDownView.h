#pragma once

#include <QTableView>
#include <QTimer>
#include <functional>

namespace kestrel {

class TickListTableModel;
struct ColourSettings;

// The tick detail list (right row 3). It also owns the replay's 10 ms
// heartbeat timer, which calls `onHeartbeat` on the UI thread.
class CRightDownView : public QTableView {
  Q_OBJECT

 public:
  CRightDownView(TickListTableModel& model, const ColourSettings& colours,
                 QWidget* parent = nullptr);

  void StartHeartbeat();
  void StopHeartbeat();
  bool HeartbeatActive() const { return heartbeat_.isActive(); }
  void SetHeartbeatHandler(std::function<void()> handler) { onHeartbeat_ = std::move(handler); }
  const QTimer& HeartbeatTimer() const { return heartbeat_; }

  // Keeps a row visible (the last in bottom-up mode, the first otherwise).
  void ScrollToRow(int row);
  // The colour scheme changed: background repainted from TICK_COLOR_BK.
  void ApplyColours();

  // Column widths for a client width w: 80, then (w - 80) / 5 three times,
  // that less 10, that plus 4, and the hidden column 0.
  static int ColumnWidth(int column, int clientWidth);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void SetColumnWidths();

  TickListTableModel& model_;
  const ColourSettings& colours_;
  QTimer heartbeat_;
  std::function<void()> onHeartbeat_;
};

}  // namespace kestrel
