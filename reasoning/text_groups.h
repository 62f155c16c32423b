// The assumptions of a theory in groups that share no text: every text among
// an assumption's parts joins the assumption's group, and a text joins the
// group of its negation. A closure holds only texts among the parts of its
// members, and defeat and conflict only pair a text with its negation, so the
// closure of a list restricted to one group is the closure of the list's
// members of that group, object for object and in the same order: the groups'
// choices combine freely. Theories with ambiguous texts are taken apart so.
#pragma once

#include <cstddef>
#include <vector>

#include "logic/theory.h"

// The groups of assumption positions, in theory order within each group and
// ordered by their first position.
std::vector<std::vector<size_t>> GroupsBySharedTexts(const TKorvelTheory& theory);

// The theory of the assumptions at the given positions (the same objects).
TKorvelTheory SubTheory(const TKorvelTheory& theory, const std::vector<size_t>& positions);
