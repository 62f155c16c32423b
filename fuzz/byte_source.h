// Fuzz input read as a stream of small decisions; past the end every
// decision is 0, so every input decodes to something.
#pragma once

#include <cstddef>
#include <string_view>

class TByteSource {
 public:
  explicit TByteSource(std::string_view data) : data_(data) {}

  // A number below `bound` (bound >= 1).
  size_t Pick(size_t bound) {
    if (position_ >= data_.size()) return 0;
    return static_cast<unsigned char>(data_[position_++]) % bound;
  }
  bool Empty() const { return position_ >= data_.size(); }

 private:
  std::string_view data_;
  size_t position_ = 0;
};
