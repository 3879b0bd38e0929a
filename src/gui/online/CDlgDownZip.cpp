#include "online/CDlgDownZip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

CDlgDownZip::CDlgDownZip(const DownloadEnvironment& env, const ChosenDay& day, QWidget* parent)
    : FetchJobDialog("下載資料", parent), env_(env), day_(day) {
  status_->setMinimumWidth(260);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(bar_);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}

void CDlgDownZip::RunDownload() {
  if (!ClaimJob()) return;
  result_ = RunDayDownload(env_, day_, *this);
  if (result_.archiveDownloaded) accept();
}

}  // namespace kestrel
