#include "window_explanation/explanation_panel.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>
#include <deque>

#include "window_explanation/explanation_model.h"

TExplanationPanel::TExplanationPanel(QWidget* parent) : QDockWidget(QStringLiteral("Why?"), parent) {
  setObjectName(QStringLiteral("ExplanationPanel"));
  auto* content = new QWidget(this);
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(4, 4, 4, 4);
  heading_ = new QLabel(content);
  heading_->setObjectName(QStringLiteral("ExplanationHeading"));
  heading_->setWordWrap(true);
  heading_->setTextFormat(Qt::PlainText);
  model_ = new TExplanationModel(this);
  tree_ = new QTreeView(content);
  tree_->setObjectName(QStringLiteral("ExplanationTree"));
  tree_->setModel(model_);
  tree_->setHeaderHidden(true);
  tree_->setUniformRowHeights(true);  // rows are laid out without measuring each
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setTextElideMode(Qt::ElideMiddle);
  tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tree_->header()->setStretchLastSection(false);
  tree_->setAccessibleName(QStringLiteral("Explanation"));
  layout->addWidget(heading_);
  layout->addWidget(tree_, 1);
  setWidget(content);
  connect(tree_, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    const QByteArray bytes = index.data(TExplanationModel::kSentenceRole).toByteArray();
    if (!bytes.isEmpty()) emit sentenceChosen(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
  });
}

void TExplanationPanel::ShowExplanation(const QString& heading, TExplanation explanation,
                                        const QIcon& rootIcon) {
  heading_->setText(heading);
  model_->SetExplanation(std::move(explanation), rootIcon);
  UnfoldFirstLevels();
  tree_->setCurrentIndex(model_->IndexOfLine(0));
}

void TExplanationPanel::ShowMessage(const QString& heading) {
  heading_->setText(heading);
  model_->SetExplanation({});
}

QString TExplanationPanel::Heading() const { return heading_->text(); }

// Breadth first from the top, within the budgets: the first steps of every
// branch are in sight and the rest waits folded.
void TExplanationPanel::UnfoldFirstLevels() {
  const auto& lines = model_->Lines();
  if (lines.empty()) return;
  std::vector<std::vector<int>> children(lines.size());
  for (size_t i = 1; i < lines.size(); ++i)
    children[static_cast<size_t>(lines[i].Parent)].push_back(static_cast<int>(i));
  std::deque<int> queue{0};
  int shown = 1;
  while (!queue.empty()) {
    const int line = queue.front();
    queue.pop_front();
    const auto& kids = children[static_cast<size_t>(line)];
    if (kids.empty() || lines[static_cast<size_t>(line)].Depth >= kUnfoldedLevels ||
        shown + static_cast<int>(kids.size()) > kUnfoldedLines)
      continue;
    tree_->expand(model_->IndexOfLine(line));
    shown += static_cast<int>(kids.size());
    for (int kid : kids) queue.push_back(kid);
  }
}
