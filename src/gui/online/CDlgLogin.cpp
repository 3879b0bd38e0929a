#include "online/CDlgLogin.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <ctime>

namespace kestrel {

CDlgLogin::CDlgLogin(const LoginEnvironment& env, AccountState& account, QWidget* parent)
    : QDialog(parent), env_(env), account_(account) {
  setWindowTitle("帳號登入");

  id_ = new QLineEdit(this);
  id_->setObjectName("account");
  password_ = new QLineEdit(this);
  password_->setObjectName("password");
  password_->setEchoMode(QLineEdit::Password);
  remember_ = new QCheckBox("記住帳號", this);
  remember_->setObjectName("remember");
  status_ = new QLabel(this);
  status_->setObjectName("status");
  status_->setMinimumWidth(220);
  QPalette blue = status_->palette();
  blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
  status_->setPalette(blue);
  login_ = new QPushButton("登入", this);
  login_->setObjectName("login");
  cancel_ = new QPushButton("取消", this);
  cancel_->setObjectName("cancel");
  // Enter does nothing: only the buttons act.
  for (QPushButton* b : {login_, cancel_}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel("帳　號：", this), 0, 0);
  fields->addWidget(id_, 0, 1);
  fields->addWidget(new QLabel("密　碼：", this), 1, 0);
  fields->addWidget(password_, 1, 1);
  fields->addWidget(remember_, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(login_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());

  loginTimer_.setSingleShot(true);
  loginTimer_.setInterval(kLoginDelayMs);
  connect(&loginTimer_, &QTimer::timeout, this, &CDlgLogin::RunLogin);
  connect(login_, &QPushButton::clicked, this, &CDlgLogin::OnLoginClicked);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  const LoginDialogStart start = OpenLoginDialog(env_.setupIni, account_);
  if (start.remember) {
    remember_->setChecked(true);
    id_->setText(QString::fromStdString(start.userId));
    password_->setFocus();
  }
}

QString CDlgLogin::StatusText() const {
  return status_->text();
}

void CDlgLogin::OnLoginClicked() {
  // A second press while the first waits for its timer is the same login.
  if (!loginTimer_.isActive()) loginTimer_.start();
}

void CDlgLogin::RunLogin() {
  loginTimer_.stop();
  LoginInput input;
  input.id = id_->text().toStdString();
  input.password = password_->text().toStdString();
  input.remember = remember_->isChecked();
  input.nowSeconds = static_cast<uint32_t>(std::time(nullptr));
  result_ = PressLogin(env_, input, account_, *this);
  if (result_.loggedIn) accept();
}

void CDlgLogin::ShowStatus(const std::string& text) {
  const QString shown = QString::fromStdString(text);
  status_->setText(shown);
  // The fetches that follow block the thread: paint the text now.
  status_->repaint();
  emit StatusShown(shown);
}

void CDlgLogin::done(int result) {
  loginTimer_.stop();
  QDialog::done(result);
}

}  // namespace kestrel
