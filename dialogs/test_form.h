// The developer test window of the matcher: a pattern, a target, and the
// bindings of the pattern's variables.
#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;
class QTextEdit;

class TTestForm : public QWidget {
  Q_OBJECT

 public:
  explicit TTestForm(QWidget* parent = nullptr);

  QLineEdit* Edit1;    // pattern
  QLineEdit* Edit2;    // target
  QPushButton* Button1;
  QTextEdit* RichEdit1;

  // Lists the pattern's variables and, when the pattern matches the target,
  // each variable's binding.
  void Button1Click();
};
