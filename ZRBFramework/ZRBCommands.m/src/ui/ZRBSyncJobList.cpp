#include "ZRBSyncJobList.h"

#include "ZRBPropertyManager.h"
#include "ZRBSyncRunner.h"
#include "ZRBTrace.h"

int ZRBSyncJobList::Add(ZRBSyncJob job) {
  // A node has one product row; its design tables have rows of their own.
  if (job.object == ZRBSyncObject::Product && job.product && IndexOf(job.product) >= 0) return -1;
  if (job.object == ZRBSyncObject::Drawing && !settings_.drawing) {
    job.result = ZRBSyncResult::DrawingNotSupported;
    job.execute = ZRBSyncExecute::No;
  }
  if (!job.ruleFailure.IsEmpty()) {
    job.result = ZRBSyncResult::FailedStructRules;
    job.execute = ZRBSyncExecute::No;
    const char* middle = job.object == ZRBSyncObject::DesignTable ? " DesignTable: " : ": ";
    trace_.Append(CADUnicodeString("< ") + job.name + CADUnicodeString(middle) + job.ruleFailure +
                  CADUnicodeString(" >"));
  }
  // Only a row that can never run blocks the list; a row the designer set to "no" is skipped.
  if (job.result == ZRBSyncResult::FailedStructRules || job.result == ZRBSyncResult::DrawingNotSupported)
    flags_.notExecutable = true;
  jobs_.push_back(std::move(job));
  return Size() - 1;
}

int ZRBSyncJobList::IndexOf(const CADIProduct_var& product) const {
  for (int i = 0; i < Size(); ++i)
    if (jobs_[static_cast<size_t>(i)].object == ZRBSyncObject::Product &&
        jobs_[static_cast<size_t>(i)].product.get() == product.get())
      return i;
  return -1;
}

void ZRBSyncJobList::Start() {
  next_ = 0;
  MoveMarker();
}

void ZRBSyncJobList::MoveMarker() {
  for (int i = 0; i < Size(); ++i) {
    ZRBSyncJob& job = At(i);
    if (i == next_)
      job.marker = ZRBSyncMarker::Next;
    else if (flags_.finished && i == Size() - 1)
      job.marker = ZRBSyncMarker::Done;
    else
      job.marker = ZRBSyncMarker::None;
  }
}

CADUnicodeString ZRBSyncJobList::RowHeading(const ZRBSyncJob& job) {
  return CADUnicodeString("< ") + job.name + CADUnicodeString(": ") + ZRBSyncJobTexts::Operation(job) +
         CADUnicodeString(" >");
}

void ZRBSyncJobList::RunRow(ZRBSyncJob& job, ZRBSyncRunner& runner) {
  job.traceStart = trace_.Size();
  trace_.Append(RowHeading(job));
  if (job.execute != ZRBSyncExecute::Yes) {
    // Decided by the row's state, never by its text: a row the designer (or a rule) excluded does not run.
    ZRB_DEBUG("ZRB: row %s is not executed", job.name.c_str());
    if (job.result == ZRBSyncResult::None) job.result = ZRBSyncResult::Skipped;
    job.execute = ZRBSyncExecute::Skip;
    flags_.skipped = true;
    return;
  }
  job.result = ZRBSyncResult::InProgress;
  CADListValCADUnicodeString messages;
  job.result = runner.RunJob(job, messages);
  for (const CADUnicodeString& line : messages) trace_.Append(CADUnicodeString("  ") + line);
  if (job.result == ZRBSyncResult::Warning) flags_.warning = true;
  if (job.result == ZRBSyncResult::Failed || job.result == ZRBSyncResult::Canceled) flags_.failed = true;
}

bool ZRBSyncJobList::RunNext(ZRBSyncRunner& runner) {
  if (flags_.finished) return false;
  if (next_ >= Size()) {
    Finish(runner);
    return false;
  }
  if (next_ == 0 && settings_.validationRequired && !flags_.validated) {
    // Nothing goes to the PDM before it has accepted the whole list.
    trace_.Append(ZRBSyncJobTexts::Text("Validation.AutomaticValidationStarted"));
    Validate(runner);
    if (!flags_.validated) return false;
  }
  RunRow(At(next_), runner);
  ++next_;
  if (next_ >= Size()) Finish(runner);
  MoveMarker();
  return true;
}

bool ZRBSyncJobList::RunAll(ZRBSyncRunner& runner) {
  if (settings_.askPartTypes && FirstUnsetPartType() >= 0) {
    ZRB_DEBUG("ZRB: a new part has no part type yet; nothing runs");
    return false;
  }
  while (RunNext(runner)) {
  }
  return true;
}

void ZRBSyncJobList::Finish(ZRBSyncRunner& runner) {
  flags_.finished = true;
  CADListValCADUnicodeString messages;
  const ZRBSyncResult result = runner.Finish(settings_.drawing, messages);
  for (const CADUnicodeString& line : messages) trace_.Append(CADUnicodeString("  ") + line);
  if (result == ZRBSyncResult::Warning) flags_.warning = true;
  if (result == ZRBSyncResult::Failed || result == ZRBSyncResult::Canceled) flags_.failed = true;
  MoveMarker();
}

