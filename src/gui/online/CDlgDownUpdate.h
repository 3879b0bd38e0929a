#pragma once

#include <filesystem>
#include <string>

#include "app/ServiceEndpoints.h"
#include "online/FetchJobDialog.h"
#include "online/SoftwareUpdate.h"

namespace kestrel {

class Fetcher;
class Sleeper;

// The update download dialog (199 by 50 dialog units): a centred status text,
// a progress bar on the archive fetch, "關閉". The whole update runs in one
// pass; then it waits for "關閉".
class CDlgDownUpdate : public FetchJobDialog, private UpdateView {
  Q_OBJECT

 public:
  CDlgDownUpdate(Fetcher& fetcher, Sleeper& sleeper, const ServiceBases& bases,
                 std::string updateArchiveName, std::filesystem::path programFolder,
                 QWidget* parent = nullptr);

  // The update (the timer's work); runs at most once. True when every file
  // was replaced.
  bool RunUpdate();

  // The template size in dialog units.
  static constexpr int kWidthUnits = 199;
  static constexpr int kHeightUnits = 50;

 private:
  void RunJob() override { RunUpdate(); }
  void SetStatus(const std::string& text) override { ShowStatus(text); }
  void SetRange(uint64_t maximum) override { Progress().SetRange(maximum); }
  void SetPosition(uint64_t position) override { Progress().SetPosition(position); }

  Fetcher& fetcher_;
  Sleeper& sleeper_;
  const ServiceBases& bases_;
  const std::string archiveName_;
  const std::filesystem::path programFolder_;
};

}  // namespace kestrel
