// TKorvelForm: an empty auxiliary window created at start-up and never shown.
#pragma once

#include <QWidget>

class TKorvelForm : public QWidget {
 public:
  explicit TKorvelForm(QWidget* parent = nullptr) : QWidget(parent) {
    setObjectName(QStringLiteral("KorvelForm"));
  }
};
