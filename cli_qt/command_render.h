// korvel render: the diagram of a theory file as a PNG, SVG or PDF picture,
// drawn as the program's window draws it. Needs Qt, so it lives in a library
// of its own that korvel links only in the desktop build.
#pragma once

#include <iosfwd>

#include "cli/command_line.h"

int RunRender(const TCommandLine& line, std::ostream& out, std::ostream& err);
// Adds render to korvel's subcommands.
void RegisterRenderCommand();
