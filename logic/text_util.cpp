#include "logic/text_util.h"

std::string_view TrimLeft(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && IsBlank(text[start])) ++start;
  return text.substr(start);
}

std::string_view Trim(std::string_view text) {
  text = TrimLeft(text);
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  return text.substr(0, end);
}
