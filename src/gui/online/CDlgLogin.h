#pragma once

#include <QDialog>
#include <QTimer>

#include "online/ServiceLogin.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrel {

// The login dialog: account and password, the remember box and a status line.
// "登入" runs the login from a short one-shot timer, so the dialog has painted
// before the fetches block the thread; the dialog closes once logged in.
class CDlgLogin : public QDialog, private LoginView {
  Q_OBJECT

 public:
  // Fills the account field from the remembered account of setup.ini.
  CDlgLogin(const LoginEnvironment& env, AccountState& account, QWidget* parent = nullptr);

  // The login with the fields as they are now (the timer's work).
  void RunLogin();

  // Of the last login run; loggedIn is false before the first.
  const LoginResult& Result() const { return result_; }
  QString StatusText() const;

  // Milliseconds between "登入" and the login run.
  static constexpr int kLoginDelayMs = 150;

 signals:
  // Every text put into the status line, in order (an empty one clears it).
  void StatusShown(const QString& text);

 public slots:
  void done(int result) override;

 private:
  void ShowStatus(const std::string& text) override;
  void OnLoginClicked();

  LoginEnvironment env_;
  AccountState& account_;
  LoginResult result_;
  QTimer loginTimer_;
  QLineEdit* id_ = nullptr;
  QLineEdit* password_ = nullptr;
  QCheckBox* remember_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* login_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace kestrel
