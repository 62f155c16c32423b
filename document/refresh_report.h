// The steps of a refresh that both ways of running it share: the one that
// evaluates in line (RefreshDocument) and the one that evaluates on another
// thread (refresh_phases.h). Sharing them keeps the two reports identical.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "evaluation/evaluation_control.h"
#include "logic/sentence.h"
#include "logic/theory.h"

namespace refresh {

// Every sentence whose text is neither an assumption's nor an issue's becomes
// an issue; the flags of the others follow their texts. Returns the texts of
// the sentences made issues, in order.
std::vector<std::string> GiveRoles(TKorvelTheory& theory, const TListOfKorvelSentences& allSentences);

// The report up to the interpretations: the assumptions, then the issues.
void AppendReportHead(const TKorvelTheory& theory, std::vector<std::string>& lines);

// The report's part about the interpretations. `mark` marks the statuses of
// one interpretation on the theory; the status blocks are written from the
// marks. Returns false, with the lines incomplete, when `control` asked to
// stop on the way.
bool AppendInterpretationReport(const TKorvelTheory& theory,
                                const TListOfListOfKorvelSentences& interpretations, bool cut,
                                const std::function<void(const TListOfKorvelSentences&)>& mark,
                                std::vector<std::string>& lines,
                                const TEvaluationControl* control = nullptr);

}  // namespace refresh
