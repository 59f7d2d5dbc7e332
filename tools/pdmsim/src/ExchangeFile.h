// The reference PDM's own reader and writer of exchange files (the ".zrb"
// object files both sides rewrite). Deliberately independent of the module's.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ExchangeObject.h"

namespace pdmsim {

// Where and why a reader would stop before the end of the bytes.
struct ParseReport {
  bool complete = true;      // every byte belonged to an object (or was white space)
  std::size_t stopLine = 0;  // 1-based line of the first ignored content
  std::string reason;
};

class ExchangeFile {
 public:
  // --- reading and writing
  static ExchangeFile Parse(std::string_view bytes, ParseReport* report = nullptr);
  // Reads a file; nullopt with a message when it cannot be opened.
  static std::optional<ExchangeFile> Load(const std::string& path, std::string* error, ParseReport* report = nullptr);
  // The bytes as written; fails (with a message) on content the format
  // cannot carry: empty or multi-line keys, bad slot names, over-long values.
  bool Serialize(std::string& out, std::string* error) const;
  // Writes to a temporary file beside the target and renames it over it
  // (an answer for the CAD side: not flushed to disk).
  bool SaveAtomic(const std::string& path, std::string* error) const;

  // --- objects
  std::vector<ExchangeObject>& Objects() { return objects_; }
  const std::vector<ExchangeObject>& Objects() const { return objects_; }
  ExchangeObject* Find(std::string_view key);
  const ExchangeObject* Find(std::string_view key) const;
  // The object with that key, created at the end (or the front) when missing.
  ExchangeObject& FindOrAdd(std::string_view key, bool atFront = false);
  ExchangeObject& Add(std::string key);

 private:
  std::vector<ExchangeObject> objects_;
};

// Writes bytes to path through a temporary file and rename (shared with the
// file store and the delivery of documents). Readers see the old file or the
// new one, never a part. `flushToDisk` also survives a power loss: the vault's
// own files need it; answers and deliveries, read at once by the CAD side, do not.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error, bool flushToDisk = true);
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string* error);

}  // namespace pdmsim
