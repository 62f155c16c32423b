// The report's blocks of several interpretations, written when read: the
// block of interpretation k is its heading and the statuses that marking it
// gives. The blocks mark a copy of their own, so reading the report never
// changes the marks the document shows; what they write is byte for byte what
// the report written at once would hold.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "refresh/report_text.h"
#include "reasoning/evaluation_control.h"
#include "evaluation/interpretation_list.h"
#include "logic/theory.h"

// The blocks of `interpretations` (sentences of `theory`), for a theory whose
// engine saw only its first `issuesAtRead` issues, as the refresh makes it.
// The number of lines of every block is counted here, so this costs one
// marking per interpretation; null when `control` asked to stop on the way.
std::shared_ptr<const TLineBlocks> MakeInterpretationBlocks(const TKorvelTheory& theory, size_t issuesAtRead,
                                                            const TInterpretationList& interpretations,
                                                            const TEvaluationControl* control = nullptr);
