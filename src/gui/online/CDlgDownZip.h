#pragma once

#include "online/DayDownload.h"
#include "online/FetchJobDialog.h"

namespace kestrel {

// The day download dialog: the whole download runs in one pass; on success
// the dialog closes itself, after a stop it waits for "關閉" with the stop's
// text.
class CDlgDownZip : public FetchJobDialog, private DownloadView {
  Q_OBJECT

 public:
  CDlgDownZip(const DownloadEnvironment& env, const ChosenDay& day, QWidget* parent = nullptr);

  // The download (the timer's work); runs at most once.
  void RunDownload();

  // Of the download; nothing downloaded when it never ran.
  const DownloadResult& Result() const { return result_; }

 private:
  void RunJob() override { RunDownload(); }
  void SetStatus(const std::string& text) override { ShowStatus(text); }
  void SetRange(uint64_t maximum) override { Progress().SetRange(maximum); }
  void SetPosition(uint64_t position) override { Progress().SetPosition(position); }

  DownloadEnvironment env_;
  ChosenDay day_;
  DownloadResult result_;
};

}  // namespace kestrel
