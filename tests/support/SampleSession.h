// Test fixture: the sample documents (see CADSampleSession.h) written into a
// fresh temporary directory, with the host's document session reset before
// and after, and helpers to open documents and walk product trees.
#pragma once

#include <string>
#include <string_view>

#include "CADDocument.h"
#include "CADIProduct.h"
#include "CADUnicodeString.h"

class SampleSession {
 public:
  SampleSession();
  ~SampleSession();
  SampleSession(const SampleSession&) = delete;
  SampleSession& operator=(const SampleSession&) = delete;

  const std::string& Directory() const { return directory_; }
  CADUnicodeString Path(std::string_view fileName) const;
  // Opens a file of the directory; a failure is reported to the running test
  // and gives null.
  CADDocument* Open(std::string_view fileName);
  // Opens the sample assembly and gives its root product.
  CADIProduct_var OpenAssembly();

  // Child of `parent` with that instance name, or null.
  static CADIProduct_var Child(const CADIProduct_var& parent, std::string_view instanceName);
  // Node below `root` along instance names separated by "/" ("Bracket.2/Bolt.2").
  static CADIProduct_var Node(const CADIProduct_var& root, std::string_view path);
  static std::string InstanceName(const CADIProduct_var& product);
  // Instance names of the direct children, in order, joined by ",".
  static std::string ChildNames(const CADIProduct_var& product);
  // Writes `text` into a file of the directory.
  void WriteFile(std::string_view fileName, std::string_view text) const;
  std::string ReadFile(std::string_view fileName) const;

 private:
  std::string directory_;
};
