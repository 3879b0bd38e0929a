#pragma once

#include <QAbstractTableModel>
#include "panels/TickListModel.h"

namespace kestrel {

struct ColourSettings;

// The core tick list as a Qt table model. Rows inserted while the list's
// redrawing is off are announced together when it is switched back on, so a
// heartbeat at high speed (or a whole fast playback) costs the view one
// insertion. UI thread only.
class TickListTableModel final : public QAbstractTableModel, public TickListObserver {
  Q_OBJECT

 public:
  TickListTableModel(TickListModel& list, const ColourSettings& colours, QObject* parent = nullptr);
  ~TickListTableModel() override;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Colour (0x00BBGGRR) of a cell from the row's colour code.
  static int32_t CellColour(const ColourSettings& colours, int32_t code, int column);

  // Announces rows held back while redrawing was off.
  void Flush();
  bool RedrawOn() const { return redrawOn_; }

  // TickListObserver
  void BeginInsertRows(int32_t first, int32_t last) override;
  void EndInsertRows() override;
  void BeginRemoveRows(int32_t first, int32_t last) override;
  void EndRemoveRows() override;
  void BeginReset() override;
  void EndReset() override;
  void SetRedraw(bool on) override;

 private:
  // The core row shown at a model row (held-back rows sit at the insertion end).
  int32_t CoreRow(int row) const;

  TickListModel& list_;
  const ColourSettings& colours_;
  int32_t shown_ = 0;    // rows the view knows of
  int32_t pending_ = 0;  // rows inserted but not yet announced
  bool redrawOn_ = true;
  bool deferring_ = false;  // inside a Begin/EndInsertRows that is held back
};

}  // namespace kestrel
