// An explanation as a tree model for a view: one row per line, children
// under the line they serve, each row with the status icon of its sentence.
// A premise that an open sentence lacks can be opened in turn: its own
// explanation is asked for only when the user unfolds it.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <functional>
#include <string>
#include <vector>

#include "explanation/explanation.h"

class TExplanationModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  // The sentence bytes of a row (the conditional's for a "would give" line):
  // the box that a click on the row selects.
  static constexpr int kSentenceRole = Qt::UserRole + 1;

  explicit TExplanationModel(QObject* parent = nullptr);

  // Replaces the whole tree; `rootIcon`, when not null, is the first line's.
  void SetExplanation(TExplanation explanation, const QIcon& rootIcon = {});
  const std::vector<TExplanationLine>& Lines() const { return lines_; }
  // Gives the explanation of a premise when its row is unfolded.
  std::function<TExplanation(const std::string& sentence)> ExplainPremise;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  bool canFetchMore(const QModelIndex& parent) const override;
  void fetchMore(const QModelIndex& parent) override;

  QModelIndex IndexOfLine(int line) const;

 private:
  int LineOf(const QModelIndex& index) const;
  bool Unfoldable(int line) const;

  std::vector<TExplanationLine> lines_;
  std::vector<std::vector<int>> children_;
  std::vector<int> rowInParent_;
  std::vector<char> fetched_;  // per line: its own explanation was asked for
  QIcon icons_[3];
  QIcon rootIcon_;
};
