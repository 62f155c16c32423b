// The lenient reader of theory files. All texts are views into the theory's
// Text; nothing is copied until a sentence is made, so long files read in
// time proportional to their length.
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "logic/parser.h"
#include "logic/text_util.h"
#include "logic/theory.h"
#include "logic/work_in_parts.h"

namespace {

constexpr std::string_view kSentence = "<SENTENCE>";
constexpr std::string_view kSentenceEnd = "</SENTENCE>";
constexpr std::string_view kElementary = "<ELEMENTARYSENTENCE>";
constexpr std::string_view kElementaryEnd = "</ELEMENTARYSENTENCE>";
constexpr std::string_view kNegation = "<DIALECTICALNEGATION>";
constexpr std::string_view kNegationEnd = "</DIALECTICALNEGATION>";
constexpr std::string_view kConditional = "<CONDITIONAL>";
constexpr std::string_view kConditionalEnd = "</CONDITIONAL>";
constexpr std::string_view kAntecedent = "<ANTECEDENT>";
constexpr std::string_view kConsequent = "<CONSEQUENT>";
constexpr std::string_view kConsequentEnd = "</CONSEQUENT>";

TReadResult Fail() { return TReadResult{}; }

TReadResult Succeed(SentencePtr sentence, std::string_view rest) {
  return TReadResult{true, std::move(sentence), TextAfterTag(rest, kSentenceEnd).Rest};
}

// The first occurrence of a tag at or after the start of a view that only
// moves forward through one text. The answer is remembered, so asking again
// after every sentence costs nothing until the view passes it.
class TForwardTagFinder {
 public:
  explicit TForwardTagFinder(std::string_view tag) : tag_(tag) {}
  // Offset of the first occurrence in `view`, or npos.
  size_t Find(std::string_view view) {
    const char* begin = view.data();
    const char* end = begin + view.size();
    bool reusable = valid_ && begin >= from_ &&
                    (found_ == nullptr ? end <= end_ : (begin <= found_ && found_ + tag_.size() <= end));
    if (!reusable) {
      size_t at = view.find(tag_);
      valid_ = true;
      from_ = begin;
      end_ = end;
      found_ = at == std::string_view::npos ? nullptr : begin + at;
    }
    return found_ == nullptr ? std::string_view::npos : static_cast<size_t>(found_ - begin);
  }

 private:
  std::string_view tag_;
  bool valid_ = false;
  const char* from_ = nullptr;
  const char* end_ = nullptr;
  const char* found_ = nullptr;
};

// Reads one sentence block after another. The check that a negation's end
// tag follows is remembered across nested blocks, so deeply nested input is
// not scanned again at every level.
class TSentenceReader {
 public:
  explicit TSentenceReader(bool parse) : parse_(parse) {}

  TReadResult Read(std::string_view text) { return Read(text, 0); }

 private:
  bool parse_;
  TForwardTagFinder negationEnds_{kNegationEnd};

  // A parsed text nests no deeper than the block it stands in may still go, so
  // that whatever is read can be written and read back.
  TReadResult ReadElementary(std::string_view r, int depth) {
    size_t end = r.find(kElementaryEnd);
    if (end == std::string_view::npos) return Fail();
    std::string text(Trim(r.substr(kElementary.size(), end - kElementary.size())));
    SentencePtr sentence = parse_ ? ParseSentence(text, kMaxReadDepth - depth)
                                 : MakeElementarySentence(std::move(text));
    return Succeed(std::move(sentence), Trim(r.substr(end + kElementaryEnd.size())));
  }

  TReadResult ReadNegation(std::string_view r, int depth) {
    if (negationEnds_.Find(r) == std::string_view::npos) return Fail();
    TReadResult inner = Read(TextAfterTag(r, kNegation).Rest, depth + 1);
    if (!inner.Success || !Contains(inner.Rest, kNegationEnd)) return Fail();
    auto negation = std::make_shared<TKorvelDialecticalNegation>();
    negation->Negated = inner.Sentence;
    RebuildText(*negation);
    RebuildVariables(*negation);
    return Succeed(std::move(negation), TextAfterTag(inner.Rest, kNegationEnd).Rest);
  }

  TReadResult ReadConditional(std::string_view r, int depth) {
    auto conditional = std::make_shared<TKorvelConditional>();
    r = TextAfterTag(r, kConditional).Rest;
    if (Contains(r, kAntecedent)) {
      r = TextAfterTag(r, kAntecedent).Rest;
      while (StartsWith(r, kSentence)) {
        TReadResult part = Read(r, depth + 1);
        if (!part.Success) {
          r = {};
          break;
        }
        conditional->Antecedents.push_back(part.Sentence);
        r = part.Rest;
      }
    }
    bool consequentRead = false;
    if (Contains(r, kConsequent)) {
      TReadResult part = Read(TextAfterTag(r, kConsequent).Rest, depth + 1);
      r = part.Rest;
      if (part.Success) {
        if (Contains(r, kConsequentEnd)) {
          r = TextAfterTag(r, kConsequentEnd).Rest;
          conditional->Consequent = part.Sentence;
          consequentRead = true;
        } else {
          r = {};
        }
      }
    }
    if (conditional->Antecedents.empty() || !consequentRead || !Contains(r, kConditionalEnd))
      return Fail();
    r = TextAfterTag(r, kConditionalEnd).Rest;
    RebuildText(*conditional);
    RebuildVariables(*conditional);
    return Succeed(std::move(conditional), r);
  }

