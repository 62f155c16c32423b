// The layout written as plainly as it can be: every node scans and copies its
// candidate list and recurses on the machine stack. The indexed layout must
// make exactly the same drawing; tests compare the two on many theories.
#pragma once

#include "diagram/diagram_layout.h"
#include "diagram/diagram_shapes.h"

class TReferenceLayout {
 public:
  explicit TReferenceLayout(TDrawContext& context) : context_(context) {}

  void DrawArguments(const TListOfKorvelSentences& sentences) {
    context_.Reset();
    context_.IndexTheory();
    auto isStatement = [](const SentencePtr& s) {
      return !Is<TKorvelConditional>(s) && !Is<TKorvelDialecticalNegation>(s);
    };
    auto isAntecedent = [&](const SentencePtr& s) {
      for (const SentencePtr& c : sentences)
        if (auto conditional = As<TKorvelConditional>(c))
          if (IndexOfText(conditional->Antecedents, s->Text) >= 0) return true;
      return false;
    };
    TListOfKorvelSentences roots;
    for (const SentencePtr& s : sentences)
      if (isStatement(s) && !isAntecedent(s)) roots.push_back(s);
    for (const SentencePtr& s : sentences)
      if (isStatement(s) && isAntecedent(s)) roots.push_back(s);
    for (const SentencePtr& s : sentences)
      if (Is<TKorvelConditional>(s)) roots.push_back(s);
    for (const SentencePtr& s : sentences)
      if (Is<TKorvelDialecticalNegation>(s)) roots.push_back(s);
    int row = 0;
    for (const SentencePtr& root : roots) {
      bool drawn = IndexOfText(context_.DrawnSentences, root->Text) >= 0;
      for (const SentencePtr& d : context_.DrawnSentences)
        if (auto conditional = As<TKorvelConditional>(d))
          if (conditional->Consequent->Text == root->Text) drawn = true;
      if (drawn) continue;
      int cc = 0, cr = 0, rows = 0;
      Node(root, sentences, {}, 0, row, TNodeRole::Box, cc, cr, rows);
      row += rows;
    }
    context_.RowsUsed = row;
  }

