// File names and other arguments shown in korvel's messages.
#include <cstdio>

#include "cli/command_line.h"

namespace {

// Length of the valid UTF-8 sequence starting at `i` that is not a C1
// control (U+0080 to U+009F), or 0.
size_t PrintableUtf8Length(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  size_t length = 0;
  unsigned int code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
    code = (code << 6) | (byte(i + k) & 0x3Fu);
  }
  const unsigned int smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  if (code <= 0x9F) return 0;  // C1 controls act on terminals too
  return length;
}

}  // namespace

std::string PrintableName(std::string_view name) {
  bool plain = true;
  for (size_t i = 0; i < name.size() && plain;) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c >= 0x20 && c < 0x7F) {
      ++i;
    } else if (size_t length = c >= 0x80 ? PrintableUtf8Length(name, i) : 0) {
      i += length;
    } else {
      plain = false;
    }
  }
  if (plain) return std::string(name);

  std::string quoted = "\"";
  for (size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    const size_t length = c >= 0x80 ? PrintableUtf8Length(name, i) : 0;
    if (length > 0) {
      quoted.append(name.substr(i, length));
      i += length;
      continue;
    }
    ++i;
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (c >= 0x20 && c < 0x7F) {
          quoted += static_cast<char>(c);
        } else {
          char escaped[5];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned int>(c));
          quoted += escaped;
        }
    }
  }
  return quoted + "\"";
}
