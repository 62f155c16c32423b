// The find bar: a search field with the match count, laid over the top right
// corner of a scroll box's visible part, so the diagram keeps its place under
// it. The bar only reports what the user asks for; the owner searches,
// selects and writes the count back.
//
// Typing reports the text. Enter and F3 ask for the next match, Shift with
// either for the one before; Esc or the close button hide the bar.
#pragma once

#include <QFrame>

class QAbstractScrollArea;
class QLabel;
class QLineEdit;

class TFindBar : public QFrame {
  Q_OBJECT

 public:
  // The bar lies over the scroll box's viewport, hidden until Open().
  explicit TFindBar(QAbstractScrollArea& over);

  // Shows the bar with the focus in its field, the text there selected.
  void Open();
  QString Text() const;
  // "position of total" (position 1-based), "No match" for a text that
  // matches nothing, nothing for an empty text.
  void ShowCount(int position, int total);

 signals:
  void textChanged(const QString& text);
  void nextRequested(bool backwards);
  void closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Place();
  void Close();

  QAbstractScrollArea& over_;
  QLineEdit* field_ = nullptr;
  QLabel* count_ = nullptr;
};
