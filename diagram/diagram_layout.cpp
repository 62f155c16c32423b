#include "diagram/diagram_layout.h"

#include <algorithm>
#include <string>
#include <unordered_set>
#include <utility>

#include "diagram/diagram_shapes.h"
#include "diagram/layout_candidates.h"

namespace {

bool IsDropRole(TNodeRole role) {
  return role == TNodeRole::SupportDrop || role == TNodeRole::AttackDrop || role == TNodeRole::SupportBarDrop ||
         role == TNodeRole::AttackBarDrop;
}

TLinkShape DropShape(TNodeRole role) {
  switch (role) {
    case TNodeRole::AttackDrop: return TLinkShape::BoxDropAttack;
    case TNodeRole::SupportBarDrop: return TLinkShape::BarDropSupport;
    case TNodeRole::AttackBarDrop: return TLinkShape::BarDropAttack;
    default: return TLinkShape::BoxDropSupport;
  }
}

// Where a node is in its work; a node waiting for a child resumes here.
enum class TStage {
  Start,
  NextLink,         // box, branch: the next attack or support hanging below
  AfterDrop,        // box, branch: that link's drop is done
  NextAntecedent,   // box, branch: the next antecedent of that link
  AfterAntecedent,  // box, branch: that antecedent's tree is done
  NextOwnAntecedent,   // branch: the next of its own antecedents
  AfterOwnAntecedent,  // branch: that antecedent's tree is done
  BranchBar,        // branch: its own bar, then its links
  NextDropBranch,   // drop: the next branch off its line
  AfterDropBranch,  // drop: that branch is done
  DropLine,         // drop: its own line
};

struct TNode {
  SentencePtr Sentence;
  TNodeRole Role = TNodeRole::Box;
  int Column = 0, Row = 0;
  int Rows = 0;  // rows used so far; drops receive their parent's count
  bool Exhausted = false;
  bool Repeated = false;
  bool Entered = false;  // its text is among the texts above
  TLayoutCandidates::TEntry* Entry = nullptr;  // what the list holds for its text
  int Drawn = -1;  // the drawn index its registration gave it
  std::vector<size_t> Supports, Attacks;  // the conditionals' list positions
  TStage Stage = TStage::Start;

  int OwnConjunctColumn = 0;  // branch: the column of its own antecedents
  size_t Link = 0;            // attacks first, then supports (drops: the reverse)
  size_t Antecedent = 0;
  const SentencePtr* LinkConditional = nullptr;  // in the list, which outlives the layout
  size_t LinkPosition = 0;                       // its position there
  size_t Position = 0;  // branch: its conditional's position in the list
  bool LinkIsAttack = false;
  int LinkColumn = 0, LinkRow = 0;     // conjunct cell of the link's drop
  int PendingRow = 0;                  // row of the antecedent being laid out
  int PreviousRow = 0, PreviousRows = 0;

  int S() const { return static_cast<int>(Supports.size()); }
  int A() const { return static_cast<int>(Attacks.size()); }
};

struct TNodeResult {
  int Rows = 0, ConjunctColumn = 0, ConjunctRow = 0;
};

// Lays out one tree with an explicit stack of nodes, each resuming where it
// waited for its child; the depth of a tree is limited only by memory.
class TTreeLayout {
 public:
  TTreeLayout(TDrawContext& context, TLayoutCandidates& candidates, long long& nodesLaidOut, long long budget)
      : context_(context), candidates_(candidates), nodesLaidOut_(nodesLaidOut), budget_(budget) {}

  int Run(const SentencePtr& root, int column, int row) {
    Push(root, TNodeRole::Box, column, row, 0);
    while (depth_ > 0) Step();
    return result_.Rows;
  }

 private:
  // A sentence whose text's entry is not known yet.
  void Push(SentencePtr sentence, TNodeRole role, int column, int row, int rows) {
    TLayoutCandidates::TEntry* entry = candidates_.Find(sentence->Text);
    Push(std::move(sentence), role, column, row, rows, entry);
  }

  // A conditional of the list, by its position.
  void PushListed(size_t position, TNodeRole role, int column, int row, int rows) {
    Push(candidates_.At(position), role, column, row, rows, candidates_.EntryAt(position));
    stack_[depth_ - 1].Position = position;
  }

