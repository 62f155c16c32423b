// How korvel reports a failure: one line "korvel: MESSAGE" on the error
// stream. Every error message goes through PrintError, and every file name
// shown in one through ShownFileName, so both can be changed in one place.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

void PrintError(std::ostream& err, std::string_view message);

// A file name as error messages show it; "-" is standard input.
std::string ShownFileName(const std::string& path);
