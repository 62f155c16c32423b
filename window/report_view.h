// A read-only view of many text lines: the file text of the F&ile page and
// the report of the T&heory page. It
// keeps the lines as they are (byte strings, shared with the document) and
// draws only those in sight, so a report of a million lines shows at once
// and scrolls as smoothly as a short one; lines the report writes when read
// are written only when they come into sight. Lines are selected whole with the
// mouse or the keyboard and copied with Ctrl+C.
#pragma once

#include <QAbstractScrollArea>
#include <memory>
#include <string>
#include <vector>

#include "refresh/report_text.h"

class TReportView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit TReportView(QWidget* parent = nullptr);

  void SetLines(std::shared_ptr<const std::vector<std::string>> lines);
  void SetLines(std::shared_ptr<const TReportText> lines);
  void Clear();
  size_t LineCount() const { return lines_->size(); }
  // The first line in sight (0-based).
  size_t FirstVisibleLine() const;
  // The lines joined by line feeds, as a text view's plain text reads.
  QString toPlainText() const;
  // The selected lines joined by line feeds; empty when none is selected.
  QString SelectedText() const;
  void SelectAll();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  int LineHeight() const;
  int VisibleLines() const;
  // The line under a point of the viewport, clamped to the lines there are.
  long long LineAt(int y) const;
  void UpdateScrollBars();
  void MeasureWidth();
  void Select(long long anchor, long long current);

  std::shared_ptr<const TReportText> lines_;
  int contentWidth_ = 0;
  long long anchor_ = -1;   // first line selected by the mouse or keyboard
  long long current_ = -1;  // the other end of the selection
};