  // Takes the sentence by value: the stack may move while it is pushed.
  // `entry` is what the list holds for the sentence's text.
  void Push(SentencePtr sentence, TNodeRole role, int column, int row, int rows, TLayoutCandidates::TEntry* entry) {
    // Nodes are reused from one push to the next so that their lists keep
    // their room.
    if (depth_ == stack_.size()) stack_.emplace_back();
    TNode& node = stack_[depth_++];
    std::vector<size_t> supports = std::move(node.Supports), attacks = std::move(node.Attacks);
    node = TNode{};
    node.Supports = std::move(supports);
    node.Attacks = std::move(attacks);
    node.Sentence = std::move(sentence);
    node.Role = role;
    node.Column = column;
    node.Row = row;
    node.Rows = rows;
    const std::string& text = node.Sentence->Text;
    node.Entry = entry;
    node.Repeated = TLayoutCandidates::Above(entry);
    node.Exhausted = node.Repeated || !TLayoutCandidates::Listed(entry);
    candidates_.ConditionalsFor(entry, node.Supports);
    candidates_.ConditionalsFor(candidates_.NegationOf(text, entry), node.Attacks);
    if (++nodesLaidOut_ > budget_) {
      if (!node.Exhausted) context_.Truncated = true;
      node.Exhausted = true;
      node.Repeated = true;
    }
    if (!node.Exhausted) {
      TLayoutCandidates::Enter(node.Entry);
      node.Entered = true;
    }
  }

  void Finish(TNodeResult result) {
    TNode& node = stack_[--depth_];
    if (node.Entered) TLayoutCandidates::Leave(node.Entry);
    node.Sentence.reset();
    node.LinkConditional = nullptr;
    result_ = result;
  }

  // The node's drawn index: its text is registered once, and the index kept
  // in its entry.
  int Register(TNode& node) {
    TLayoutCandidates::TEntry* entry = node.Entry;
    if (entry == nullptr) return context_.Register(node.Sentence);
    if (entry->Drawn < 0) entry->Drawn = context_.Register(node.Sentence);
    return entry->Drawn;
  }

  // The theory's assumption with the text of the entry, looked up once per
  // text (registration adds issues, never assumptions, so it stays).
  SentencePtr TheoryAssumption(TLayoutCandidates::TEntry* entry, std::string_view text) {
    if (entry == nullptr) return context_.TheoryAssumption(text);
    if (!entry->AssumptionLooked) {
      entry->Assumption = context_.TheoryAssumption(text);
      entry->AssumptionLooked = true;
    }
    return entry->Assumption;
  }

  void Step() {
    TNode& node = stack_[depth_ - 1];
    if (node.Role == TNodeRole::Box) {
      StepBox(node);
    } else if (IsDropRole(node.Role)) {
      StepDrop(node);
    } else {
      StepBranch(node);
    }
  }

  void StepBox(TNode& node) {
    if (node.Stage == TStage::Start) {
      node.Drawn = Register(node);
      int minimumWidth = node.S() + node.A();
      if (node.Repeated) {
        DrawCycleMark(context_, node.Column, node.Row);
        minimumWidth = 0;
      }
      DrawSentenceBox(context_, node.Sentence, node.Column, node.Row, minimumWidth, node.Drawn);
      node.Rows = 1;
      if (node.Exhausted) return Finish({node.Rows, 0, 0});
      node.Stage = TStage::NextLink;
      return;
    }
    StepLinks(node);
  }

  // The attacks and supports hanging below a box or a branch bar, each a
  // drop followed by the boxes of its antecedents.
  void StepLinks(TNode& node) {
    const bool underBox = node.Role == TNodeRole::Box;
    switch (node.Stage) {
      case TStage::NextLink: {
        const size_t links = node.Attacks.size() + node.Supports.size();
        if (node.Link == links) return Finish({node.Rows, 0, 0});
        const int i = static_cast<int>(node.Link < node.Attacks.size() ? node.Link : node.Link - node.Attacks.size());
        node.LinkIsAttack = node.Link < node.Attacks.size();
        const size_t position =
            node.LinkIsAttack ? node.Attacks[static_cast<size_t>(i)] : node.Supports[static_cast<size_t>(i)];
        node.LinkConditional = &candidates_.At(position);
        node.LinkPosition = position;
        int lineColumn = node.LinkIsAttack ? node.Column + node.S() + node.A() - i : node.Column + node.S() - i;
        if (underBox) lineColumn -= 1;
        TNodeRole role = underBox ? (node.LinkIsAttack ? TNodeRole::AttackDrop : TNodeRole::SupportDrop)
                                  : (node.LinkIsAttack ? TNodeRole::AttackBarDrop : TNodeRole::SupportBarDrop);
        node.Stage = TStage::AfterDrop;
        return PushListed(position, role, lineColumn, node.Row, node.Rows);
      }
      case TStage::AfterDrop:
        node.Rows = result_.Rows;
        node.LinkColumn = result_.ConjunctColumn;
        node.LinkRow = result_.ConjunctRow;
        node.Antecedent = 0;
        node.Stage = TStage::NextAntecedent;
        return;
      case TStage::NextAntecedent: {
        const auto& conditional = static_cast<const TKorvelConditional&>(**node.LinkConditional);
        if (node.Antecedent == conditional.Antecedents.size()) {
          ++node.Link;
          node.Stage = TStage::NextLink;
          return;
        }
        SentencePtr antecedent = conditional.Antecedents[node.Antecedent];
        // Its replacement has the same text, and so the same entry.
        TLayoutCandidates::TEntry* entry = candidates_.AntecedentEntry(node.LinkPosition, node.Antecedent);
        if (underBox) {
          // Under a box an attack's reason shows the theory's assumption, a
          // support's reason the candidate, with the same text.
          if (node.LinkIsAttack) {
            if (SentencePtr assumption = TheoryAssumption(entry, antecedent->Text)) antecedent = std::move(assumption);
          } else if (const SentencePtr* candidate = candidates_.Candidate(entry, node.Entry)) {
            antecedent = *candidate;
          }
        }
        node.PendingRow = node.Antecedent == 0 ? node.LinkRow : node.PreviousRow + node.PreviousRows;
        node.Stage = TStage::AfterAntecedent;
        return Push(std::move(antecedent), TNodeRole::Box, node.LinkColumn, node.PendingRow, 0, entry);
      }
      case TStage::AfterAntecedent: {
        const int rows = result_.Rows;
        node.Rows += rows;
        if (node.Antecedent > 0)
          DrawLink(context_, *node.LinkConditional, false, TLinkShape::BoxDropSupport, node.LinkColumn - 1,
                   node.PreviousRow - 1, node.LinkColumn, node.PendingRow);
        node.PreviousRow = node.PendingRow;
        node.PreviousRows = rows;
        ++node.Antecedent;
        node.Stage = TStage::NextAntecedent;
        return;
      }
      default:
        return;
    }
  }

