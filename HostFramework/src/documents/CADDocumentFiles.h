// File access of the document library: whole-file reads and atomic writes
// that never write through a symbolic link unless asked.
#pragma once

#include <string>

class CADDocumentFiles {
 public:
  // False with `error` set when the file cannot be read (or is not a regular
  // file, or is larger than the host accepts).
  static bool Read(const std::string& path, std::string& bytes, std::string& error);
  // Writes `bytes` to a new file beside the target and renames it over the
  // target, so a failure never leaves a half-written document. A symbolic
  // link at `path` is replaced (its target untouched) unless followLinks is
  // set, in which case the link's final target is replaced. Fails for a
  // directory, a file without write permission, or a directory that cannot
  // take the new file.
  static bool WriteAtomically(const std::string& path, const std::string& bytes, bool followLinks, std::string& error);
  // True when the file exists and may be written (write permission bit set
  // and write access granted).
  static bool IsWritable(const std::string& path);
  static bool Exists(const std::string& path);
  static std::string DirectoryOf(const std::string& path);
  static std::string FileNameOf(const std::string& path);
};
