// A panel of the main status bar: a label that keeps its whole text (text()
// returns it) but, when the bar gives it less room than the text needs,
// shows the text shortened with an ellipsis and offers the whole text as its
// tool tip. Assistive technology reads the whole text and the panel's
// description.
#pragma once

#include <QLabel>

class TStatusPanel : public QLabel {
  Q_OBJECT

 public:
  // `minimumWidth` is the width the panel keeps even when empty.
  TStatusPanel(const QString& description, int minimumWidth, QWidget* parent = nullptr);

  QSize minimumSizeHint() const override;
  // Whether the text is shown shortened at the current width.
  bool IsElided() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void UpdateToolTip();
  int minimumWidth_;
};
