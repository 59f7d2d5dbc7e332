// The update/create job list without its window: the rows, the next row to run, single step and all at once
// (a loop, so a long list never deepens the stack), the trace every run writes, the flags that decide which
// buttons are usable and which status icon shows, validation and part-type editing.
#pragma once

#include <vector>

#include "CADListVal.h"
#include "CADUnicodeString.h"
#include "ZRBSyncJob.h"

class ZRBSyncRunner;

enum class ZRBSyncIcon { Blank, Success, Warning, Failed };

// User-interface thread only.
class ZRBSyncJobList {
 public:
  struct Settings {
    bool validationRequired = false;  // "ZRB_ENABLE_VALIDATE_BEFORE_UPD"
    bool askPartTypes = false;        // "ZRB_ENABLE_ASK_FOR_BOM_PART", or the default part type is "NOT_SET"
    bool drawing = false;             // built for a drawing
  };
  struct Flags {
    bool notExecutable = false;  // a row was added that can never run (a failed rule, a drawing elsewhere)
    bool warning = false;
    bool skipped = false;
    bool failed = false;
    bool validation = false;  // the last validation found refused rows
    bool validated = false;   // the last validation succeeded for every row
    bool finished = false;
  };
  struct Buttons {
    bool validate = false, edit = false, info = false, autoStep = false;
  };

  ZRBSyncJobList() = default;
  explicit ZRBSyncJobList(const Settings& settings) : settings_(settings) {}
  void SetSettings(const Settings& settings) { settings_ = settings; }

  // --- filling. A product already listed is not added again (-1); else the row's index.
  int Add(ZRBSyncJob job);
  int Size() const { return static_cast<int>(jobs_.size()); }
  ZRBSyncJob& At(int row) { return jobs_[static_cast<size_t>(row)]; }
  const ZRBSyncJob& At(int row) const { return jobs_[static_cast<size_t>(row)]; }
  int IndexOf(const CADIProduct_var& product) const;
  // The first row becomes the next one.
  void Start();

  // --- running
  int NextRow() const { return next_; }
  // Runs (or skips) the next row; after the last, finishes the list. false when nothing was left.
  bool RunNext(ZRBSyncRunner& runner);
  // Every remaining row, then the end. Refused (false, trace line) while a new part's type is unset and part
  // types must be asked.
  bool RunAll(ZRBSyncRunner& runner);
  void Validate(ZRBSyncRunner& runner);
  // Yes <-> No for a row that has not run yet and may run; false otherwise.
  bool ToggleExecute(int row);

  // --- part types
  int NextEditable(int from) const;  // first editable row after `from` (-1 for the first), or -1
  int PrevEditable(int from) const;
  int FirstUnsetPartType() const;
  void ApplyPartType(int row, ZRBPartType type);
  void ApplyPartTypeToAll(ZRBPartType type);

  // --- what the window shows
  Buttons WantedButtons(int selectedRow) const;
  ZRBSyncIcon Icon() const;
  const Flags& GetFlags() const { return flags_; }
  const Settings& GetSettings() const { return settings_; }
  const CADListValCADUnicodeString& Trace() const { return trace_; }
  void AddTrace(const CADUnicodeString& line) { trace_.Append(line); }
  // "< name: operation >"
  static CADUnicodeString RowHeading(const ZRBSyncJob& job);

 private:
  void RunRow(ZRBSyncJob& job, ZRBSyncRunner& runner);
  void Finish(ZRBSyncRunner& runner);
  void MoveMarker();

  Settings settings_;
  Flags flags_;
  std::vector<ZRBSyncJob> jobs_;
  int next_ = 0;
  CADListValCADUnicodeString trace_;
};