  void StepDrop(TNode& node) {
    switch (node.Stage) {
      case TStage::Start:
        node.Link = 0;
        node.Stage = node.Exhausted ? TStage::DropLine : TStage::NextDropBranch;
        return;
      case TStage::NextDropBranch: {
        if (node.Link == node.Supports.size() + node.Attacks.size()) {
          node.Stage = TStage::DropLine;
          return;
        }
        const bool support = node.Link < node.Supports.size();
        const size_t branch = support ? node.Supports[node.Link] : node.Attacks[node.Link - node.Supports.size()];
        node.Stage = TStage::AfterDropBranch;
        return PushListed(branch, support ? TNodeRole::SupportBranch : TNodeRole::AttackBranch, node.Column,
                          node.Row + node.Rows, 0);
      }
      case TStage::AfterDropBranch:
        node.Rows += result_.Rows;
        ++node.Link;
        node.Stage = TStage::NextDropBranch;
        return;
      case TStage::DropLine: {
        const int conjunctColumn = node.Column + 1;
        const int conjunctRow = node.Row + node.Rows;
        node.Drawn = Register(node);
        DrawLink(context_, node.Sentence, true, DropShape(node.Role), node.Column, node.Row, conjunctColumn,
                 conjunctRow, node.Drawn);
        return Finish({node.Rows, conjunctColumn, conjunctRow});
      }
      default:
        return;
    }
  }

  void StepBranch(TNode& node) {
    const auto& conditional = static_cast<const TKorvelConditional&>(*node.Sentence);
    switch (node.Stage) {
      case TStage::Start:
        node.Drawn = Register(node);
        node.Rows = 0;
        node.OwnConjunctColumn = node.Column + node.S() + node.A() + (conditional.Antecedents.size() > 1 ? 2 : 1);
        node.Antecedent = 0;
        node.Stage = node.Exhausted ? TStage::BranchBar : TStage::NextOwnAntecedent;
        return;
      case TStage::NextOwnAntecedent: {
        if (node.Antecedent == conditional.Antecedents.size()) {
          node.Stage = TStage::BranchBar;
          return;
        }
        SentencePtr antecedent = conditional.Antecedents[node.Antecedent];
        TLayoutCandidates::TEntry* entry = candidates_.AntecedentEntry(node.Position, node.Antecedent);
        if (const SentencePtr* candidate = candidates_.Candidate(entry, node.Entry)) antecedent = *candidate;
        node.PendingRow = node.Antecedent == 0 ? node.Row : node.PreviousRow + node.PreviousRows;
        node.Stage = TStage::AfterOwnAntecedent;
        return Push(std::move(antecedent), TNodeRole::Box, node.OwnConjunctColumn, node.PendingRow, 0, entry);
      }
      case TStage::AfterOwnAntecedent: {
        const int rows = result_.Rows;
        node.Rows += rows;
        if (node.Antecedent > 0)
          DrawLink(context_, node.Sentence, false, TLinkShape::BarDropSupport, node.OwnConjunctColumn - 1,
                   node.PreviousRow, node.OwnConjunctColumn, node.PendingRow, node.Drawn);
        node.PreviousRow = node.PendingRow;
        node.PreviousRows = rows;
        ++node.Antecedent;
        node.Stage = TStage::NextOwnAntecedent;
        return;
      }
      case TStage::BranchBar:
        DrawLink(context_, node.Sentence, true,
                 node.Role == TNodeRole::AttackBranch ? TLinkShape::BranchAttack : TLinkShape::BranchSupport,
                 node.Column, node.Row, node.OwnConjunctColumn, node.Row, node.Drawn);
        if (node.Exhausted) return Finish({node.Rows, 0, 0});
        node.Link = 0;
        node.Stage = TStage::NextLink;
        return;
      default:
        StepLinks(node);
        return;
    }
  }