 private:
  void Node(const SentencePtr& sentence, const TListOfKorvelSentences& candidates,
            const TListOfKorvelSentences& ancestors, int column, int row, TNodeRole role, int& cc, int& cr,
            int& rows) {
    TListOfKorvelSentences reduced;
    for (const SentencePtr& c : candidates)
      if (c->Text != sentence->Text) reduced.push_back(c);
    const bool exhausted = reduced.size() == candidates.size();
    TListOfKorvelSentences supports, attacks;
    const std::string negation = NegationText(sentence->Text);
    for (const SentencePtr& c : candidates)
      if (auto conditional = As<TKorvelConditional>(c)) {
        if (conditional->Consequent->Text == sentence->Text) supports.push_back(c);
        if (conditional->Consequent->Text == negation) attacks.push_back(c);
      }
    const int s = static_cast<int>(supports.size()), a = static_cast<int>(attacks.size());
    const bool repeated = IndexOfText(ancestors, sentence->Text) >= 0;
    TListOfKorvelSentences below = ancestors;
    below.push_back(sentence);
    auto candidate = [&](const SentencePtr& antecedent) {
      const int i = IndexOfText(candidates, antecedent->Text);
      return i >= 0 ? candidates[static_cast<size_t>(i)] : antecedent;
    };

    // Attacks, then supports, hanging below a box (offset -1) or a bar.
    auto links = [&](bool underBox) {
      for (int k = 0; k < a + s; ++k) {
        const bool attack = k < a;
        const int i = attack ? k : k - a;
        const SentencePtr& c = attack ? attacks[static_cast<size_t>(i)] : supports[static_cast<size_t>(i)];
        const int lineColumn = (attack ? column + s + a - i : column + s - i) - (underBox ? 1 : 0);
        const TNodeRole dropRole = underBox ? (attack ? TNodeRole::AttackDrop : TNodeRole::SupportDrop)
                                            : (attack ? TNodeRole::AttackBarDrop : TNodeRole::SupportBarDrop);
        int dropColumn = 0, dropRow = 0, running = rows;
        Node(c, reduced, below, lineColumn, row, dropRole, dropColumn, dropRow, running);
        rows = running;
        const auto& conditional = static_cast<const TKorvelConditional&>(*c);
        int previousRow = 0, previousRows = 0;
        for (size_t j = 0; j < conditional.Antecedents.size(); ++j) {
          SentencePtr antecedent = conditional.Antecedents[j];
          if (underBox && attack) {
            if (SentencePtr assumption = context_.TheoryAssumption(antecedent->Text)) antecedent = assumption;
          } else if (underBox) {
            antecedent = candidate(antecedent);
          }
          const int antecedentRow = j == 0 ? dropRow : previousRow + previousRows;
          int ignoredColumn = 0, ignoredRow = 0, r = 0;
          Node(antecedent, reduced, below, dropColumn, antecedentRow, TNodeRole::Box, ignoredColumn, ignoredRow, r);
          rows += r;
          if (j > 0)
            DrawLink(context_, c, false, TLinkShape::BoxDropSupport, dropColumn - 1, previousRow - 1, dropColumn,
                     antecedentRow);
          previousRow = antecedentRow;
          previousRows = r;
        }
      }
    };

    switch (role) {
      case TNodeRole::Box: {
        context_.Register(sentence);
        int minimumWidth = s + a;
        if (repeated) {
          DrawCycleMark(context_, column, row);
          minimumWidth = 0;
        }
        DrawSentenceBox(context_, sentence, column, row, minimumWidth);
        rows = 1;
        if (!exhausted) links(true);
        return;
      }
      case TNodeRole::SupportBranch:
      case TNodeRole::AttackBranch: {
        context_.Register(sentence);
        rows = 0;
        const auto& conditional = static_cast<const TKorvelConditional&>(*sentence);
        const int conjunctColumn = column + s + a + (conditional.Antecedents.size() > 1 ? 2 : 1);
        if (!exhausted) {
          int previousRow = 0, previousRows = 0;
          for (size_t j = 0; j < conditional.Antecedents.size(); ++j) {
            const int antecedentRow = j == 0 ? row : previousRow + previousRows;
            int ignoredColumn = 0, ignoredRow = 0, r = 0;
            Node(candidate(conditional.Antecedents[j]), reduced, below, conjunctColumn, antecedentRow,
                 TNodeRole::Box, ignoredColumn, ignoredRow, r);
            rows += r;
            if (j > 0)
              DrawLink(context_, sentence, false, TLinkShape::BarDropSupport, conjunctColumn - 1, previousRow,
                       conjunctColumn, antecedentRow);
            previousRow = antecedentRow;
            previousRows = r;
          }
        }
        DrawLink(context_, sentence, true,
                 role == TNodeRole::AttackBranch ? TLinkShape::BranchAttack : TLinkShape::BranchSupport, column, row,
                 conjunctColumn, row);
        if (!exhausted) links(false);
        return;
      }
      default: {
        if (!exhausted) {
          for (const SentencePtr& c : supports) {
            int ignoredColumn = 0, ignoredRow = 0, r = 0;
            Node(c, reduced, below, column, row + rows, TNodeRole::SupportBranch, ignoredColumn, ignoredRow, r);
            rows += r;
          }
          for (const SentencePtr& c : attacks) {
            int ignoredColumn = 0, ignoredRow = 0, r = 0;
            Node(c, reduced, below, column, row + rows, TNodeRole::AttackBranch, ignoredColumn, ignoredRow, r);
            rows += r;
          }
        }
        cc = column + 1;
        cr = row + rows;
        context_.Register(sentence);
        const TLinkShape shape = role == TNodeRole::SupportDrop      ? TLinkShape::BoxDropSupport
                                 : role == TNodeRole::AttackDrop     ? TLinkShape::BoxDropAttack
                                 : role == TNodeRole::SupportBarDrop ? TLinkShape::BarDropSupport
                                                                     : TLinkShape::BarDropAttack;
        DrawLink(context_, sentence, true, shape, column, row, cc, cr);
        return;
      }
    }
  }

  TDrawContext& context_;
};
