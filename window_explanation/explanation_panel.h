// The dockable "Why?" panel: a heading (which sentence, in which
// interpretation) over the explanation as an indented tree. Only the first
// levels are unfolded, so a derivation thousands of steps deep opens at
// once; the user unfolds the rest. A click on a line names its sentence.
#pragma once

#include <QDockWidget>
#include <string>

#include "explanation/explanation.h"

class QIcon;
class QLabel;
class QTreeView;
class TExplanationModel;

class TExplanationPanel : public QDockWidget {
  Q_OBJECT

 public:
  // Lines unfolded when an explanation is shown, and levels at most.
  static constexpr int kUnfoldedLines = 200;
  static constexpr int kUnfoldedLevels = 6;

  explicit TExplanationPanel(QWidget* parent = nullptr);

  // `rootIcon`, when given, stands for the first line instead of its status
  // (the acceptance icon of its box while acceptance is shown).
  void ShowExplanation(const QString& heading, TExplanation explanation, const QIcon& rootIcon = {});
  // Only a heading, no tree (the sentence is no longer in the theory).
  void ShowMessage(const QString& heading);
  QString Heading() const;
  QTreeView* Tree() const { return tree_; }
  TExplanationModel& Model() const { return *model_; }

 signals:
  // A line was clicked: the bytes of the sentence whose box it stands for.
  void sentenceChosen(const std::string& sentence);

 private:
  void UnfoldFirstLevels();

  QLabel* heading_ = nullptr;
  QTreeView* tree_ = nullptr;
  TExplanationModel* model_ = nullptr;
};