  TDrawContext& context_;
  TLayoutCandidates& candidates_;
  long long& nodesLaidOut_;
  const long long budget_;
  std::vector<TNode> stack_;  // nodes below depth_ are in use
  size_t depth_ = 0;
  TNodeResult result_;
};

// Runs a layout that records its calls only, then draws all their elements
// at once: counted first, they are stored without their vector growing step
// by step, which for a drawing of a million elements saves moving them and
// faulting in their pages again and again.
template <class Layout>
int RecordThenDraw(TDrawContext& context, Layout layout) {
  const size_t firstCall = context.Drawing.Calls.size();
  context.RecordCallsOnly = true;
  const std::function<void()> beforeRolesGiven = std::exchange(context.BeforeRolesGiven, nullptr);
  if (beforeRolesGiven) context.DeferRoles();
  int rows = 0;
  try {
    rows = layout();
  } catch (...) {
    context.RecordCallsOnly = false;
    context.DropDeferredRoles();
    throw;
  }
  context.RecordCallsOnly = false;
  if (beforeRolesGiven) {
    beforeRolesGiven();
    context.GiveDeferredRoles();
  }
  DrawRecordedElements(context, firstCall);
  return rows;
}

long long NodeBudget(const TDrawContext& context, const TListOfKorvelSentences& sentences) {
  return std::max(context.NodeBudget, 4 * static_cast<long long>(sentences.size()));
}

}  // namespace

int DrawArgumentTree(TDrawContext& context, const SentencePtr& root, const TListOfKorvelSentences& sentences,
                     int column, int row) {
  if (!root) return 0;
  TLayoutCandidates candidates(sentences);
  long long nodes = 0;
  TTreeLayout layout(context, candidates, nodes, NodeBudget(context, sentences));
  return RecordThenDraw(context, [&] { return layout.Run(root, column, row); });
}

void DrawArguments(TDrawContext& context, const TListOfKorvelSentences& given, int startColumn, int startRow) {
  // The list may be the context's own DrawnSentences, which the reset empties,
  // and holes in it have nothing to draw.
  TListOfKorvelSentences sentences;
  sentences.reserve(given.size());
  for (const SentencePtr& sentence : given)
    if (sentence) sentences.push_back(sentence);
  context.Reset();
  context.Reserve(sentences.size());
  context.IndexTheory();

  // Roots: statements that are nobody's reason, then the reasons, then the
  // conditionals, then the negations (so an attack's negation is drawn under
  // the attacked box rather than as a tree of its own).
  std::unordered_set<std::string_view> antecedentTexts;
  for (const SentencePtr& sentence : sentences)
    if (auto conditional = As<TKorvelConditional>(sentence))
      for (const SentencePtr& antecedent : conditional->Antecedents) antecedentTexts.insert(antecedent->Text);
  auto isStatement = [](const SentencePtr& s) {
    return !Is<TKorvelConditional>(s) && !Is<TKorvelDialecticalNegation>(s);
  };
  TListOfKorvelSentences roots;
  roots.reserve(sentences.size());
  for (const SentencePtr& s : sentences)
    if (isStatement(s) && antecedentTexts.count(s->Text) == 0) roots.push_back(s);
  for (const SentencePtr& s : sentences)
    if (isStatement(s) && antecedentTexts.count(s->Text) != 0) roots.push_back(s);
  for (const SentencePtr& s : sentences)
    if (Is<TKorvelConditional>(s)) roots.push_back(s);
  for (const SentencePtr& s : sentences)
    if (Is<TKorvelDialecticalNegation>(s)) roots.push_back(s);

  TLayoutCandidates candidates(sentences);
  long long nodes = 0;
  TTreeLayout layout(context, candidates, nodes, NodeBudget(context, sentences));
  context.RowsUsed = RecordThenDraw(context, [&] {
    int row = startRow;
    for (const SentencePtr& root : roots) {
      if (context.DrawnIndexOfText(root->Text) >= 0 || context.DrawnConsequent(root->Text)) continue;
      row += layout.Run(root, startColumn, row);
    }
    return row;
  });
}
