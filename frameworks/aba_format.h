// A Korvel theory written as a flat assumption-based argumentation framework
// in the competition's ABA format:
//   p aba N          N atoms, numbered 1..N
//   a A              A is an assumption
//   c A B            B is the contrary of assumption A
//   r H B1 ... Bk    a rule deriving H from B1 ... Bk
//   # ...            comments
//
// Every distinct sentence text is one atom. An assumption's contrary is the
// atom of its dialectical negation. A conditional "if(A1, ..., An, C)" met in
// the assumptions becomes the rule C <- A1 ... An, K where K is the atom of the
// conditional itself: it fires when the conditional is assumed or derived, as
// the closure of an interpretation fires it. A closure holding a sentence
// beside its negation is inconsistent even when the sentence is no
// assumption; a fresh atom for that conflict, derived from each such pair and
// deriving every contrary, keeps such sets out of the stable extensions (an
// assumption whose negation is an assumption too gets a fresh contrary,
// derived from the negation and from the conflict, so that no rule derives
// an assumption).
// Issues do not take part in the evaluation; they are listed in comments.
//
// What cannot map, and is refused with TAbaExportError: an assumption that a
// conditional derives (the format's frameworks are flat), and one text that
// is read as sentences of different kinds (an elementary text that spells a
// compound sentence, read without parsing).
#pragma once

#include <stdexcept>
#include <string>

#include "logic/theory.h"

class TAbaExportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The ABA text of a theory; its stable extensions, read back as sets of
// assumptions, are the dialectical interpretations of the theory.
std::string WriteAbaFramework(const TKorvelTheory& theory);