  TReadResult Read(std::string_view text, int depth) {
    if (depth > kMaxReadDepth) return Fail();
    std::string_view r = TextAfterTag(text, kSentence).Rest;
    if (StartsWith(r, kElementary)) return ReadElementary(r, depth);
    if (StartsWith(r, kNegation)) return ReadNegation(r, depth);
    if (StartsWith(r, kConditional)) return ReadConditional(r, depth);
    return Fail();
  }
};

// Notes the first place where reading stopped, as an offset into `text`.
void NoteStop(TReadStop* stop, std::string_view text, const char* at) {
  if (stop == nullptr || stop->Stopped) return;
  stop->Stopped = true;
  stop->Offset = static_cast<size_t>(at - text.data());
}

// What reading a stretch of a section gave: its sentences in order, and how
// it ended.
struct TStretch {
  std::vector<SentencePtr> Sentences;
  // Set when the next sentence starts at or past the stretch's limit: Next
  // is where, Rest the section from there on.
  bool Reached = false;
  const char* Next = nullptr;
  std::string_view Rest;
  // A sentence left unread: one that failed, or whose section has no end tag.
  const char* Unread = nullptr;
  // Where the last pass of the loop began (progress's last position).
  const char* Last = nullptr;
};

// Reads the sentences of a section from the start of `section`: while a
// "<SENTENCE>" occurs before the section's end tag, read one; a failure ends
// the section. With a `limit`, the stretch also ends where the next sentence
// starts at or past it. Which sentence is read next depends only on where the
// reading stands, so a stretch begun where another reached its limit reads
// just what the other would have read on from there.
TStretch ReadStretch(std::string_view section, std::string_view endTag, bool parse, TReadProgress* progress,
                     const char* limit) {
  TStretch stretch;
  TForwardTagFinder ends(endTag);
  TForwardTagFinder starts(kSentence);
  TSentenceReader reader(parse);
  const char* counted = section.data();
  for (;;) {
    stretch.Last = section.data();
    if (progress) {
      if (progress->Stop.load(std::memory_order_relaxed)) return stretch;
      progress->Bytes.fetch_add(static_cast<size_t>(section.data() - counted), std::memory_order_relaxed);
      counted = section.data();
    }
    size_t end = ends.Find(section);
    size_t start = starts.Find(section);
    if (start == std::string_view::npos) return stretch;
    if (end == std::string_view::npos) {
      stretch.Unread = section.data() + start;
      return stretch;
    }
    if (start >= end) return stretch;
    if (limit != nullptr && section.data() + start >= limit) {
      stretch.Reached = true;
      stretch.Next = section.data() + start;
      stretch.Rest = section;
      return stretch;
    }
    TReadResult read = reader.Read(section);
    if (!read.Success) {
      stretch.Unread = section.data() + start;
      return stretch;
    }
    stretch.Sentences.push_back(std::move(read.Sentence));
    if (progress) progress->Sentences.fetch_add(1, std::memory_order_relaxed);
    section = read.Rest;
  }
}

// A section smaller than this is read in one stretch: a thread of its own
// would cost more than it saves.
constexpr size_t kBytesPerStretch = size_t{1} << 18;

// Where the stretches of a section begin: its start, and then the first
// sentence after a blank line past each equal share of its bytes (where a
// file in normal form begins a top-level sentence). A guess that falls inside
// a sentence costs only the work of its stretch.
std::vector<const char*> StretchStarts(std::string_view section, size_t parts) {
  constexpr std::string_view kAfterBlankLine = "\r\n\r\n<SENTENCE>";
  std::vector<const char*> begins{section.data()};
  for (size_t part = 1; part < parts; ++part) {
    const size_t from = std::max(section.size() / parts * part,
                                 static_cast<size_t>(begins.back() - section.data()) + 1);
    const size_t at = section.find(kAfterBlankLine, from);
    if (at == std::string_view::npos) break;
    begins.push_back(section.data() + at + kAfterBlankLine.size() - kSentence.size());
  }
  return begins;
}

// Reads the sentences of one section and hands each to `take`, in order. A
// large section is read in stretches at once (up to four), and the
// stretches are then joined from the first: where one reaches the start of
// the next, the next's sentences follow; where it passes that start (the
// start lay inside a sentence), reading goes on from there here. The result
// is what one reading from the start gives. A sentence left unread is noted
// in `stop`, which does not change what is read. `parts` 0 picks the number
// by size.
template <class Take>
void ReadSection(std::string_view section, std::string_view endTag, bool parse, TReadProgress* progress,
                 const char* textStart, Take take, std::string_view text, TReadStop* stop, size_t parts) {
  if (progress) progress->Bytes.store(static_cast<size_t>(section.data() - textStart), std::memory_order_relaxed);
  // Stretches read in vain count too while they run; the counts are set
  // right at the end.
  const size_t sentencesBefore = progress ? progress->Sentences.load(std::memory_order_relaxed) : 0;
  size_t taken = 0;
  if (parts == 0) parts = PartsFor(section.size(), kBytesPerStretch);
  const std::vector<const char*> begins = StretchStarts(section, parts);
  std::vector<TStretch> stretches(begins.size());
  const char* sectionEnd = section.data() + section.size();
  RunInParts(begins.size(), [&](size_t part) {
    const char* limit = part + 1 < begins.size() ? begins[part + 1] : nullptr;
    stretches[part] = ReadStretch(std::string_view(begins[part], static_cast<size_t>(sectionEnd - begins[part])),
                                  endTag, parse, progress, limit);
  });

  size_t part = 0;
  TStretch readOn;
  TStretch* current = &stretches[0];
  for (;;) {
    for (const SentencePtr& sentence : current->Sentences) {
      take(sentence);
      ++taken;
      if (stop != nullptr) ++stop->SentencesRead;
    }
    if (!current->Reached) {
      if (current->Unread != nullptr) NoteStop(stop, text, current->Unread);
      if (progress) {
        progress->Bytes.store(static_cast<size_t>(current->Last - textStart), std::memory_order_relaxed);
        progress->Sentences.store(sentencesBefore + taken, std::memory_order_relaxed);
      }
      return;
    }
    size_t next = part + 1;
    while (next + 1 < begins.size() && begins[next + 1] <= current->Next) ++next;
    if (begins[next] == current->Next) {
      part = next;
      current = &stretches[next];
      continue;
    }
    // The next stretch began inside a sentence: read on up to the one after.
    part = next;
    const std::string_view rest = current->Rest;
    readOn = ReadStretch(rest, endTag, parse, progress, part + 1 < begins.size() ? begins[part + 1] : nullptr);
    current = &readOn;
  }
}

}  // namespace

