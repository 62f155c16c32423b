// Opening an abstract argumentation framework file (i23 ".af"/".i23", ".apx",
// ".tgf") on the desktop: the framework becomes the theory `korvel import`
// writes, each argument an assumption and each attack a -> b the assumption
// "if(a, x(b))". The document takes it as a new, unsaved theory.
#pragma once

#include <string>

#include "frameworks/argumentation_framework.h"
#include "logic/theory.h"

// The extensions the open dialog offers besides ".kvl".
inline constexpr const char* kFrameworkFileFilter =
    "Argumentation framework (*.af *.i23 *.apx *.tgf)";

// Whether the path names a framework file, by its extension.
bool IsFrameworkFileName(const std::string& path);

// The theory file text of the framework in the file. Throws TKorvelFileError
// with "cannot read PATH: reason" or "cannot read PATH:LINE: what is wrong".
TKorvelFile ImportFrameworkFile(const std::string& path);

// The same, with the framework read from the file.
struct TImportedFramework {
  TArgumentationFramework Framework;
  TKorvelFile File;
};
TImportedFramework ReadFrameworkFile(const std::string& path);
// The same in two steps: the file's text (only reading it can fail here),
// then the framework in it, named by the path in what is wrong.
std::string ReadFrameworkFileText(const std::string& path);
TImportedFramework ImportFrameworkText(const std::string& text, const std::string& path);
