// An independent check of an explanation: every step is verified against the
// definition of the closure (reference::ConditionalClosure) and the sentence
// objects of the theory, and the status explained against MarkStatuses. It
// shares no code with the explainer beyond the explanation's data.
//
// With acceptance on, TAcceptanceChecker lists every interpretation by the
// exhaustive definition (reference::ComputeInterpretations) and checks the
// claim of the root (justified in every one, in some, in none, or no
// interpretation at all) against the marks in each of them; that the
// interpretation named is one of them, is listed under that number and, when
// the claim is "not in every", lacks the sentence; and the lines below with
// the checker above, in that interpretation.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "evaluation/interpretations.h"
#include "evaluation/interpretations_reference.h"
#include "explanation/acceptance_explanation.h"
#include "explanation/explanation.h"
#include "logic/sentence.h"
#include "tests/evaluation/sentence_objects.h"

namespace checker {

class TExplanationChecker {
 public:
  // `interpretation` null: none is shown. Marks the theory's statuses.
  TExplanationChecker(const TKorvelTheory& theory, const TListOfKorvelSentences* interpretation)
      : shown_(interpretation != nullptr) {
    if (interpretation != nullptr) {
      closureObjects_ = reference::ConditionalClosure(*interpretation);
      for (const auto& s : closureObjects_) closure_.insert(s->Text);
      for (const auto& s : *interpretation) members_.insert(s->Text);
    }
    for (TKorvelSentence* object : AllObjects(theory))
      if (auto* c = dynamic_cast<TKorvelConditional*>(object)) conditionals_[c->Text].push_back(c);
    MarkStatuses(theory, interpretation != nullptr ? *interpretation : TListOfKorvelSentences{});
    for (const auto* section : {&theory.Assumptions, &theory.Issues}) {
      for (const auto& root : *section) {
        TListOfKorvelSentences parts;
        CollectParts(root, parts);
        for (const auto& part : parts) {
          const TExplainedStatus status = part->IsJustified  ? TExplainedStatus::Justified
                                          : part->IsDefeated ? TExplainedStatus::Defeated
                                                             : TExplainedStatus::Open;
          marked_.emplace(part->Text, status);
        }
      }
    }
  }

  // The texts whose status the marking set: every sentence of the theory.
  std::vector<std::string> Sentences() const {
    std::vector<std::string> texts;
    for (const auto& [text, status] : marked_) texts.push_back(text);
    return texts;
  }

  // The shallowest derivation of a text present, by rounds over the objects
  // the definition's closure holds (only used where texts are unambiguous).
  std::map<std::string, int> ShallowestRounds() const {
    std::map<std::string, int> rounds;
    for (const auto& m : members_) rounds[m] = 0;
    for (bool changed = true; changed;) {
      changed = false;
      for (const auto& s : closureObjects_) {
        auto* c = dynamic_cast<const TKorvelConditional*>(s.get());
        if (c == nullptr || !rounds.count(c->Text)) continue;
        int round = rounds[c->Text];
        bool all = true;
        for (const auto& a : c->Antecedents) {
          if (!rounds.count(a->Text))
            all = false;
          else
            round = std::max(round, rounds[a->Text]);
        }
        if (!all) continue;
        auto it = rounds.find(c->Consequent->Text);
        if (it == rounds.end() || it->second > round + 1) {
          rounds[c->Consequent->Text] = round + 1;
          changed = true;
        }
      }
    }
    return rounds;
  }

