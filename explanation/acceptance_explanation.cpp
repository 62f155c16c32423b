#include "explanation/acceptance_explanation.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <unordered_set>
#include <vector>

TAcceptanceExplainer::TAcceptanceExplainer(const TKorvelTheory& theory,
                                           const TAcceptance& acceptance,
                                           const std::vector<std::string>& texts,
                                           const TInterpretationList& listed, int shown,
                                           const TExplainer* shownExplainer)
    : theory_(theory),
      acceptance_(acceptance),
      listed_(listed),
      shown_(shown >= 0 && static_cast<size_t>(shown) < listed.size() ? shown : -1),
      shownExplainer_(shown_ >= 0 ? shownExplainer : nullptr) {
  // The first of repeated texts answers, as the report lists them.
  for (size_t k = texts.size(); k-- > 0;) textIndex_[texts[k]] = k;
}

TAcceptanceExplainer::~TAcceptanceExplainer() = default;

bool TAcceptanceExplainer::Covers(std::string_view text) const {
  const auto at = textIndex_.find(std::string(text));
  return at != textIndex_.end() &&
         (!acceptance_.HasInterpretation || at->second < acceptance_.Texts.size());
}

const TExplainer& TAcceptanceExplainer::ListedExplainer(int index) {
  if (index == shown_ && shownExplainer_ != nullptr) return *shownExplainer_;
  std::unique_ptr<TExplainer>& made = explainers_[index];
  if (!made) made = std::make_unique<TExplainer>(theory_, &Whole(index));
  return *made;
}

const TListOfKorvelSentences& TAcceptanceExplainer::Whole(int index) {
  std::unique_ptr<TListOfKorvelSentences>& whole = wholes_[index];
  if (!whole) whole = std::make_unique<TListOfKorvelSentences>(listed_.At(static_cast<size_t>(index)));
  return *whole;
}

int TAcceptanceExplainer::FindListed(const TListOfKorvelSentences& interpretation) const {
  // Listed interpretations hold the same objects in another order (the
  // forced ones first), so they are compared as sets. They differ in their
  // chosen assumptions: comparing those first finds a difference after a few
  // steps instead of after all the forced ones, without making any whole.
  std::unordered_set<const TKorvelSentence*> members;
  for (const auto& sentence : interpretation) members.insert(sentence.get());
  const TListOfKorvelSentences& table = listed_.Table();
  const auto member = [&](uint32_t position) { return members.count(table[position].get()) != 0; };
  std::vector<uint32_t> chosen;
  for (size_t k = 0; k < listed_.size(); ++k) {
    if (listed_.MemberCount(k) != interpretation.size()) continue;
    listed_.ChosenPositions(k, chosen);
    bool same = std::all_of(chosen.rbegin(), chosen.rend(), member);
    if (same) {
      const std::span<const uint32_t> forced = listed_.ForcedPositions(k);
      same = std::all_of(forced.begin(), forced.end(), member);
    }
    if (same) return static_cast<int>(k);
  }
  return -1;
}

TExplanation TAcceptanceExplainer::Explain(std::string_view text) {
  used_ = nullptr;
  usedExplainer_ = nullptr;
  TExplanation out;
  if (!Covers(text)) return out;
  TExplanationLine root;
  root.Sentence = std::string(text);
  if (!acceptance_.HasInterpretation) {
    root.Kind = TStepKind::NoInterpretationAtAll;
    out.Lines.push_back(std::move(root));
    return out;
  }
  const size_t k = textIndex_.at(std::string(text));
  const int preferred = shown_ >= 0 ? shown_ : listed_.empty() ? -1 : 0;
  int chosen = preferred;
  switch (acceptance_.Texts[k].Justified) {
    case TReach::All:
      root.Kind = TStepKind::JustifiedInEvery;
      break;
    case TReach::None:
      root.Kind = TStepKind::JustifiedInNone;
      break;
    case TReach::Some: {
      root.Kind = TStepKind::NotJustifiedInEvery;
      // The one shown when it lacks the sentence, else the witness.
      if (preferred >= 0 &&
          ListedExplainer(preferred).StatusOf(text) != TExplainedStatus::Justified)
        break;
      chosen = -1;
      const std::optional<TListOfKorvelSentences> witness =
          k < acceptance_.UnjustifiedIn.size()
              ? WitnessInterpretation(theory_, acceptance_, acceptance_.UnjustifiedIn[k])
              : std::nullopt;
      if (!witness) break;
      chosen = FindListed(*witness);
      if (chosen < 0) {
        unlisted_ = std::make_unique<TListOfKorvelSentences>(*witness);
        unlistedExplainer_ = std::make_unique<TExplainer>(theory_, unlisted_.get());
        used_ = unlisted_.get();
        usedExplainer_ = unlistedExplainer_.get();
      }
      break;
    }
  }
  if (chosen >= 0) {
    used_ = &Whole(chosen);
    usedExplainer_ = &ListedExplainer(chosen);
  }
  root.Interpretation = usedExplainer_ == nullptr ? -1 : chosen + 1;
  if (usedExplainer_ == nullptr) {
    out.Lines.push_back(std::move(root));
    return out;
  }
  // The explanation within that interpretation, one level down.
  TExplanation within = usedExplainer_->Explain(text);
  root.Status = within.Lines.empty() ? TExplainedStatus::Open : within.Root().Status;
  out.Lines.reserve(within.Lines.size() + 1);
  out.Lines.push_back(std::move(root));
  for (TExplanationLine& line : within.Lines) {
    line.Parent += 1;
    line.Depth += 1;
    if (line.Reference >= 0) line.Reference += 1;
    out.Lines.push_back(std::move(line));
  }
  return out;
}
