#include "widgets/ColoredStatusBar.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "widgets/Fonts.h"

namespace kestrel {

QColor ColourFromRef(int32_t colour) {
  const auto c = static_cast<uint32_t>(colour);
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
}

CColoredStatusBarCtrl::CColoredStatusBarCtrl(QWidget* parent) : QStatusBar(parent) {
  setFont(AppQFont(5));
  setSizeGripEnabled(false);
  panes_[2].width = 60;
  panes_[3].width = 120;
  // The framework's prompt of the highlighted command goes to pane 0.
  connect(this, &QStatusBar::messageChanged, this, [this](const QString& message) {
    prompt_ = message.section('\n', 0, 0);
    update();
  });
}

void CColoredStatusBarCtrl::SetPane(int pane, const QString& text, int32_t textColour,
                                    int32_t fieldColour) {
  if (pane < 0 || pane >= kPanes) return;
  Pane& p = panes_[static_cast<size_t>(pane)];
  if (p.text == text && p.textColour == textColour && p.fieldColour == fieldColour) return;
  p.text = text;
  p.textColour = textColour;
  p.fieldColour = fieldColour;
  update(PaneRect(pane));
}

void CColoredStatusBarCtrl::SetPaneWidth(int pane, int width) {
  if (pane < 0 || pane >= kPanes) return;
  panes_[static_cast<size_t>(pane)].width = width;
  update();
}

QRect CColoredStatusBarCtrl::PaneRect(int pane) const {
  int x = 0;
  for (int i = 0; i < pane; ++i) x += panes_[static_cast<size_t>(i)].width;
  return QRect(x, 0, panes_[static_cast<size_t>(pane)].width, height());
}

int CColoredStatusBarCtrl::PaneAt(const QPoint& point) const {
  for (int i = 0; i < kPanes; ++i)
    if (PaneRect(i).contains(point)) return i;
  return -1;
}

QSize CColoredStatusBarCtrl::sizeHint() const {
  return QSize(QStatusBar::sizeHint().width(), fontMetrics().height() + 6);
}

namespace {

// The panes have fixed widths made for narrower digits than today's fonts
// have: a text that would not fit is drawn smaller rather than cut off.
QFont FontToFit(const QFont& base, const QString& text, int width) {
  const QFontMetrics metrics(base);
  const int needed = metrics.horizontalAdvance(text);
  if (needed <= width || needed == 0) return base;
  constexpr int kSmallestPixels = 8;
  QFont font(base);
  const int pixels = base.pixelSize() > 0 ? base.pixelSize() : metrics.height();
  font.setPixelSize(std::max(kSmallestPixels, pixels * width / needed));
  return font;
}

}  // namespace

void CColoredStatusBarCtrl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  for (int i = 0; i < kPanes; ++i) {
    const Pane& pane = panes_[static_cast<size_t>(i)];
    const QRect r = PaneRect(i).adjusted(1, 1, -1, -1);
    if (pane.fieldColour >= 0) p.fillRect(r, ColourFromRef(pane.fieldColour));
    // Sunken border between panes.
    p.setPen(QColor(64, 64, 64));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const bool prompting = i == 0 && !prompt_.isEmpty();
    p.setPen(prompting ? ColourFromRef(0x00FF00) : ColourFromRef(pane.textColour));
    const QRect textRect = r.adjusted(3, 0, -2, 0);
    const QString& text = prompting ? prompt_ : pane.text;
    p.setFont(FontToFit(font(), text, textRect.width()));
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
  }
}

void CColoredStatusBarCtrl::mousePressEvent(QMouseEvent* event) {
  const int pane = PaneAt(event->position().toPoint());
  if (pane >= 0) emit paneClicked(pane);
}

}  // namespace kestrel
