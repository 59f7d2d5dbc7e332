#include "ExchangeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pdmsim {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Cursor over the bytes that knows its line number.
class LineCursor {
 public:
  explicit LineCursor(std::string_view bytes) : bytes_(bytes) {}

  bool AtEnd() const { return pos_ >= bytes_.size(); }
  char Peek() const { return bytes_[pos_]; }
  std::size_t Line() const { return line_; }

  void SkipSpace() {
    while (!AtEnd() && IsSpace(bytes_[pos_])) {
      if (bytes_[pos_] == '\n') ++line_;
      ++pos_;
    }
  }
  // The rest of the current line without its LF and a CR before it.
  std::string_view PeekLine() const {
    std::size_t end = bytes_.find('\n', pos_);
    if (end == std::string_view::npos) end = bytes_.size();
    std::string_view line = bytes_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }
  void ConsumeLine() {
    std::size_t end = bytes_.find('\n', pos_);
    if (end == std::string_view::npos) {
      pos_ = bytes_.size();
    } else {
      pos_ = end + 1;
      ++line_;
    }
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::size_t line_ = 1;
};

// "{NAME} value": name without "}", at least one character after "}".
bool SplitSlotLine(std::string_view line, std::string_view& name, std::string_view& value) {
  if (line.empty() || line.front() != '{') return false;
  std::size_t close = line.find('}', 1);
  if (close == std::string_view::npos || close + 1 >= line.size()) return false;
  name = line.substr(1, close - 1);
  value = line.substr(close + 1);
  return true;
}

void Stop(ParseReport* report, std::size_t line, std::string reason) {
  if (!report) return;
  report->complete = false;
  report->stopLine = line;
  report->reason = std::move(reason);
}

}  // namespace

ExchangeFile ExchangeFile::Parse(std::string_view bytes, ParseReport* report) {
  if (report) *report = ParseReport{};
  ExchangeFile file;
  LineCursor cursor(bytes);
  if (cursor.AtEnd()) return file;
  if (cursor.Peek() != '@') {
    Stop(report, 1, "the file does not begin with an object header (\"@KEY\")");
    return file;
  }
  while (!cursor.AtEnd()) {
    std::string_view header = cursor.PeekLine();
    if (header.empty() || header.front() != '@') {
      Stop(report, cursor.Line(), "line is neither an object header nor a slot line");
      return file;
    }
    if (header.size() < 2) {
      Stop(report, cursor.Line(), "object header without a key");
      return file;
    }
    ExchangeObject& object = file.Add(std::string(header.substr(1)));
    cursor.ConsumeLine();
    cursor.SkipSpace();
    while (!cursor.AtEnd() && cursor.Peek() == '{') {
      std::string_view name;
      std::string_view value;
      if (!SplitSlotLine(cursor.PeekLine(), name, value)) break;
      object.SetRaw(name, value);
      cursor.ConsumeLine();
      cursor.SkipSpace();
    }
  }
  return file;
}

std::optional<ExchangeFile> ExchangeFile::Load(const std::string& path, std::string* error, ParseReport* report) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error)) return std::nullopt;
  return Parse(bytes, report);
}

bool ExchangeFile::Serialize(std::string& out, std::string* error) const {
  auto fail = [&](std::string message) {
    if (error) *error = std::move(message);
    return false;
  };
  out.clear();
  for (const ExchangeObject& object : objects_) {
    const std::string& key = object.Key();
    if (key.empty() || key.find_first_of("\r\n") != std::string::npos) {
      return fail("object key \"" + key + "\" cannot be written (empty or containing a line break)");
    }
    out += '@';
    out += key;
    out += '\n';
    for (const auto& [name, value] : object.Slots()) {
      if (name.empty() || name.find_first_of("{}\r\n") != std::string::npos) {
        return fail("slot name \"" + name + "\" of object " + key + " cannot be written");
      }
      if (value.size() > ExchangeObject::kMaxValueBytes) {
        return fail("slot " + name + " of object " + key + " holds " + std::to_string(value.size()) +
                    " bytes; the exchange format carries at most " + std::to_string(ExchangeObject::kMaxValueBytes));
      }
      if (value.find_first_of("\r\n") != std::string::npos) {
        return fail("slot " + name + " of object " + key + " holds a raw line break");
      }
      out += '{';
      out += name;
      out += "} ";
      out += value;
      out += '\n';
    }
    out += '\n';
  }
  return true;
}

bool ExchangeFile::SaveAtomic(const std::string& path, std::string* error) const {
  std::string bytes;
  if (!Serialize(bytes, error)) return false;
  return WriteFileAtomic(path, bytes, error, false);
}

ExchangeObject* ExchangeFile::Find(std::string_view key) {
  for (ExchangeObject& object : objects_) {
    if (object.Key() == key) return &object;
  }
  return nullptr;
}

const ExchangeObject* ExchangeFile::Find(std::string_view key) const {
  for (const ExchangeObject& object : objects_) {
    if (object.Key() == key) return &object;
  }
  return nullptr;
}

ExchangeObject& ExchangeFile::FindOrAdd(std::string_view key, bool atFront) {
  if (ExchangeObject* found = Find(key)) return *found;
  if (atFront) return *objects_.insert(objects_.begin(), ExchangeObject(std::string(key)));
  return Add(std::string(key));
}

ExchangeObject& ExchangeFile::Add(std::string key) {
  objects_.emplace_back(std::move(key));
  return objects_.back();
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error) {
  // Only regular files: a path naming a device or a pipe must not hang or
  // flood the PDM.
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (error) *error = "cannot read " + path + ": not a regular file";
    return false;
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) {
    if (error) *error = "cannot open " + path + ": " + std::strerror(errno);
    return false;
  }
  bytes.clear();
  char buffer[65536];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    if (error) *error = "cannot read " + path;
    return false;
  }
  return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error, bool flushToDisk) {
  std::string temp = path + ".pdmsim-" + std::to_string(::getpid()) + ".tmp";
  int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (error) *error = "cannot create " + temp + ": " + std::strerror(errno);
    return false;
  }
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0) {
      if (errno == EINTR) continue;
      if (error) *error = "cannot write " + temp + ": " + std::strerror(errno);
      ::close(fd);
      ::unlink(temp.c_str());
      return false;
    }
    done += static_cast<std::size_t>(wrote);
  }
  bool synced = !flushToDisk || ::fsync(fd) == 0;
  int syncErrno = errno;
  bool closed = ::close(fd) == 0;
  if (!synced || !closed) {
    if (error) *error = "cannot finish " + temp + ": " + std::strerror(synced ? errno : syncErrno);
    ::unlink(temp.c_str());
    return false;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    if (error) *error = "cannot rename " + temp + " to " + path + ": " + std::strerror(errno);
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace pdmsim