void ZRBSyncJobList::Validate(ZRBSyncRunner& runner) {
  if (Size() == 0) {
    ZRB_DEBUG("ZRB: Validation not possible");
    return;
  }
  if (settings_.askPartTypes && FirstUnsetPartType() >= 0) {
    trace_.Append(ZRBSyncJobTexts::Text("NewObjectTypesNeedProcessing"));
    return;
  }
  bool allValid = false;
  CADListValCADUnicodeString refusals;
  if (runner.Validate(*this, allValid, refusals) < 0) {
    // The run said nothing about the rows: neither refused nor validated, so editing and running stay open.
    flags_.validation = false;
    flags_.validated = false;
    trace_.Append(ZRBSyncJobTexts::Text("Validation.SystemCall.Failed"));
    return;
  }
  for (int i = 1; i <= refusals.Size() && i <= Size(); ++i) {
    if (refusals[i].IsEmpty()) continue;
    trace_.Append(CADUnicodeString("< ") + At(i - 1).name + CADUnicodeString(": ") + refusals[i] +
                  CADUnicodeString(" >"));
  }
  flags_.validation = !allValid;
  flags_.validated = allValid;
  trace_.Append(ZRBSyncJobTexts::Text(allValid ? "Validation.Succeeded" : "Validation.Failed"));
}

bool ZRBSyncJobList::ToggleExecute(int row) {
  if (row < next_ || row >= Size() || At(row).result != ZRBSyncResult::None) return false;
  ZRBSyncJob& job = At(row);
  job.execute = job.execute == ZRBSyncExecute::Yes ? ZRBSyncExecute::No : ZRBSyncExecute::Yes;
  return true;
}

int ZRBSyncJobList::NextEditable(int from) const {
  for (int i = from + 1; i < Size(); ++i)
    if (At(i).editable) return i;
  return -1;
}

int ZRBSyncJobList::PrevEditable(int from) const {
  for (int i = from - 1; i >= 0; --i)
    if (At(i).editable) return i;
  return -1;
}

int ZRBSyncJobList::FirstUnsetPartType() const {
  for (int i = 0; i < Size(); ++i)
    if (At(i).editable && At(i).partType == ZRBPartType::NotSet) return i;
  return -1;
}

void ZRBSyncJobList::ApplyPartType(int row, ZRBPartType type) {
  if (row < 0 || row >= Size() || !At(row).editable) return;
  ZRBSyncJob& job = At(row);
  job.partType = type;
  flags_.validated = false;
  if (!job.product) return;
  // The row and its part say the same: the request of the row's run reads the part's properties.
  const char* word = type == ZRBPartType::Bom ? "BOM" : type == ZRBPartType::NoBom ? "NOBOM" : "NOT_SET";
  GlobPropertyManager.SetReferenceProperty(job.product, "ZRB_PART_TYPE_FOR_SYNC", word);
  GlobPropertyManager.SetReferenceProperty(job.product, "ZRB_PART_PRODUCT_TYPE_FOR_SYNC", word);
  GlobPropertyManager.SetReferenceProperty(job.product, "ZRB_CREATECOMPONENT", type == ZRBPartType::Bom ? "1" : "0");
  if (!job.partCategory.IsEmpty())
    GlobPropertyManager.SetReferenceProperty(job.product, "ZRB_PART_CGY_FOR_VALIDATE", job.partCategory);
}

void ZRBSyncJobList::ApplyPartTypeToAll(ZRBPartType type) {
  for (int i = 0; i < Size(); ++i) ApplyPartType(i, type);
}

ZRBSyncJobList::Buttons ZRBSyncJobList::WantedButtons(int selectedRow) const {
  Buttons buttons;
  const bool rows = Size() > 0;
  const ZRBSyncJob* selected = selectedRow >= 0 && selectedRow < Size() ? &At(selectedRow) : nullptr;
  const bool product = selected && selected->object == ZRBSyncObject::Product;
  buttons.validate = rows && !flags_.notExecutable && !flags_.validated;
  buttons.edit =
      rows && !flags_.notExecutable && !flags_.validated && !settings_.drawing && product && selected->editable;
  buttons.info =
      product && !settings_.drawing && (selected->addedInstances.Size() > 0 || selected->removedInstances.Size() > 0);
  buttons.autoStep = rows && !flags_.notExecutable && !flags_.validation && !flags_.failed && !flags_.finished &&
                     (!settings_.validationRequired || flags_.validated);
  return buttons;
}

ZRBSyncIcon ZRBSyncJobList::Icon() const {
  if (flags_.notExecutable || flags_.failed) return ZRBSyncIcon::Failed;
  if (!flags_.finished) return flags_.validation ? ZRBSyncIcon::Warning : ZRBSyncIcon::Blank;
  return (flags_.warning || flags_.skipped) ? ZRBSyncIcon::Warning : ZRBSyncIcon::Success;
}