TTagSearch TextAfterTag(std::string_view text, std::string_view tag) {
  size_t at = text.find(tag);
  if (at == std::string_view::npos) return TTagSearch{false, text};
  return TTagSearch{true, Trim(text.substr(at + tag.size()))};
}

void TakeTheoryText(TKorvelTheory& theory, const TKorvelFile& file) {
  theory.Text = std::string(TextAfterTag(file.Text, "<THEORY>").Rest);
}

TReadResult ReadSentence(std::string_view text, bool parseSentences) {
  return TSentenceReader(parseSentences).Read(text);
}

void MarkContainedAssumptions(const TListOfKorvelSentences& assumptions) {
  // Each assumption text, and whether a part with it was met yet: the parts
  // are walked in the order collecting them would take, and only the first
  // object met with each text is flagged, as collecting keeps only that one.
  std::unordered_map<std::string_view, bool> assumptionTexts;
  assumptionTexts.reserve(assumptions.size());
  for (const auto& a : assumptions) assumptionTexts.emplace(a->Text, false);
  std::vector<TKorvelSentence*> stack;
  for (const auto& a : assumptions)
    WalkParts(a.get(), stack, [&](TKorvelSentence& part) {
      const auto found = assumptionTexts.find(part.Text);
      if (found == assumptionTexts.end() || found->second) return;
      found->second = true;
      part.IsAssumption = true;
    });
}

void ReadTheory(TKorvelTheory& theory, bool parseSentences, TReadStop* stop, TReadProgress* progress) {
  ReadTheoryInParts(theory, parseSentences, 0, stop, progress);
}

void ReadTheoryInParts(TKorvelTheory& theory, bool parseSentences, size_t parts, TReadStop* stop,
                       TReadProgress* progress) {
  std::string_view s = TextAfterTag(theory.Text, "<THEORY>").Rest;
  std::string_view afterTheory = TextAfterTag(s, "</THEORY>").Rest;

  // Views into the texts of the sentences kept: a sentence is kept exactly
  // when its text is new, so each view's sentence outlives the set.
  std::unordered_set<std::string_view> assumptionTexts;
  ReadSection(s, "</THEORY>", parseSentences, progress, theory.Text.data(), [&](const SentencePtr& sentence) {
    sentence->IsAssumption = true;
    if (assumptionTexts.insert(sentence->Text).second) theory.Assumptions.push_back(sentence);
  }, theory.Text, stop, parts);
  MarkContainedAssumptions(theory.Assumptions);

  std::string_view issues = TextAfterTag(afterTheory, "<ISSUES>").Rest;
  std::unordered_set<std::string_view> issueTexts;
  ReadSection(issues, "</ISSUES>", parseSentences, progress, theory.Text.data(), [&](const SentencePtr& sentence) {
    if (assumptionTexts.count(sentence->Text) != 0) return;
    sentence->IsIssue = true;
    if (issueTexts.insert(sentence->Text).second) theory.Issues.push_back(sentence);
  }, theory.Text, stop, parts);
}
