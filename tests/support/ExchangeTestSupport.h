// Scratch directories, byte files, a compact text form of a manager and a
// trace capture for the exchange object file tests.
#pragma once

#include <sstream>
#include <string>

class ZRBObjectManager;

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries, sorted, joined by blanks.
  std::string Listing() const;

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::string& bytes);
std::string ReadBytes(const std::string& path);
std::string TestData(const std::string& name);  // path in tests/data/exchange

// "@KEY NAME=stored NAME=stored|@KEY ..." in list order.
std::string Describe(const ZRBObjectManager& manager);

// Trace switched on and captured for the life of the object.
class TraceCapture {
 public:
  TraceCapture();
  ~TraceCapture();
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;
  std::string Text() const { return out_.str(); }

 private:
  std::ostringstream out_;
  int previous_;
};
