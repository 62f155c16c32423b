// The Korvel core in one include: sentences and their text form, the parser,
// variables and matching, theories and their files.
#pragma once

#include "matching.h"
#include "parser.h"
#include "sentence.h"
#include "theory.h"
