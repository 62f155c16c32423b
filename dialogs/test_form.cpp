#include "dialogs/test_form.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "diagram_qt/qt_text.h"
#include "logic/matching.h"

TTestForm::TTestForm(QWidget* parent)
    : QWidget(parent, Qt::Window),
      Edit1(new QLineEdit(QStringLiteral("aa<x>bbb<x>cc"), this)),
      Edit2(new QLineEdit(QStringLiteral("aaxbbbxcc"), this)),
      Button1(new QPushButton(QStringLiteral("&Ok"), this)),
      RichEdit1(new QTextEdit(this)) {
  setObjectName(QStringLiteral("TestForm"));
  setWindowTitle(QStringLiteral("TestForm"));
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Button1->setObjectName(QStringLiteral("Button1"));
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->setReadOnly(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Edit1);
  layout->addWidget(Edit2);
  layout->addWidget(Button1);
  layout->addWidget(RichEdit1);
  resize(400, 300);
  connect(Button1, &QPushButton::clicked, this, &TTestForm::Button1Click);
}

void TTestForm::Button1Click() {
  const std::string pattern = ToBytes(Edit1->text());
  const std::string target = ToBytes(Edit2->text());
  std::vector<std::string> variables = ScanVariables(pattern);
  TMatchResult match = MatchSentence(pattern, target, variables);
  QStringList lines;
  for (size_t i = 0; i < variables.size(); ++i) {
    std::string line = variables[i];
    if (match.Matched) line += ": " + match.Bindings[i];
    lines << FromBytes(line);
  }
  RichEdit1->setPlainText(lines.join(QLatin1Char('\n')));
}
