#include "logic/sentence.h"

#include <algorithm>

SentencePtr MakeElementarySentence(std::string text) {
  auto sentence = std::make_shared<TKorvelElementarySentence>();
  sentence->Text = std::move(text);
  return sentence;
}

void RebuildText(TKorvelSentence& sentence) {
  if (auto* negation = AsKind<TKorvelDialecticalNegation>(&sentence)) {
    negation->Text = "x(" + negation->Negated->Text + ")";
  } else if (auto* conditional = AsKind<TKorvelConditional>(&sentence)) {
    size_t size = 5 + conditional->Consequent->Text.size();
    for (const auto& a : conditional->Antecedents) size += a->Text.size() + 2;
    std::string text;
    text.reserve(size);
    text += "if(";
    for (size_t i = 0; i < conditional->Antecedents.size(); ++i) {
      if (i > 0) text += ", ";
      text += conditional->Antecedents[i]->Text;
    }
    text += ", ";
    text += conditional->Consequent->Text;
    text += ")";
    conditional->Text = std::move(text);
  }
}

std::vector<std::string> ScanVariables(std::string_view text) {
  std::vector<std::string> variables;
  for (;;) {
    size_t open = text.find('<');
    if (open == std::string_view::npos) break;
    text.remove_prefix(open);
    size_t close = text.find('>');
    if (close == std::string_view::npos) break;
    variables.emplace_back(text.substr(0, close + 1));
    text.remove_prefix(close + 1);
  }
  return variables;
}

namespace {

// A set of texts: compared pairwise while it is meant for a few, else hashed
// behind a filter on their lengths, so that long nested texts are not hashed
// at every level of a deep sentence.
class TTextSet {
 public:
  explicit TTextSet(bool few) : few_(few) {}

  bool Contains(std::string_view text) const {
    if (few_) return std::find(fewTexts_.begin(), fewTexts_.end(), text) != fewTexts_.end();
    return lengths_.count(text.size()) != 0 && hashed_.count(text) != 0;
  }
  // False when the text was there already.
  bool Insert(std::string_view text) {
    if (Contains(text)) return false;
    if (few_) {
      fewTexts_.push_back(text);
    } else {
      hashed_.insert(text);
      lengths_.insert(text.size());
    }
    return true;
  }

 private:
  bool few_;
  std::vector<std::string_view> fewTexts_;
  std::unordered_set<std::string_view> hashed_;
  std::unordered_set<size_t> lengths_;
};

}  // namespace

void RebuildVariables(TKorvelSentence& sentence) {
  sentence.Variables.clear();
  if (AsKind<TKorvelElementarySentence>(&sentence) != nullptr) {
    sentence.Variables = ScanVariables(sentence.Text);
    return;
  }
  // The variables of the distinct elementary parts, in the order CollectParts
  // would collect them. A compound part only matters here when its text
  // equals an elementary part's text (it then hides that part).
  std::vector<TKorvelSentence*> stack, parts;
  WalkParts(&sentence, stack, [&](TKorvelSentence& part) { parts.push_back(&part); });
  auto isElementary = [](const TKorvelSentence* part) { return AsKind<TKorvelElementarySentence>(part) != nullptr; };
  // Most sentences have a few parts: comparing their texts pairwise costs
  // less than building hash sets.
  constexpr size_t kFewParts = 16;
  TTextSet elementaryTexts(parts.size() <= kFewParts), seen(parts.size() <= kFewParts);
  for (const TKorvelSentence* part : parts)
    if (isElementary(part)) elementaryTexts.Insert(part->Text);
  for (TKorvelSentence* part : parts) {
    if (!isElementary(part)) {
      if (elementaryTexts.Contains(part->Text)) seen.Insert(part->Text);
      continue;
    }
    if (!seen.Insert(part->Text)) continue;
    part->Variables = ScanVariables(part->Text);
    sentence.Variables.insert(sentence.Variables.end(), part->Variables.begin(), part->Variables.end());
  }
}

void TPartsCollector::Collect(const SentencePtr& root) {
  // The same walk as WalkParts, over the owning references, since the list
  // holds shared references to the parts themselves.
  std::vector<const SentencePtr*> stack{&root};
  while (!stack.empty()) {
    const SentencePtr& sentence = *stack.back();
    stack.pop_back();
    if (seen_.insert(sentence->Text).second) parts_.push_back(sentence);
    if (auto* negation = AsKind<TKorvelDialecticalNegation>(sentence.get())) {
      stack.push_back(&negation->Negated);
    } else if (auto* conditional = AsKind<TKorvelConditional>(sentence.get())) {
      for (auto it = conditional->Antecedents.rbegin(); it != conditional->Antecedents.rend(); ++it)
        stack.push_back(&*it);
      stack.push_back(&conditional->Consequent);
    }
  }
}

void CollectParts(const SentencePtr& sentence, TListOfKorvelSentences& list) {
  TPartsCollector collector(std::move(list));
  collector.Collect(sentence);
  list = collector.TakeParts();
}

TPartsCollector::TPartsCollector(TListOfKorvelSentences initial) : parts_(std::move(initial)) {
  for (const auto& sentence : parts_) seen_.insert(sentence->Text);
}

bool ContainsPart(const SentencePtr& whole, const SentencePtr& part) {
  TPartsCollector collector;
  collector.Collect(whole);
  return collector.Contains(part->Text);
}

std::shared_ptr<TKorvelDialecticalNegation> MakeDialecticalNegation(const SentencePtr& sentence) {
  auto negation = std::make_shared<TKorvelDialecticalNegation>();
  negation->Negated = sentence;
  RebuildText(*negation);
  RebuildVariables(*negation);
  return negation;
}

std::string NegationText(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 3);
  result += "x(";
  result += text;
  result += ")";
  return result;
}

int IndexOfText(const TListOfKorvelSentences& list, std::string_view text) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i]->Text == text) return static_cast<int>(i);
  return -1;
}

int IndexOfSentence(const TListOfKorvelSentences& list, const SentencePtr& sentence) {
  return IndexOfText(list, sentence->Text);
}
