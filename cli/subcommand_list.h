// Entry points of the korvel subcommands.
#pragma once

#include <iosfwd>

#include "cli/command_line.h"

int RunNormalize(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunMatch(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunLayout(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunReport(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunInterpretations(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunExplain(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunMatches(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunImport(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunExport(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunAcceptance(const TCommandLine& line, std::ostream& out, std::ostream& err);
int RunSolve(const TCommandLine& line, std::ostream& out, std::ostream& err);
