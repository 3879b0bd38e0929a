#pragma once

#include <QStatusBar>
#include <QString>
#include <array>

namespace kestrel {

// The owner-drawn status bar: four panes on black, each with its own text,
// text colour and field colour. Pane widths come from the window.
class CColoredStatusBarCtrl : public QStatusBar {
  Q_OBJECT

 public:
  static constexpr int kPanes = 4;

  explicit CColoredStatusBarCtrl(QWidget* parent = nullptr);

  // Colours are 0x00BBGGRR values; a field of -1 is the black background.
  void SetPane(int pane, const QString& text, int32_t textColour, int32_t fieldColour = -1);
  void SetPaneWidth(int pane, int width);
  int PaneWidth(int pane) const { return panes_[static_cast<size_t>(pane)].width; }
  QString PaneText(int pane) const { return panes_[static_cast<size_t>(pane)].text; }
  int32_t PaneTextColour(int pane) const { return panes_[static_cast<size_t>(pane)].textColour; }
  // Pane 0 shows a command's prompt while a menu item is highlighted.
  QString PromptText() const { return prompt_; }

  // The pane under a point of the bar, -1 for none.
  int PaneAt(const QPoint& point) const;

 signals:
  void paneClicked(int pane);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  QSize sizeHint() const override;

 private:
  struct Pane {
    QString text;
    int32_t textColour = 0x00FF00;
    int32_t fieldColour = -1;
    int width = 40;
  };
  QRect PaneRect(int pane) const;

  std::array<Pane, kPanes> panes_;
  QString prompt_;
};

// A 0x00BBGGRR colour as an opaque QColor.
QColor ColourFromRef(int32_t colour);

}  // namespace kestrel
