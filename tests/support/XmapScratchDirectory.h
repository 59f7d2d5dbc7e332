// Test support for the exchange map and its caches: a fresh directory that is
// removed afterwards, with helpers to make files of a given size, time and
// kind, and to point "ZRBXMAP" at a directory for the length of a test.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class XmapScratchDirectory {
 public:
  XmapScratchDirectory();
  ~XmapScratchDirectory();
  XmapScratchDirectory(const XmapScratchDirectory&) = delete;
  XmapScratchDirectory& operator=(const XmapScratchDirectory&) = delete;

  const std::string& Root() const { return root_; }
  // Root joined with a relative path.
  std::string Path(std::string_view relative) const;
  // Creates the directory (and its parents) below the root; returns its path.
  std::string MakeDirectory(std::string_view relative) const;

  // --- files below the root (parents created)
  // Writes the text; returns the path.
  std::string Write(std::string_view relative, std::string_view text = "x") const;
  // A file of `bytes` bytes (sparse, so sizes beyond memory are cheap).
  std::string WriteSized(std::string_view relative, std::uint64_t bytes) const;
  void SetModTime(std::string_view relative, std::int64_t secondsSince1970) const;
  std::string Symlink(std::string_view relative, const std::string& target) const;
  bool Exists(std::string_view relative) const;  // the entry itself (lstat)
  std::string Read(std::string_view relative) const;
  // Names in a directory below the root, sorted ("" for the root itself).
  std::vector<std::string> List(std::string_view relative = "") const;

 private:
  std::string root_;
};

// Sets a variable through the configuration service for one scope and
// restores the earlier override state afterwards (the variable reads as not
// set when value is null).
class XmapScopedVariable {
 public:
  XmapScopedVariable(const char* name, const char* value);
  ~XmapScopedVariable();
  XmapScopedVariable(const XmapScopedVariable&) = delete;
  XmapScopedVariable& operator=(const XmapScopedVariable&) = delete;

 private:
  std::string name_;
  bool hadValue_ = false;
  std::string oldValue_;
};
