// Writes an exchange object file so that it is either complete or not there:
// into a temporary file beside the target, renamed over it only when every
// byte reached the disk. Devices and pipes are written in place.
#pragma once

#include <string>
#include <string_view>

class ZRBObjectFileWriter {
 public:
  // Lifecycle: an uncommitted temporary file is removed on destruction.
  ZRBObjectFileWriter() = default;
  ~ZRBObjectFileWriter();
  ZRBObjectFileWriter(const ZRBObjectFileWriter&) = delete;
  ZRBObjectFileWriter& operator=(const ZRBObjectFileWriter&) = delete;

  // Creates the temporary file (or opens a device target); false when it
  // cannot be created.
  bool Open(std::string_view path);
  // Writes all bytes; false on any error (the first error sticks).
  bool Write(std::string_view bytes);
  // Closes, then renames the temporary file over the target; false when any
  // write, the close or the rename failed (the target is then untouched).
  bool Commit();

  // The errno text of the first failure.
  const std::string& Error() const { return error_; }

 private:
  void Fail(const char* what);
  void Discard();

  std::string target_;
  std::string temporary_;  // empty when writing in place
  int fd_ = -1;
  bool failed_ = false;
  std::string error_;
};