  // Empty when the explanation of `text` is right, else what is wrong.
  std::string Check(const std::string& text, const TExplanation& e, bool checkShortest) {
    lines_ = &e.Lines;
    if (e.Lines.empty()) return "no lines";
    children_.assign(e.Lines.size(), {});
    for (size_t i = 0; i < e.Lines.size(); ++i) {
      const auto& line = e.Lines[i];
      if (i == 0) {
        if (line.Parent != -1 || line.Depth != 0) return "the first line is no root";
        continue;
      }
      if (line.Parent < 0 || static_cast<size_t>(line.Parent) >= i) return Where(i, "parent");
      if (line.Depth != e.Lines[static_cast<size_t>(line.Parent)].Depth + 1)
        return Where(i, "depth");
      children_[static_cast<size_t>(line.Parent)].push_back(i);
    }
    const auto& root = e.Lines[0];
    if (root.Sentence != text) return "the root names another sentence";
    if (!marked_.count(text)) return "not a sentence of the theory";
    const TExplainedStatus status = marked_.at(text);
    if (root.Status != status) return "the root's status differs from the marks";
    if (!shown_)
      return root.Kind == TStepKind::NoInterpretation && children_[0].empty()
                 ? ""
                 : "no interpretation, yet an explanation";
    switch (status) {
      case TExplainedStatus::Justified: {
        std::string fault = Justifies(0, text);
        if (fault.empty() && checkShortest) fault = Shortest(0, text);
        return fault;
      }
      case TExplainedStatus::Defeated: {
        if (root.Kind != TStepKind::Defeated || children_[0].size() != 1) return "defeated: shape";
        const std::string negation = NegationText(text);
        std::string fault = Justifies(children_[0][0], negation);
        if (fault.empty() && checkShortest) fault = Shortest(children_[0][0], negation);
        return fault;
      }
      case TExplainedStatus::Open:
        return Open(text);
    }
    return "unknown status";
  }

 private:
  std::string Where(size_t line, const std::string& what) const {
    return "line " + std::to_string(line) + " (" + (*lines_)[line].Sentence + "): " + what;
  }

  // The line derives `text` from the interpretation, and so do its children.
  std::string Justifies(size_t i, const std::string& text) const {
    const auto& line = (*lines_)[i];
    if (line.Sentence != text) return Where(i, "names another sentence than its parent needs");
    if (!closure_.count(text)) return Where(i, "claims a sentence the closure lacks");
    if (line.Status != TExplainedStatus::Justified) return Where(i, "status");
    switch (line.Kind) {
      case TStepKind::Member:
        return members_.count(text) && children_[i].empty() ? "" : Where(i, "no member");
      case TStepKind::ShownAbove: {
        const int ref = line.Reference;
        if (ref < 0 || static_cast<size_t>(ref) >= i || !children_[i].empty())
          return Where(i, "bad reference");
        for (int up = line.Parent; up >= 0; up = (*lines_)[static_cast<size_t>(up)].Parent)
          if (up == ref) return Where(i, "refers to its own ancestor");
        const auto& target = (*lines_)[static_cast<size_t>(ref)];
        if (target.Sentence != text ||
            (target.Kind != TStepKind::Member && target.Kind != TStepKind::Derived))
          return Where(i, "refers to another step");
        return "";
      }
      case TStepKind::Derived:
        break;
      default:
        return Where(i, "is no step of a derivation");
    }
    // Some conditional object with that text has this consequent and exactly
    // these distinct conjuncts.
    const auto& kids = children_[i];
    if (kids.empty() || (*lines_)[kids[0]].Sentence != line.Conditional)
      return Where(i, "the conditional is not derived first");
    std::set<std::string> conjuncts;
    for (size_t k = 1; k < kids.size(); ++k) conjuncts.insert((*lines_)[kids[k]].Sentence);
    if (conjuncts.size() != kids.size() - 1) return Where(i, "a conjunct twice");
    bool fits = false;
    auto it = conditionals_.find(line.Conditional);
    if (it != conditionals_.end()) {
      for (const auto* c : it->second) {
        std::set<std::string> own;
        for (const auto& a : c->Antecedents) own.insert(a->Text);
        if (c->Consequent->Text == text && own == conjuncts) fits = true;
      }
    }
    if (!fits) return Where(i, "no such conditional: " + line.Conditional);
    for (size_t k = 0; k < kids.size(); ++k) {
      std::string fault = Justifies(kids[k], (*lines_)[kids[k]].Sentence);
      if (!fault.empty()) return fault;
    }
    return "";
  }

