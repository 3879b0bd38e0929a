#include "online/CDlgDownUpdate.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace kestrel {

namespace {

// Dialog units to pixels as the dialogs are laid out at 96 dots per inch: an
// 8-point template font is 11 pixels high, and the average character width
// comes from the 52 Latin letters.
QSize DialogUnitsToPixels(const QFont& base, int widthUnits, int heightUnits) {
  constexpr int kFontHeight = 11;  // ⌊8 × 96 ÷ 72 + 0.5⌋
  QFont font(base);
  font.setPixelSize(kFontHeight);
  const QFontMetrics metrics(font);
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  const int average = (letters / 26 + 1) / 2;
  return QSize(static_cast<int>(widthUnits * average / 4.0 + 0.5),
               static_cast<int>(heightUnits * kFontHeight / 8.0 + 0.5));
}

}  // namespace

CDlgDownUpdate::CDlgDownUpdate(Fetcher& fetcher, Sleeper& sleeper, const ServiceBases& bases,
                               std::string updateArchiveName, std::filesystem::path programFolder,
                               QWidget* parent)
    : FetchJobDialog("下載更新檔", parent),
      fetcher_(fetcher),
      sleeper_(sleeper),
      bases_(bases),
      archiveName_(std::move(updateArchiveName)),
      programFolder_(std::move(programFolder)) {
  status_->setAlignment(Qt::AlignCenter);
  // The shaded button's tint.
  close_->setStyleSheet("background-color: rgb(55, 255, 55);");

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(6, 4, 6, 4);
  layout->setVerticalSpacing(2);
  layout->addWidget(status_, 0, 0, 1, 2);
  layout->addWidget(bar_, 1, 0);
  layout->addWidget(close_, 1, 1);
  setFixedSize(DialogUnitsToPixels(font(), kWidthUnits, kHeightUnits).expandedTo(sizeHint()));
}

bool CDlgDownUpdate::RunUpdate() {
  if (!ClaimJob()) return false;
  return kestrel::RunUpdate(fetcher_, sleeper_, bases_, archiveName_, programFolder_, *this);
}

}  // namespace kestrel
