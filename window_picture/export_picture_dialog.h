// The dialog of File -> Export picture...: the file (its extension chooses
// PNG, SVG or PDF), the scale, and whether the whole drawing or only the
// part in view is written.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QButtonGroup;
class QDoubleSpinBox;
class QLineEdit;
class QRadioButton;

struct TExportChoice {
  QString Path;
  double Scale = 1.0;
  bool VisiblePartOnly = false;
};

class TExportPictureDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TExportPictureDialog(QWidget* parent = nullptr);

  TExportChoice Choice() const;
  void SetChoice(const TExportChoice& choice);

  // Shows the dialog; nothing when the user cancels.
  static std::optional<TExportChoice> Ask(QWidget* parent, const TExportChoice& initial);

 private:
  void Browse();
  void CheckAndAccept();

  QLineEdit* path_ = nullptr;
  QDoubleSpinBox* scale_ = nullptr;
  QRadioButton* whole_ = nullptr;
  QRadioButton* visible_ = nullptr;
};
