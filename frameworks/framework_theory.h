// Abstract argumentation frameworks as Korvel theories, and back.
//
// Each argument becomes an elementary assumption with the argument's name as
// its text, each attack a -> b the assumption "if(a, x(b))". The conditionals
// are never defeated (nothing derives their negations), so a dialectical
// interpretation is the conditionals plus a set of arguments S whose closure
// holds no argument together with its negation (S is conflict-free) and
// defeats every argument left out (S attacks it): the interpretations are
// exactly the stable extensions.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "evaluation/interpretations_engine.h"
#include "frameworks/argumentation_framework.h"
#include "logic/theory.h"

// The theory of a framework: the arguments in order, then the attacks in order.
TKorvelTheory FrameworkToTheory(const TArgumentationFramework& framework);

// The theory file of FrameworkToTheory(framework), byte for byte what
// WriteTheory makes of it, written straight from the names and attacks
// without building the sentences.
TKorvelFile FrameworkTheoryFile(const TArgumentationFramework& framework);

// The engine of FrameworkToTheory(framework), made straight from the
// arguments and attacks without building or indexing any sentence: the same
// interpretations by position, in the same order, for Enumerate, Count and
// FindAny. The engine keeps no reference to the framework.
TInterpretationEngine FrameworkEngine(const TArgumentationFramework& framework);

// The framework a theory stands for, when every assumption is an elementary
// argument or an attack "if(a, x(b))" between two of them (issues are left
// aside); otherwise nothing, and `problem` says which assumption does not fit.
std::optional<TArgumentationFramework> TheoryAsFramework(const TKorvelTheory& theory,
                                                         std::string& problem);

// The argument indexes in an interpretation of FrameworkToTheory(framework),
// in increasing order.
std::vector<size_t> ExtensionOf(const TArgumentationFramework& framework,
                                const TListOfKorvelSentences& interpretation);

// A name that is no argument of the framework (for helper arguments).
std::string FreshArgumentName(const TArgumentationFramework& framework, const std::string& stem);
