#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <typeinfo>

namespace kestrel::test {

// Answers the modal dialogs of a flow in the order they are expected: each
// step runs once on the first modal dialog of its type. A modal dialog that no
// step expects fails the test and is closed, so a broken flow never hangs.
class ModalDriver {
 public:
  ModalDriver() {
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
  }
  ~ModalDriver() {
    timer_.stop();
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " expected dialog(s) never opened, first "
                                << steps_.front().name;
  }

  template <typename Dialog>
  ModalDriver& Then(std::function<void(Dialog&)> step) {
    steps_.push_back({typeid(Dialog).name(),
                      [](QWidget* w) { return qobject_cast<Dialog*>(w) != nullptr; },
                      [step](QWidget* w) { step(*qobject_cast<Dialog*>(w)); }});
    return *this;
  }

 private:
  struct Step {
    std::string name;
    std::function<bool(QWidget*)> matches;
    std::function<void(QWidget*)> run;
  };

  void Tick() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || busy_) return;
    if (steps_.empty() || !steps_.front().matches(modal)) {
      ADD_FAILURE() << "unexpected modal dialog " << typeid(*modal).name();
      if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
      return;
    }
    const Step step = steps_.front();
    steps_.pop_front();
    busy_ = true;  // a step may block in a fetch run of its own
    step.run(modal);
    busy_ = false;
  }

  QTimer timer_;
  std::deque<Step> steps_;
  bool busy_ = false;
};

}  // namespace kestrel::test