  int Height(size_t i) const {
    const auto& line = (*lines_)[i];
    if (line.Kind == TStepKind::ShownAbove) return Height(static_cast<size_t>(line.Reference));
    int height = 0;
    for (size_t k : children_[i]) height = std::max(height, Height(k) + 1);
    return height;
  }

  std::string Shortest(size_t i, const std::string& text) const {
    const auto rounds = ShallowestRounds();
    auto it = rounds.find(text);
    if (it == rounds.end() || it->second != Height(i)) return Where(i, "not a shortest derivation");
    return "";
  }

  TExplainedStatus StatusOfText(const std::string& text) const {
    if (closure_.count(text)) return TExplainedStatus::Justified;
    if (closure_.count(NegationText(text))) return TExplainedStatus::Defeated;
    return TExplainedStatus::Open;
  }

  std::string Open(const std::string& text) const {
    const std::string negation = NegationText(text);
    if (closure_.count(text) || closure_.count(negation)) return "open, yet it follows";
    if ((*lines_)[0].Kind != TStepKind::Open) return "open: root kind";
    // Every distinct conditional text giving the sentence or its negation.
    std::set<std::pair<std::string, std::string>> expected, shown;
    for (const auto& [conditional, objects] : conditionals_)
      for (const auto* c : objects)
        if (c->Consequent->Text == text || c->Consequent->Text == negation)
          expected.emplace(conditional, c->Consequent->Text);
    for (size_t k : children_[0]) {
      const auto& line = (*lines_)[k];
      if (line.Kind == TStepKind::NothingGives) {
        if (!expected.empty() || children_[0].size() != 1) return Where(k, "there are some");
        return "";
      }
      if (line.Kind != TStepKind::WouldGive) return Where(k, "kind under open");
      if (!shown.emplace(line.Conditional, line.Sentence).second) return Where(k, "twice");
      if (!expected.count({line.Conditional, line.Sentence}))
        return Where(k, "no such conditional");
      // Exactly the premises the closure lacks, each with its status.
      std::set<std::string> lacking, named;
      const TKorvelConditional* c = nullptr;
      for (const auto* object : conditionals_.at(line.Conditional))
        if (object->Consequent->Text == line.Sentence) c = object;
      if (!closure_.count(c->Text)) lacking.insert(c->Text);
      for (const auto& a : c->Antecedents)
        if (!closure_.count(a->Text)) lacking.insert(a->Text);
      for (size_t p : children_[k]) {
        const auto& premise = (*lines_)[p];
        if (premise.Kind != TStepKind::NotJustified || !children_[p].empty())
          return Where(p, "premise kind");
        if (premise.Status != StatusOfText(premise.Sentence)) return Where(p, "premise status");
        named.insert(premise.Sentence);
      }
      if (named != lacking || lacking.empty()) return Where(k, "premises lacking");
    }
    return shown == expected ? "" : "open: conditionals missing";
  }

  bool shown_;
  TListOfKorvelSentences closureObjects_;
  std::unordered_set<std::string> closure_, members_;
  std::map<std::string, std::vector<const TKorvelConditional*>> conditionals_;
  std::map<std::string, TExplainedStatus> marked_;
  const std::vector<TExplanationLine>* lines_ = nullptr;
  std::vector<std::vector<size_t>> children_;
};

class TAcceptanceChecker {
 public:
  explicit TAcceptanceChecker(const TKorvelTheory& theory)
      : theory_(theory), all_(reference::ComputeInterpretations(theory)) {
    for (const auto& interpretation : all_) justified_.push_back(JustifiedTexts(interpretation));
  }

  size_t InterpretationCount() const { return all_.size(); }

