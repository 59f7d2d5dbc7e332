#include "ZRBObjectLineReader.h"

#include <algorithm>
#include <cstring>

ZRBObjectLineReader::ZRBObjectLineReader(std::FILE* file, std::size_t chunkBytes)
    : file_(file), chunkBytes_(chunkBytes == 0 ? 1 : chunkBytes) {}

bool ZRBObjectLineReader::Fill() {
  if (eof_ || failed_ || file_ == nullptr) return false;
  // Keep the unread tail (and the run) at the front.
  const std::size_t keep = inRun_ ? runStart_ : pos_;
  if (keep > 0) {
    std::memmove(buffer_.get(), buffer_.get() + keep, end_ - keep);
    if (peeked_) peekEnd_ -= keep;
    end_ -= keep;
    pos_ -= keep;
    if (inRun_) runStart_ -= keep;
  }
  // Grow when the tail fills the buffer (a line longer than all read so
  // far), and toward full chunks while the file goes on.
  constexpr std::size_t kFirstRead = 16 * 1024;
  const std::size_t target = std::min(chunkBytes_, std::max(kFirstRead, 2 * capacity_));
  if (capacity_ < target || capacity_ - end_ < target / 2 + 1) {
    const std::size_t grown = std::max(end_ + target, capacity_ < target ? target : 2 * capacity_);
    auto bigger = std::make_unique_for_overwrite<char[]>(grown);
    if (end_ > 0) std::memcpy(bigger.get(), buffer_.get(), end_);
    buffer_ = std::move(bigger);
    capacity_ = grown;
  }
  std::size_t got = std::fread(buffer_.get() + end_, 1, capacity_ - end_, file_);
  if (!seenCarriageReturn_ && got > 0) seenCarriageReturn_ = std::memchr(buffer_.get() + end_, '\r', got) != nullptr;
  end_ += got;
  if (got == 0) {
    if (std::ferror(file_))
      failed_ = true;
    else
      eof_ = true;
    return false;
  }
  return true;
}

bool ZRBObjectLineReader::Peek(std::string_view& line) {
  if (!peeked_) {
    std::size_t searchFrom = pos_;
    for (;;) {
      const void* lf = end_ > searchFrom ? std::memchr(buffer_.get() + searchFrom, '\n', end_ - searchFrom) : nullptr;
      if (lf != nullptr) {
        peekEnd_ = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.get());
        peekHasLineFeed_ = true;
        break;
      }
      std::size_t searched = end_ - pos_;
      if (!Fill()) {
        if (failed_ || pos_ == end_) return false;
        peekEnd_ = end_;  // a last line without a line feed
        peekHasLineFeed_ = false;
        break;
      }
      searchFrom = pos_ + searched;
    }
    peeked_ = true;
  }
  line = std::string_view(buffer_.get() + pos_, peekEnd_ - pos_);
  return true;
}

void ZRBObjectLineReader::Consume() {
  std::string_view ignored;
  if (!peeked_ && !Peek(ignored)) return;
  pos_ = peekEnd_ + (peekHasLineFeed_ ? 1 : 0);
  if (peekHasLineFeed_) ++lineNumber_;
  peeked_ = false;
}

void ZRBObjectLineReader::SkipWhitespace() {
  peeked_ = false;
  for (;;) {
    while (pos_ < end_) {
      char c = buffer_[pos_];
      if (c == '\n')
        ++lineNumber_;
      else if (c != ' ' && c != '\t' && c != '\r' && c != '\v' && c != '\f')
        return;
      ++pos_;
    }
    if (!Fill()) return;
  }
}

void ZRBObjectLineReader::SkipByteOrderMark() {
  static constexpr std::string_view kMark = "\xEF\xBB\xBF";
  while (end_ - pos_ < kMark.size())
    if (!Fill()) break;
  if (std::string_view(buffer_.get() + pos_, end_ - pos_).starts_with(kMark)) {
    pos_ += kMark.size();
    peeked_ = false;
  }
}
