// Reading framework files for korvel import and solve: the file (or "-" for
// standard input), its format (given, from the extension, or guessed from
// the text) and the errors as "korvel: FILE:LINE: what is wrong".
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "frameworks/argumentation_framework.h"

// Nothing after printing the error to `err`. `format` is the format named by
// an option, when there was one; `used`, when given, receives the format read.
std::optional<TArgumentationFramework> LoadFrameworkFile(const std::string& path,
                                                         std::optional<TFrameworkFormat> format,
                                                         std::ostream& err,
                                                         TFrameworkFormat* used = nullptr);
