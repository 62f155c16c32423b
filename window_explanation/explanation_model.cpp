#include "window_explanation/explanation_model.h"

#include <QPixmap>
#include <algorithm>

#include "diagram_qt/qt_text.h"
#include "diagram_qt/status_icons.h"
#include "explanation/explanation_text.h"

namespace {

// The diagram's icons: red cross (defeated), green plus (justified), grey ring (open).
int IconIndex(TExplainedStatus status) {
  switch (status) {
    case TExplainedStatus::Justified:
      return 3;
    case TExplainedStatus::Defeated:
      return 2;
    case TExplainedStatus::Open:
      break;
  }
  return 4;
}

}  // namespace

TExplanationModel::TExplanationModel(QObject* parent) : QAbstractItemModel(parent) {
  for (TExplainedStatus status :
       {TExplainedStatus::Justified, TExplainedStatus::Defeated, TExplainedStatus::Open})
    icons_[static_cast<int>(status)] = QIcon(QPixmap::fromImage(StatusIcon(IconIndex(status))));
}

void TExplanationModel::SetExplanation(TExplanation explanation, const QIcon& rootIcon) {
  beginResetModel();
  rootIcon_ = rootIcon;
  lines_ = std::move(explanation.Lines);
  children_.assign(lines_.size(), {});
  rowInParent_.assign(lines_.size(), 0);
  fetched_.assign(lines_.size(), 0);
  for (size_t i = 0; i < lines_.size(); ++i) {
    const int parent = lines_[i].Parent;
    if (parent < 0) continue;
    rowInParent_[i] = static_cast<int>(children_[static_cast<size_t>(parent)].size());
    children_[static_cast<size_t>(parent)].push_back(static_cast<int>(i));
  }
  endResetModel();
}

int TExplanationModel::LineOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<int>(index.internalId()) : -1;
}

QModelIndex TExplanationModel::IndexOfLine(int line) const {
  if (line < 0 || static_cast<size_t>(line) >= lines_.size()) return {};
  return createIndex(rowInParent_[static_cast<size_t>(line)], 0, static_cast<quintptr>(line));
}

QModelIndex TExplanationModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0) return {};
  if (!parent.isValid()) return row == 0 && !lines_.empty() ? createIndex(0, 0, quintptr{0}) : QModelIndex();
  const auto& kids = children_[static_cast<size_t>(LineOf(parent))];
  if (static_cast<size_t>(row) >= kids.size()) return {};
  return createIndex(row, 0, static_cast<quintptr>(kids[static_cast<size_t>(row)]));
}

QModelIndex TExplanationModel::parent(const QModelIndex& child) const {
  const int line = LineOf(child);
  if (line < 0) return {};
  return IndexOfLine(lines_[static_cast<size_t>(line)].Parent);
}

int TExplanationModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return lines_.empty() ? 0 : 1;
  return static_cast<int>(children_[static_cast<size_t>(LineOf(parent))].size());
}

int TExplanationModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TExplanationModel::data(const QModelIndex& index, int role) const {
  const int line = LineOf(index);
  if (line < 0) return {};
  const TExplanationLine& l = lines_[static_cast<size_t>(line)];
  switch (role) {
    case Qt::DisplayRole:
      return FromBytes(LineText(l));
    case Qt::ToolTipRole:
      return FromBytes(l.Sentence);
    case Qt::DecorationRole:
      return line == 0 && !rootIcon_.isNull() ? rootIcon_ : icons_[static_cast<int>(l.Status)];
    case kSentenceRole: {
      const std::string& target = l.Kind == TStepKind::WouldGive ? l.Conditional : l.Sentence;
      return QByteArray(target.data(), static_cast<qsizetype>(target.size()));
    }
    default:
      return {};
  }
}

bool TExplanationModel::Unfoldable(int line) const {
  return ExplainPremise && lines_[static_cast<size_t>(line)].Kind == TStepKind::NotJustified &&
         !fetched_[static_cast<size_t>(line)];
}

bool TExplanationModel::hasChildren(const QModelIndex& parent) const {
  if (!parent.isValid()) return !lines_.empty();
  const int line = LineOf(parent);
  return !children_[static_cast<size_t>(line)].empty() || Unfoldable(line);
}

bool TExplanationModel::canFetchMore(const QModelIndex& parent) const {
  return parent.isValid() && Unfoldable(LineOf(parent));
}

// The premise's own explanation goes below its row, without its first line
// (the row already says what that line would).
void TExplanationModel::fetchMore(const QModelIndex& parent) {
  const int line = LineOf(parent);
  if (line < 0 || !Unfoldable(line)) return;
  fetched_[static_cast<size_t>(line)] = 1;
  const TExplanation own = ExplainPremise(lines_[static_cast<size_t>(line)].Sentence);
  if (own.Lines.size() < 2) return;
  const int offset = static_cast<int>(lines_.size()) - 1;  // own line k becomes offset + k
  const int depthShift = lines_[static_cast<size_t>(line)].Depth;
  const int added = static_cast<int>(std::count_if(own.Lines.begin() + 1, own.Lines.end(),
                                                   [](const TExplanationLine& l) { return l.Parent == 0; }));
  beginInsertRows(parent, 0, added - 1);
  for (size_t k = 1; k < own.Lines.size(); ++k) {
    TExplanationLine each = own.Lines[k];
    each.Parent = each.Parent == 0 ? line : each.Parent + offset;
    each.Depth += depthShift;
    if (each.Reference >= 0) each.Reference += offset;
    const int at = static_cast<int>(lines_.size());
    lines_.push_back(std::move(each));
    const int up = lines_.back().Parent;
    rowInParent_.push_back(static_cast<int>(children_[static_cast<size_t>(up)].size()));
    children_.emplace_back();
    fetched_.push_back(0);
    children_[static_cast<size_t>(up)].push_back(at);
  }
  endInsertRows();
}
