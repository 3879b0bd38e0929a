#pragma once

#include <QDialog>

#include "online/AccountState.h"

class QLabel;

namespace kestrel {

// The About box: the product line, the program's icon, the user and the
// account's expiry date; "確定" closes it.
class CDlgAbout : public QDialog {
  Q_OBJECT

 public:
  explicit CDlgAbout(const AccountState& account, QWidget* parent = nullptr);

  QString AccountText() const;

 private:
  QLabel* account_ = nullptr;
};

}  // namespace kestrel
