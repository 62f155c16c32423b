// korvel normalize: the exact bytes written to the scratch file after reading.
#include <ostream>

#include "subcommand_list.h"

int RunNormalize(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  TNormalizedTheory normalized = ReadAndNormalize(*loaded, !line.Has("--no-parse"));
  out << normalized.File.FileBytes();
  return kExitOk;
}
