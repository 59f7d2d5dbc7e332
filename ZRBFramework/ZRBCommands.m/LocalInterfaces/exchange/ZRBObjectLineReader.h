// Reads an exchange object file line by line, whole lines of any length, with
// one line of look-ahead (the line that ends an object begins the next one).
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

class ZRBObjectLineReader {
 public:
  // Reads from `file` (not owned) in chunks that grow up to `chunkBytes`
  // (small files stay cheap); the buffer grows as far as the longest line
  // needs.
  explicit ZRBObjectLineReader(std::FILE* file, std::size_t chunkBytes = 256 * 1024);
  ZRBObjectLineReader(const ZRBObjectLineReader&) = delete;
  ZRBObjectLineReader& operator=(const ZRBObjectLineReader&) = delete;

  // The line at the read position without its line feed (CRs are kept);
  // false at the end of the file or after a read error. The view stays valid
  // until the next call of any other member.
  bool Peek(std::string_view& line);
  // Moves past the line that Peek returned.
  void Consume();
  // Skips blanks, tabs, CRs, LFs, vertical tabs and form feeds.
  void SkipWhitespace();
  // Skips a UTF-8 byte order mark at the read position.
  void SkipByteOrderMark();

  // A run: the bytes moved past since BeginRun stay in the buffer, so a
  // caller can take several lines in one piece. Run() is valid until the
  // next call of any other member; EndRun lets the buffer drop them.
  void BeginRun() {
    runStart_ = pos_;
    inRun_ = true;
  }
  std::string_view Run() const { return std::string_view(buffer_.get() + runStart_, pos_ - runStart_); }
  void EndRun() { inRun_ = false; }
  // Begins a run and moves past lines while accept(line) holds and the run
  // stays below maxBytes; the number of lines. Lines whole in the buffer are
  // taken without the calls of Peek and Consume (most lines of a file).
  template <class Accept>
  std::size_t ConsumeRun(Accept&& accept, std::size_t maxBytes) {
    BeginRun();
    std::size_t lines = 0;
    std::string_view line;
    for (;;) {
      const void* lf = pos_ < end_ ? std::memchr(buffer_.get() + pos_, '\n', end_ - pos_) : nullptr;
      if (lf == nullptr) {
        if (!Peek(line) || !accept(line) || pos_ - runStart_ + line.size() >= maxBytes) break;
        Consume();
      } else {
        line = std::string_view(buffer_.get() + pos_, static_cast<const char*>(lf) - (buffer_.get() + pos_));
        if (!accept(line) || pos_ - runStart_ + line.size() >= maxBytes) break;
        pos_ += line.size() + 1;
        ++lineNumber_;
        peeked_ = false;
      }
      ++lines;
    }
    return lines;
  }

  // 1-based number of the line at the read position.
  long LineNumber() const { return lineNumber_; }
  // A CR has been among the bytes read so far (most files have none, which
  // spares searching each value for one).
  bool HasSeenCarriageReturn() const { return seenCarriageReturn_; }
  // A read error (not the end of the file) occurred.
  bool Failed() const { return failed_; }
  // Bytes taken from the file but not consumed, to be handed back with fseek.
  std::size_t Unconsumed() const { return end_ - pos_; }

 private:
  // Reads more bytes behind end_, keeping [pos_, end_); false when nothing
  // more could be read.
  bool Fill();

  std::FILE* file_;
  std::size_t chunkBytes_;
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = 0;
  std::size_t pos_ = 0;       // read position
  std::size_t end_ = 0;       // end of the bytes read so far
  std::size_t peekEnd_ = 0;   // end of the peeked line (its LF or end_), valid while peeked_
  std::size_t runStart_ = 0;  // start of the run, valid while inRun_
  bool inRun_ = false;
  bool peeked_ = false;
  bool peekHasLineFeed_ = false;
  bool eof_ = false;
  bool failed_ = false;
  bool seenCarriageReturn_ = false;
  long lineNumber_ = 1;
};
