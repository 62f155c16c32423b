// The pieces of a refresh's report and its roles, which the structure and the
// evaluation (refresh_phases.h) and the blocks written when read
// (interpretation_blocks.h) share.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "reasoning/evaluation_control.h"
#include "evaluation/interpretation_list.h"
#include "logic/sentence.h"
#include "logic/theory.h"

namespace refresh {

// Every sentence whose text is neither an assumption's nor an issue's becomes
// an issue; the flags of the others follow their texts. Returns the texts of
// the sentences made issues, in order.
std::vector<std::string> GiveRoles(TKorvelTheory& theory, const TListOfKorvelSentences& allSentences);

// The report up to the interpretations: the assumptions, then the issues.
void AppendReportHead(const TKorvelTheory& theory, std::vector<std::string>& lines);

// The report's part about no interpretation or a single one, written from
// the marks in force; several, or a list cut at the limit, are written as
// blocks (interpretation_blocks.h).
void AppendInterpretationReport(const TKorvelTheory& theory, size_t count, std::vector<std::string>& lines);

// The pieces of the report of several interpretations: the heading of a cut
// list (nothing when not cut), and the block of interpretation `index`
// (0-based) written from the marks on the theory, with how many lines that
// block has for the marks in force.
void AppendListHeading(size_t count, bool cut, std::vector<std::string>& lines);
void AppendInterpretationBlock(const TKorvelTheory& theory, size_t index, std::vector<std::string>& lines);
struct TBlockSize {
  size_t Lines = 0;
  size_t Longest = 0;  // bytes of the longest line
};
TBlockSize InterpretationBlockSize(const TKorvelTheory& theory, size_t index);
// The same in parts: the block without listings, how many times a sentence
// with these marks is listed, and the size with a sentence's listings added.
TBlockSize EmptyBlockSize(size_t index);
size_t StatusListings(bool issue, bool justified, bool defeated);
void AddListings(TBlockSize& size, const TKorvelSentence& sentence, size_t listings);
// The statuses under the marks in force: justified and defeated assumptions,
// justified, defeated and unsettled issues.
void AppendStatusBlock(const TKorvelTheory& theory, std::vector<std::string>& lines);

}  // namespace refresh
