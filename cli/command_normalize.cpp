// korvel normalize: the exact bytes written to the scratch file after reading.
// When those bytes would not read back the same (texts holding tags of the
// file format), the sentences at fault are named on the error stream.
#include <ostream>

#include "cli/subcommand_list.h"
#include "logic/theory_storage.h"

int RunNormalize(const TCommandLine& line, std::ostream& out, std::ostream& err) {
  auto loaded = LoadTheoryFile(line.Positional[0], err);
  if (!loaded) return kExitUnreadable;
  const bool parse = !line.Has("--no-parse");
  TNormalizedTheory normalized = ReadAndNormalize(*loaded, parse);
  out << normalized.File.FileBytes();
  // A text already in normal form came back unchanged, so it is stored.
  if (normalized.File.Text == loaded->Text) return kExitOk;
  const TStorageCheck check = CheckTheoryStorage(normalized.Theory, normalized.File, parse);
  if (!check.Stored()) {
    err << "korvel: these sentences cannot be stored: the normal form reads back without them or "
           "changed\n";
    for (const auto& text : check.Unstorable) err << "  " << PrintableName(text) << "\n";
  }
  return kExitOk;
}
