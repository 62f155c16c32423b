#include "logic/parser.h"

#include <vector>

#include "logic/text_util.h"

namespace {

// The parse first builds light nodes that point into the input; only the
// nodes of the final result become sentence objects. Partial results of
// malformed forms are simply never materialised.
struct Node {
  enum class Kind { Elementary, Negation, Conditional } kind = Kind::Elementary;
  std::string_view text;          // elementary text (a view into the input)
  std::vector<int> children;      // negation: [negated]; conditional: antecedents..., consequent
};

class Parser {
 public:
  explicit Parser(int maxDepth) : maxDepth_(maxDepth) {}
  bool tooDeep = false;

  int ParsePart(std::string_view text, std::string_view& rest, int depth) {
    std::string_view t = Trim(text);
    if (depth > maxDepth_) {
      tooDeep = true;
      return Elementary(t);
    }
    if (StartsWith(t, "x(")) return Negation(t, rest, depth);
    if (StartsWith(t, "if(")) return Conditional(t, rest, depth);
    return ElementaryPart(t, rest);
  }

  // Bytes that the texts of this node and all nodes below it will take.
  size_t TextCost(int index, size_t& total) const {
    const Node& node = nodes_[static_cast<size_t>(index)];
    size_t own = 0;
    switch (node.kind) {
      case Node::Kind::Elementary:
        own = node.text.size();
        break;
      case Node::Kind::Negation:
        own = 3 + TextCost(node.children[0], total);
        break;
      case Node::Kind::Conditional:
        own = 2 + 2 * node.children.size();
        for (int child : node.children) own += TextCost(child, total);
        break;
    }
    total += own;
    return own;
  }

  SentencePtr Build(int index) const {
    const Node& node = nodes_[static_cast<size_t>(index)];
    switch (node.kind) {
      case Node::Kind::Negation: {
        auto negation = std::make_shared<TKorvelDialecticalNegation>();
        negation->Negated = Build(node.children[0]);
        RebuildText(*negation);
        RebuildVariables(*negation);
        return negation;
      }
      case Node::Kind::Conditional: {
        auto conditional = std::make_shared<TKorvelConditional>();
        for (size_t i = 0; i + 1 < node.children.size(); ++i)
          conditional->Antecedents.push_back(Build(node.children[i]));
        conditional->Consequent = Build(node.children.back());
        RebuildText(*conditional);
        RebuildVariables(*conditional);
        return conditional;
      }
      case Node::Kind::Elementary:
        break;
    }
    return MakeElementarySentence(std::string(node.text));
  }

 private:
  int maxDepth_;
  std::vector<Node> nodes_;

  int Add(Node node) {
    nodes_.push_back(std::move(node));
    return static_cast<int>(nodes_.size() - 1);
  }
  int Elementary(std::string_view text) { return Add(Node{Node::Kind::Elementary, text, {}}); }

  int Negation(std::string_view t, std::string_view& rest, int depth) {
    rest = Trim(t.substr(2));
    int negated = ParsePart(rest, rest, depth + 1);
    if (!StartsWith(rest, ")")) return Elementary(t);  // rest stays as the inner part left it
    rest.remove_prefix(1);
    return Add(Node{Node::Kind::Negation, {}, {negated}});
  }

  int Conditional(std::string_view t, std::string_view& rest, int depth) {
    std::vector<int> parts;
    rest = Trim(t.substr(3));
    int part = ParsePart(rest, rest, depth + 1);
    while (StartsWith(rest, ",")) {
      parts.push_back(part);
      rest = Trim(rest.substr(1));
      part = ParsePart(rest, rest, depth + 1);
    }
    if (parts.empty()) return Elementary(t);
    rest = Trim(rest);
    if (!StartsWith(rest, ")")) return Elementary(t);
    rest.remove_prefix(1);
    parts.push_back(part);  // the last part is the consequent
    return Add(Node{Node::Kind::Conditional, {}, std::move(parts)});
  }

  // Inside a compound form an elementary part ends before the first "," or
  // ")", whichever comes first; at the top level `rest` is empty and the
  // whole trimmed text is the sentence.
  int ElementaryPart(std::string_view t, std::string_view& rest) {
    size_t comma = commas_.Find(rest);
    size_t paren = parens_.Find(rest);
    if (comma != std::string_view::npos && comma >= 1 &&
        (paren == std::string_view::npos || comma < paren)) {
      int result = Elementary(Trim(rest.substr(0, comma)));
      rest = Trim(rest.substr(comma));
      return result;
    }
    if (paren != std::string_view::npos && paren >= 1) {
      int result = Elementary(Trim(rest.substr(0, paren)));
      rest = Trim(rest.substr(paren));
      return result;
    }
    return Elementary(t);
  }

  // Finds the first occurrence of one character in a view of the input,
  // remembering the last answer: the parse moves forward through the input,
  // so repeated searches for a far or missing character stay linear overall.
  class CharFinder {
   public:
    explicit CharFinder(char c) : c_(c) {}
    size_t Find(std::string_view view) {
      const char* begin = view.data();
      const char* end = view.data() + view.size();
      if (from_ != nullptr && begin >= from_ && end == end_ && (found_ == nullptr || begin <= found_))
        return found_ == nullptr ? std::string_view::npos : static_cast<size_t>(found_ - begin);
      size_t at = view.find(c_);
      from_ = begin;
      end_ = end;
      found_ = at == std::string_view::npos ? nullptr : begin + at;
      return at;
    }

   private:
    char c_;
    const char* from_ = nullptr;
    const char* end_ = nullptr;
    const char* found_ = nullptr;
  };
  CharFinder commas_{','};
  CharFinder parens_{')'};
};

SentencePtr Parse(std::string_view text, std::string_view& rest, int maxDepth) {
  Parser parser(maxDepth);
  int root = parser.ParsePart(text, rest, 0);
  size_t total = 0;
  if (!parser.tooDeep) parser.TextCost(root, total);
  if (parser.tooDeep || total > kParseTextBudgetFactor * text.size() + kParseTextBudgetBase) {
    rest = {};
    return MakeElementarySentence(std::string(Trim(text)));
  }
  return parser.Build(root);
}

}  // namespace

SentencePtr ParseSentence(std::string_view text, int maxDepth) {
  std::string_view rest;
  return Parse(text, rest, maxDepth);
}

SentencePtr ParsePart(std::string_view text, std::string& remaining) {
  // Copies, because inside a compound form text and remaining are one string.
  const std::string textCopy(text);
  const std::string restCopy(remaining);
  std::string_view rest(restCopy);
  SentencePtr result = Parse(textCopy, rest, kMaxParseDepth);
  remaining.assign(rest);
  return result;
}
