#include "dialogs/properties_form.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "diagram_qt/qt_text.h"

TPropertiesForm::TPropertiesForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      RichEdit1(new QTextEdit(this)),
      Panel1(new QWidget(this)),
      Button1(new QPushButton(QStringLiteral("&Ok"), Panel1)) {
  setObjectName(QStringLiteral("PropertiesForm"));
  setWindowTitle(QStringLiteral("Properties"));
  setModal(true);
  resize(377, 257);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setReadOnly(true);
  RichEdit1->setLineWrapMode(QTextEdit::NoWrap);
  // Scroll bars only when the lines do not fit.
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFixedHeight(38);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setDefault(true);
  auto* panelLayout = new QHBoxLayout(Panel1);
  panelLayout->addStretch();
  panelLayout->addWidget(Button1);
  panelLayout->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(RichEdit1);
  layout->addWidget(Panel1);
  connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
  Button1->setFocus();
}

void TPropertiesForm::Clear() { RichEdit1->clear(); }

void TPropertiesForm::ShowLines(const std::vector<TReportLine>& lines) {
  RichEdit1->clear();
  QTextCursor cursor(RichEdit1->document());
  QTextCharFormat regular, bold;
  bold.setFontWeight(QFont::Bold);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) cursor.insertBlock();
    cursor.insertText(FromBytes(lines[i].Text), lines[i].Bold ? bold : regular);
  }
}
