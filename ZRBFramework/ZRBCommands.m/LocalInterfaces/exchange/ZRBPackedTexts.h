// A fixed number of short texts kept in one buffer: one allocation where
// separate strings would take one each (a cache holds many small entries).
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

template <std::size_t N>
class ZRBPackedTexts {
 public:
  // Replaces all N texts (missing ones are empty, extra ones ignored).
  void Set(std::initializer_list<std::string_view> texts) {
    std::size_t total = 0;
    for (std::string_view text : texts) total += text.size();
    buffer_.clear();
    buffer_.reserve(total);
    std::size_t i = 0;
    for (std::string_view text : texts) {
      if (i == N) break;
      buffer_.append(text);
      ends_[i++] = static_cast<std::uint32_t>(buffer_.size());
    }
    for (; i < N; ++i) ends_[i] = static_cast<std::uint32_t>(buffer_.size());
  }
  std::string_view Get(std::size_t i) const {
    const std::uint32_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(buffer_).substr(begin, ends_[i] - begin);
  }

 private:
  std::string buffer_;
  std::array<std::uint32_t, N> ends_{};
};
