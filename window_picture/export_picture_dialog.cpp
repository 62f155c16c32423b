#include "window_picture/export_picture_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "diagram_qt/diagram_picture.h"

namespace {
constexpr const char* kPictureFilter = "PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)";
}  // namespace

TExportPictureDialog::TExportPictureDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ExportPictureDialog"));
  setWindowTitle(QStringLiteral("Export picture"));
  path_ = new QLineEdit(this);
  path_->setObjectName(QStringLiteral("PicturePath"));
  auto* browse = new QPushButton(QStringLiteral("&Browse..."), this);
  connect(browse, &QPushButton::clicked, this, &TExportPictureDialog::Browse);
  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(path_, 1);
  fileRow->addWidget(browse);

  scale_ = new QDoubleSpinBox(this);
  scale_->setObjectName(QStringLiteral("PictureScale"));
  scale_->setRange(0.25, 8.0);
  scale_->setSingleStep(0.25);
  scale_->setDecimals(2);
  scale_->setSuffix(QStringLiteral(" x"));
  scale_->setValue(1.0);

  whole_ = new QRadioButton(QStringLiteral("&Whole drawing"), this);
  visible_ = new QRadioButton(QStringLiteral("&Visible part"), this);
  whole_->setChecked(true);
  auto* areaRow = new QHBoxLayout;
  areaRow->addWidget(whole_);
  areaRow->addWidget(visible_);
  areaRow->addStretch(1);

  auto* form = new QFormLayout;
  auto* fileLabel = new QLabel(QStringLiteral("&File:"), this);
  fileLabel->setBuddy(path_);
  auto* scaleLabel = new QLabel(QStringLiteral("&Scale:"), this);
  scaleLabel->setBuddy(scale_);
  form->addRow(fileLabel, fileRow);
  form->addRow(scaleLabel, scale_);
  form->addRow(QStringLiteral("Area:"), areaRow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TExportPictureDialog::CheckAndAccept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

TExportChoice TExportPictureDialog::Choice() const {
  return {path_->text(), scale_->value(), visible_->isChecked()};
}

void TExportPictureDialog::SetChoice(const TExportChoice& choice) {
  path_->setText(choice.Path);
  // The file's name is selected, so typing replaces it and keeps the folder
  // and the extension.
  const int name = static_cast<int>(choice.Path.lastIndexOf(QLatin1Char('/'))) + 1;
  int end = static_cast<int>(choice.Path.lastIndexOf(QLatin1Char('.')));
  if (end <= name) end = static_cast<int>(choice.Path.size());
  path_->setSelection(name, end - name);
  path_->setFocus(Qt::OtherFocusReason);
  scale_->setValue(choice.Scale);
  (choice.VisiblePartOnly ? visible_ : whole_)->setChecked(true);
}

void TExportPictureDialog::Browse() {
  const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Export picture"), path_->text(),
                                                      QString::fromUtf8(kPictureFilter));
  if (!chosen.isEmpty()) path_->setText(chosen);
}

void TExportPictureDialog::CheckAndAccept() {
  if (!PictureFormatOfPath(path_->text())) {
    QMessageBox::warning(this, windowTitle(), QStringLiteral("The file name must end in .png, .svg or .pdf."));
    return;
  }
  accept();
}

std::optional<TExportChoice> TExportPictureDialog::Ask(QWidget* parent, const TExportChoice& initial) {
  TExportPictureDialog dialog(parent);
  dialog.SetChoice(initial);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Choice();
}
