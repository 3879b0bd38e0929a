#pragma once

#include <cstdint>
#include <string>

#include "online/DayDownload.h"

namespace kestrel {

class HandOffQueue;
class Prompter;

// The figures a student reports while the session runs.
struct SessionFigures {
  int32_t dealQty = 0;      // contracts traded
  int64_t realisedPnl = 0;  // realised result
};

// What the student polling thread asks of the main window. Every call is made
// on the polling thread and returns only once the window has handled it on its
// own thread; after Abandon every call returns false (or nothing) at once.
class StudentWindow {
 public:
  virtual ~StudentWindow() = default;
  // Load the downloaded day; true only when it has loaded.
  virtual bool LoadDay(const DownloadResult& download) = 0;
  // Open the replay session; true only when it runs.
  virtual bool OpenSession() = 0;
  // End the replay session; true only when it has ended.
  virtual bool EndSession() = 0;
  virtual SessionFigures Figures() = 0;
  virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;
  // The download's status texts and progress; called on the polling thread.
  virtual DownloadView& DownloadStatus() = 0;
  // The program is closing: release a waiting call and refuse later ones.
  virtual void Abandon() {}
};

// The main window's side of the hand-offs: its session state and commands, on
// its own thread.
class StudentSession {
 public:
  virtual ~StudentSession() = default;
  virtual bool SessionRunning() const = 0;
  virtual bool DayLoaded() const = 0;
  // The loader with the downloaded archive (LoadDownloadedDay).
  virtual bool Load(const DownloadResult& download) = 0;
  // The open-session command.
  virtual void Open() = 0;
  // The end-session command in student mode; the student's answer to closing
  // the open positions may cancel it.
  virtual void End() = 0;
  virtual SessionFigures Figures() const = 0;
};

// The rules every main window applies to the hand-offs: a load while a session
// runs is refused; an open needs a loaded day (an open of a running session is
// already done); an end counts only when the session has really ended.
bool HandleLoadRequest(StudentSession& session, const DownloadResult& download);
bool HandleOpenRequest(StudentSession& session);
bool HandleEndRequest(StudentSession& session);

// A StudentWindow that runs each call on the owner of `queue`, with the rules
// above, and shows messages through `prompter` there.
class QueuedStudentWindow final : public StudentWindow {
 public:
  QueuedStudentWindow(HandOffQueue& queue, StudentSession& session, Prompter& prompter,
                      DownloadView& downloadView)
      : queue_(queue), session_(session), prompter_(prompter), downloadView_(downloadView) {}

  bool LoadDay(const DownloadResult& download) override;
  bool OpenSession() override;
  bool EndSession() override;
  SessionFigures Figures() override;
  void ShowMessage(const std::string& text, const std::string& caption) override;
  DownloadView& DownloadStatus() override { return downloadView_; }
  void Abandon() override;

 private:
  HandOffQueue& queue_;
  StudentSession& session_;
  Prompter& prompter_;
  DownloadView& downloadView_;
};

}  // namespace kestrel
