#include "classroom/StudentWindow.h"

#include "classroom/HandOffQueue.h"
#include "common/Prompter.h"

namespace kestrel {

bool HandleLoadRequest(StudentSession& session, const DownloadResult& download) {
  if (session.SessionRunning()) return false;
  return session.Load(download);
}

bool HandleOpenRequest(StudentSession& session) {
  if (session.SessionRunning()) return true;
  if (!session.DayLoaded()) return false;
  session.Open();
  return session.SessionRunning();
}

bool HandleEndRequest(StudentSession& session) {
  if (!session.SessionRunning()) return true;
  session.End();
  return !session.SessionRunning();
}

bool QueuedStudentWindow::LoadDay(const DownloadResult& download) {
  bool loaded = false;
  return queue_.Call([&] { loaded = HandleLoadRequest(session_, download); }) && loaded;
}

bool QueuedStudentWindow::OpenSession() {
  bool open = false;
  return queue_.Call([&] { open = HandleOpenRequest(session_); }) && open;
}

bool QueuedStudentWindow::EndSession() {
  bool ended = false;
  return queue_.Call([&] { ended = HandleEndRequest(session_); }) && ended;
}

SessionFigures QueuedStudentWindow::Figures() {
  SessionFigures figures;
  queue_.Call([&] { figures = session_.Figures(); });
  return figures;
}

void QueuedStudentWindow::ShowMessage(const std::string& text, const std::string& caption) {
  queue_.Call([&] { prompter_.Message(text, caption); });
}

void QueuedStudentWindow::Abandon() {
  queue_.Abandon();
}

}  // namespace kestrel
