// Where the user-action log may lie. Beside the executable, as the program
// has always kept it, while the program runs from its build folder or a
// folder it was unpacked into; never in a folder of an installation, which
// belongs to the package manager (root could write there, and removing the
// package would leave the log behind).
#pragma once

#include <string>
#include <vector>

// Whether the executable's folder belongs to an installation: it lies in
// /usr, /bin, /sbin or /opt (or below them), or it is the folder the build
// was configured to install programs into (`installBinDirectory`, absolute;
// empty for none).
bool IsInstalledProgramDirectory(const std::string& directory,
                                 const std::string& installBinDirectory);

// The log's candidate folders, best first: the executable's folder unless it
// belongs to an installation, then the user's data folder (when known).
std::vector<std::string> LogDirectoryCandidates(const std::string& executableDirectory,
                                                const std::string& userDataDirectory,
                                                const std::string& installBinDirectory);
