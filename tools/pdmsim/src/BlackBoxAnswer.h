// The PDM's side of attaching a black box: the files under one PDM product that it keeps as one opaque unit.
// It records which files the box holds (table "black_box_files", made on first use), keeps their bytes in the
// file store, and answers with one file object per attached file.
#pragma once

#include <string>

namespace pdmsim {

class Vault;
class ExchangeFile;

class BlackBoxAnswer {
 public:
  explicit BlackBoxAnswer(Vault& vault);

  // Answers "x3AttachBlackBoxCmd" in `file`; the added files are read from `exchangeMap`. The vault setting
  // "blackbox.flaw" makes the answer wrong on purpose ("error", "unequal-lists", "missing-root-file").
  // Returns the journal's outcome.
  std::string Answer(ExchangeFile& file, const std::string& exchangeMap);

 private:
  Vault& vault_;
};

}  // namespace pdmsim
