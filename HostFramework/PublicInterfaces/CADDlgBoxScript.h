// The script that answers the host's modal message boxes (there is no nested event loop).
#pragma once

#include <functional>
#include <vector>

#include "CADString.h"
#include "CADUnicodeString.h"

struct CADDlgBoxRecord {
  CADString identifier;
  unsigned long style = 0;
  CADUnicodeString title;
  CADUnicodeString text;
  int answer = 0;
  bool expected = false;
};

// Tests, and the session runner, queue the boxes they expect with the answer to give; every box shown is
// recorded. A box that no expectation matches takes the safe default (No, else Cancel, else OK) and is recorded as
// unexpected. User-interface thread only.
class CADDlgBoxScript {
 public:
  // --- expectations, consumed in order: the next box must match the oldest one still queued.
  // `pattern` is matched against the whole text; '*' stands for any run of characters.
  static void ExpectText(const CADUnicodeString& pattern, int answer);
  // The text of message key "Catalog.Key" from the host's catalogs, its parameters standing for anything.
  // Returns 0 (and queues nothing) when the key is not in the catalogs.
  static int ExpectKey(const CADString& key, int answer);
  static int CountPendingExpectations();

  // --- answering (called by CADDlgNotify::DisplayBlocked)
  static int Answer(const CADString& identifier, unsigned long style, const CADUnicodeString& title,
                    const CADUnicodeString& text);
  static int SafeDefault(unsigned long style);
  // When set, unexpected boxes are answered by default without counting as errors (the interactive session).
  static void SetLenient(bool lenient);
  // Sees every box after it was answered (the session runner prints them).
  static void SetObserver(std::function<void(const CADDlgBoxRecord&)> observer);
  // Asked for the answer of a box that no expectation matches (the interactive session asks its user); an answer
  // of 0 leaves the safe default. A box answered this way counts as expected. Null: nobody is asked.
  static void SetAsker(std::function<int(const CADDlgBoxRecord&)> asker);

  // --- records
  static std::vector<CADDlgBoxRecord> GetRecords();
  static std::vector<CADDlgBoxRecord> GetUnexpected();
  // Forgets expectations, records and the lenient flag (not the observer).
  static void Reset();

  // Whole-text match with '*' wildcards (exposed for tests of the matcher).
  static bool Matches(std::string_view pattern, std::string_view text);
};
