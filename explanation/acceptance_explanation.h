// Why a sentence is or is not justified in every dialectical interpretation,
// from the acceptance computed over all of them (acceptance/acceptance.h).
// The root line says which of these holds and names one interpretation, by
// its number among those listed; below it comes the sentence's explanation
// in that interpretation (explanation.h):
//
// - justified in every interpretation: its derivation in the one shown (the
//   first when none is);
// - not justified in every interpretation (justified in some): one that
//   lacks it, the shown one when it does, else the acceptance's witness, and
//   why it is defeated or open there;
// - justified in none: why it is not in the one shown (the first);
// - no interpretation at all: one line saying so.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "acceptance/acceptance.h"
#include "evaluation/interpretation_list.h"
#include "explanation/explanation.h"

class TAcceptanceExplainer {
 public:
  // `acceptance` was computed for `texts` on this theory (or on a copy: its
  // witnesses are taken as positions among the theory's assumptions).
  // `listed` are the interpretations as they are numbered (possibly only the
  // first ones), `shown` the index of the one shown or -1, and
  // `shownExplainer`, when given, the explainer for that one. Everything
  // given must outlive the explainer and stay unchanged.
  TAcceptanceExplainer(const TKorvelTheory& theory, const TAcceptance& acceptance,
                       const std::vector<std::string>& texts,
                       const TInterpretationList& listed, int shown,
                       const TExplainer* shownExplainer = nullptr);
  ~TAcceptanceExplainer();
  TAcceptanceExplainer(const TAcceptanceExplainer&) = delete;
  TAcceptanceExplainer& operator=(const TAcceptanceExplainer&) = delete;

  // Whether the acceptance answers for the text.
  bool Covers(std::string_view text) const;
  // The explanation of a text it covers (Covers), else none.
  TExplanation Explain(std::string_view text);
  // The interpretation the last explanation's lines below its root are about
  // and its explainer, to explain a premise of those lines in turn; null when
  // there are no such lines.
  const TListOfKorvelSentences* Interpretation() const { return used_; }
  const TExplainer* InterpretationExplainer() const { return usedExplainer_; }

 private:
  // The explainer for a listed interpretation, made once.
  const TExplainer& ListedExplainer(int index);
  // Listed interpretation `index` as a whole list, made once.
  const TListOfKorvelSentences& Whole(int index);
  // The listed interpretation with exactly these assumption objects, or -1.
  int FindListed(const TListOfKorvelSentences& interpretation) const;

  const TKorvelTheory& theory_;
  const TAcceptance& acceptance_;
  const TInterpretationList& listed_;
  const int shown_;
  const TExplainer* shownExplainer_;
  std::unordered_map<std::string, size_t> textIndex_;
  // Listed interpretations made whole for an explainer, with their explainers.
  std::unordered_map<int, std::unique_ptr<TListOfKorvelSentences>> wholes_;
  std::unordered_map<int, std::unique_ptr<TExplainer>> explainers_;
  // A witness that is not listed, with its explainer.
  std::unique_ptr<TListOfKorvelSentences> unlisted_;
  std::unique_ptr<TExplainer> unlistedExplainer_;
  const TListOfKorvelSentences* used_ = nullptr;
  const TExplainer* usedExplainer_ = nullptr;
};
