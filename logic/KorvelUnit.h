// The Korvel core in one include: sentences and their text form, the parser,
// variables and matching, theories and their files.
#pragma once

#include "logic/matching.h"
#include "logic/parser.h"
#include "logic/sentence.h"
#include "logic/theory.h"
