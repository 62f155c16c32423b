// TDrawForm ("DrawForm"): the auxiliary window created at start-up and never
// shown; creating it sets the diagram metrics.
#pragma once

#include <QWidget>

class TDrawForm : public QWidget {
  Q_OBJECT

 public:
  explicit TDrawForm(QWidget* parent = nullptr);

 private:
  void FormCreate();
};
