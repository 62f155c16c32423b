// The interpretation bar's compact form for more interpretations than
// buttons fit: "Interpretation [n] of N" with previous and next. Choosing an
// interpretation here does what pressing its button would.
#pragma once

#include <QWidget>

class QLabel;
class QSpinBox;
class QToolButton;

// Beyond this many interpretations the bar shows the navigator.
inline constexpr size_t kInterpretationButtonLimit = 50;

class TInterpretationNavigator : public QWidget {
  Q_OBJECT

 public:
  // For `count` interpretations, the first one shown.
  TInterpretationNavigator(size_t count, QWidget* parent = nullptr);

  // The 0-based index shown.
  int Current() const;
  // Shows interpretation `index` (0-based) and announces it when it changes.
  void Choose(int index);

 signals:
  // The user chose another interpretation (0-based).
  void interpretationChosen(int index);

 private:
  void changed(int value);

  QToolButton* previous_ = nullptr;
  QSpinBox* number_ = nullptr;
  QLabel* total_ = nullptr;
  QToolButton* next_ = nullptr;
};
