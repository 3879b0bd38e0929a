#include "online/CDlgAbout.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "online/ServiceLogin.h"

namespace kestrel {

CDlgAbout::CDlgAbout(const AccountState& account, QWidget* parent) : QDialog(parent) {
  setWindowTitle("關於軟體");

  auto* icon = new QLabel(this);
  QIcon programIcon = QApplication::windowIcon();
  if (programIcon.isNull()) programIcon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
  icon->setPixmap(programIcon.pixmap(32, 32));

  auto* product = new QLabel(kProductLine, this);
  product->setObjectName("product");
  account_ = new QLabel(QString::fromStdString(AboutText(account)), this);
  account_->setObjectName("account");
  auto* ok = new QPushButton("確定", this);
  ok->setObjectName("ok");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* text = new QVBoxLayout;
  text->addWidget(product);
  text->addWidget(account_);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(icon, 0, Qt::AlignTop);
  layout->addLayout(text);
  layout->addWidget(ok, 0, Qt::AlignTop);
  setFixedSize(sizeHint());
}

QString CDlgAbout::AccountText() const {
  return account_->text();
}

}  // namespace kestrel
