#include "frameworks/aba_format.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

namespace {

// A text on one comment line: control characters escaped.
std::string CommentText(const std::string& text) {
  static const char* const kHex = "0123456789abcdef";
  std::string shown;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 32 || byte == 127 || c == '\\') {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 15];
    } else {
      shown += c;
    }
  }
  return shown;
}

class TAtoms {
 public:
  size_t Of(const std::string& text) {
    auto [it, added] = numbers_.emplace(text, texts_.size() + 1);
    if (added) texts_.push_back(text);
    return it->second;
  }
  bool Has(const std::string& text) const { return numbers_.count(text) != 0; }
  size_t Count() const { return texts_.size(); }
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  std::unordered_map<std::string, size_t> numbers_;
  std::vector<std::string> texts_;
};

}  // namespace

std::string WriteAbaFramework(const TKorvelTheory& theory) {
  TAtoms atoms;
  std::unordered_map<std::string, TSentenceKind> kinds;
  std::vector<const TKorvelConditional*> conditionals;
  std::vector<TKorvelSentence*> stack;

  // Atoms for every part of every assumption, each text once and one kind.
  for (const auto& assumption : theory.Assumptions) {
    WalkParts(assumption.get(), stack, [&](TKorvelSentence& part) {
      const TSentenceKind kind = part.Kind();
      if (kind == TSentenceKind::Unset) throw TAbaExportError("an assumption holds an unset part");
      auto [it, added] = kinds.emplace(part.Text, kind);
      if (!added && it->second != kind)
        throw TAbaExportError("the text \"" + CommentText(part.Text) +
                              "\" is read both as an elementary sentence and as a compound one");
      if (!added) return;
      atoms.Of(part.Text);
      if (kind == TSentenceKind::Conditional)
        conditionals.push_back(static_cast<TKorvelConditional*>(&part));
    });
  }

  std::vector<size_t> assumptions;
  std::unordered_set<std::string> assumed;
  for (const auto& assumption : theory.Assumptions)
    if (assumed.insert(assumption->Text).second) assumptions.push_back(atoms.Of(assumption->Text));

  // Rules; an assumption as a rule's head would make the framework not flat.
  std::vector<std::vector<size_t>> rules;
  for (const TKorvelConditional* conditional : conditionals) {
    if (assumed.count(conditional->Consequent->Text))
      throw TAbaExportError("the assumption \"" + CommentText(conditional->Consequent->Text) +
                            "\" is derived by the conditional \"" + CommentText(conditional->Text) +
                            "\"; the ABA format needs assumptions that no rule derives");
    std::vector<size_t> rule{atoms.Of(conditional->Consequent->Text)};
    for (const auto& antecedent : conditional->Antecedents) {
      const size_t atom = atoms.Of(antecedent->Text);
      if (std::find(rule.begin() + 1, rule.end(), atom) == rule.end()) rule.push_back(atom);
    }
    const size_t self = atoms.Of(conditional->Text);
    if (std::find(rule.begin() + 1, rule.end(), self) == rule.end()) rule.push_back(self);
    rules.push_back(std::move(rule));
  }

  // Contraries: the negation of each assumption.
  std::vector<std::pair<size_t, size_t>> contraries;
  for (size_t atom : assumptions) {
    const std::string& text = atoms.Texts()[atom - 1];
    contraries.emplace_back(atom, atoms.Of(NegationText(text)));
  }

  // Conflicts between a derivable sentence that is no assumption and its
  // derivable negation (an assumption's conflicts are its contrary's work).
  std::unordered_set<std::string> derivable = assumed;
  for (const TKorvelConditional* conditional : conditionals)
    derivable.insert(conditional->Consequent->Text);
  std::vector<std::pair<size_t, size_t>> conflicts;
  const size_t sentenceAtoms = atoms.Count();
  for (size_t atom = 1; atom <= sentenceAtoms; ++atom) {
    const std::string& text = atoms.Texts()[atom - 1];
    if (assumed.count(text) || !derivable.count(text)) continue;
    const std::string negation = NegationText(text);
    if (derivable.count(negation)) conflicts.emplace_back(atom, atoms.Of(negation));
  }
  size_t conflictAtom = 0;
  std::unordered_map<size_t, std::string> freshComments;  // atoms that stand for no sentence
  auto freshAtom = [&](std::string name, std::string comment) {
    while (atoms.Has(name)) name += "'";
    const size_t atom = atoms.Of(name);
    freshComments.emplace(atom, std::move(comment));
    return atom;
  };
  if (!conflicts.empty()) {
    conflictAtom = freshAtom("conflict", "a sentence together with its negation");
    for (const auto& [sentence, negation] : conflicts)
      rules.push_back({conflictAtom, sentence, negation});
    for (auto& [assumption, contrary] : contraries) {
      // An assumed negation (p and x(p) both assumptions) cannot head the
      // conflict's rule: the framework would not be flat. A fresh atom,
      // derived from the negation and from the conflict, is the contrary.
      const std::string negation = atoms.Texts()[contrary - 1];
      if (assumed.count(negation)) {
        const size_t either = freshAtom(
            "contrary", CommentText(negation) + ", or a sentence together with its negation");
        rules.push_back({either, contrary});
        contrary = either;
      }
      rules.push_back({contrary, conflictAtom});
    }
  }

  std::vector<size_t> issues;
  for (const auto& issue : theory.Issues) issues.push_back(atoms.Of(issue->Text));

  std::string out = "p aba " + std::to_string(atoms.Count()) + "\n";
  out += "# atoms and the sentence texts they stand for\n";
  for (size_t atom = 1; atom <= atoms.Count(); ++atom) {
    out += "# " + std::to_string(atom) + " ";
    auto fresh = freshComments.find(atom);
    out += fresh != freshComments.end() ? "(" + fresh->second + ")"
                                        : CommentText(atoms.Texts()[atom - 1]);
    out += "\n";
  }
  for (size_t atom : issues) out += "# issue " + std::to_string(atom) + "\n";
  for (size_t atom : assumptions) out += "a " + std::to_string(atom) + "\n";
  for (const auto& [assumption, contrary] : contraries)
    out += "c " + std::to_string(assumption) + " " + std::to_string(contrary) + "\n";
  for (const auto& rule : rules) {
    out += "r";
    for (size_t atom : rule) out += " " + std::to_string(atom);
    out += "\n";
  }
  return out;
}
