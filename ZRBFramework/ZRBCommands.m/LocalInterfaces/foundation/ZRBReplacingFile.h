// Writes a file so that it is either complete or not there, and so that nothing planted at its name is written
// through: the bytes go into a fresh temporary file beside the target, which is renamed over the target only when
// every byte reached the disk. A symbolic link at the target is replaced as the link it is; its target is never
// opened. Every file the module writes into a shared directory (the exchange map above all) goes through here.
#pragma once

#include <string>
#include <string_view>

class ZRBReplacingFile {
 public:
  // Lifecycle: an uncommitted temporary file is removed on destruction.
  ZRBReplacingFile() = default;
  ~ZRBReplacingFile();
  ZRBReplacingFile(const ZRBReplacingFile&) = delete;
  ZRBReplacingFile& operator=(const ZRBReplacingFile&) = delete;

  // Creates the temporary file (a character device standing at the path itself is opened and written in place);
  // false when it cannot be created. `mode` gives the permissions of a new file (an existing regular file keeps
  // its own).
  bool Open(std::string_view path, unsigned mode = 0666);
  // Writes all bytes; false on any error (the first error sticks).
  bool Write(std::string_view bytes);
  // Closes, then renames the temporary file over the target; false when any write, the close or the rename
  // failed (the target is then untouched). `durable`: the bytes are on the disk before the rename.
  bool Commit(bool durable = false);

  // The errno text of the first failure.
  const std::string& Error() const { return error_; }

  // Open, Write and Commit in one; 1 on success, 0 (old file untouched) on failure.
  static int WriteWhole(std::string_view path, std::string_view bytes, unsigned mode = 0666, bool durable = false,
                        std::string* error = nullptr);

 private:
  void Fail(const char* what);
  void Discard();

  std::string target_;
  std::string temporary_;  // empty when writing in place
  int fd_ = -1;
  bool failed_ = false;
  std::string error_;
};