  // Empty when the explanation of `text` with acceptance on is right, else
  // what is wrong. `listed` are the interpretations as numbered; `used` the
  // one the explainer says the lines below the root are about.
  std::string Check(const std::string& text, const TExplanation& e,
                    const TListOfListOfKorvelSentences& listed, const TListOfKorvelSentences* used,
                    bool checkShortest) {
    if (e.Lines.empty()) return "no lines";
    const TExplanationLine& root = e.Lines[0];
    if (root.Parent != -1 || root.Depth != 0 || root.Sentence != text) return "root";
    if (all_.empty())
      return root.Kind == TStepKind::NoInterpretationAtAll && e.Lines.size() == 1
                 ? ""
                 : "no interpretation at all, yet another claim";
    size_t in = 0;
    for (const auto& texts : justified_) in += texts.count(text);
    const TStepKind claim = in == all_.size() ? TStepKind::JustifiedInEvery
                            : in == 0         ? TStepKind::JustifiedInNone
                                              : TStepKind::NotJustifiedInEvery;
    if (root.Kind != claim) return "the claim differs from the interpretations";
    // The interpretation named: listed under its number, or not listed at all.
    const TListOfKorvelSentences* named = nullptr;
    if (root.Interpretation > 0) {
      if (static_cast<size_t>(root.Interpretation) > listed.size()) return "no such number";
      named = &listed[static_cast<size_t>(root.Interpretation) - 1];
      // The explainer may hold its own copy: the same members in the same order.
      if (used == nullptr || *used != *named)
        return "the lines below are about another interpretation";
    } else if (root.Interpretation == 0) {
      if (used == nullptr) return "an unlisted interpretation, but none given";
      for (const auto& each : listed)
        if (SameSet(each, *used)) return "said to be unlisted, yet it is listed";
      named = used;
    } else {
      return e.Lines.size() == 1 && listed.empty() && claim != TStepKind::NotJustifiedInEvery
                 ? ""
                 : "no interpretation named";
    }
    int which = -1;
    for (size_t k = 0; k < all_.size() && which < 0; ++k)
      if (SameSet(all_[k], *named)) which = static_cast<int>(k);
    if (which < 0) return "the interpretation named is none";
    if (claim == TStepKind::NotJustifiedInEvery &&
        justified_[static_cast<size_t>(which)].count(text))
      return "the interpretation named does not lack it";
    // The lines below: the explanation in that interpretation.
    TExplanation within;
    for (size_t i = 1; i < e.Lines.size(); ++i) {
      TExplanationLine line = e.Lines[i];
      if (line.Depth < 1 || (line.Parent == 0) != (i == 1)) return "lines below: shape";
      line.Parent -= 1;
      line.Depth -= 1;
      if (line.Reference >= 0) line.Reference -= 1;
      within.Lines.push_back(std::move(line));
    }
    if (within.Lines.empty() || root.Status != within.Root().Status) return "root status";
    TExplanationChecker check(theory_, named);
    const std::string fault = check.Check(text, within, checkShortest);
    return fault.empty() ? "" : "in the interpretation named: " + fault;
  }

 private:
  static bool SameSet(const TListOfKorvelSentences& a, const TListOfKorvelSentences& b) {
    std::set<const TKorvelSentence*> x, y;
    for (const auto& s : a) x.insert(s.get());
    for (const auto& s : b) y.insert(s.get());
    return x == y;
  }

  // The texts marked justified in an interpretation.
  std::set<std::string> JustifiedTexts(const TListOfKorvelSentences& interpretation) const {
    MarkStatuses(theory_, interpretation);
    std::set<std::string> texts, seen;
    for (const auto* section : {&theory_.Assumptions, &theory_.Issues}) {
      for (const auto& root : *section) {
        TListOfKorvelSentences parts;
        CollectParts(root, parts);
        for (const auto& part : parts)
          if (seen.insert(part->Text).second && part->IsJustified) texts.insert(part->Text);
      }
    }
    return texts;
  }

  const TKorvelTheory& theory_;
  TListOfListOfKorvelSentences all_;
  std::vector<std::set<std::string>> justified_;
};

}  // namespace checker
