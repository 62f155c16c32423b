// Acceptance in words: the two letters of korvel's lines, the report's last
// section and the phrase the status bar shows for one sentence.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "acceptance/acceptance.h"

inline constexpr const char* kAcceptanceHeading = "ACCEPTANCE OVER ALL INTERPRETATIONS";
inline constexpr const char* kNoInterpretationLine =
    "THERE IS NO DIALECTICAL INTERPRETATION OF THE ASSUMPTIONS";
inline constexpr const char* kAcceptanceStoppedLine =
    "THE COMPUTATION OF ACCEPTANCE WAS STOPPED";

// "J", "j" or "-" for justified in every, some but not every, no
// interpretation, then "D", "d" or "-" likewise for defeated.
std::string AcceptanceLetters(const TTextAcceptance& acceptance);

// A number with a comma between thousands: 16,384.
std::string GroupedNumber(uint64_t number);

// For the status bar, e.g. "justified in all 16,384 interpretations, defeated
// in none". Without a count the number is left out.
std::string AcceptancePhrase(const TTextAcceptance& acceptance, std::optional<uint64_t> count);

// The report's section: the heading, then the sentences by acceptance under
// headings at four blanks, entries at eight, in the order given; or the line
// for no interpretation. `texts` are those the acceptance was computed for.
void AppendAcceptanceReport(const TAcceptance& acceptance, const std::vector<std::string>& texts,
                            std::vector<std::string>& lines);

// The section's line while the acceptance is still being computed.
inline constexpr const char* kAcceptanceComputingLine =
    "THE ACCEPTANCE OVER ALL INTERPRETATIONS IS BEING COMPUTED";
