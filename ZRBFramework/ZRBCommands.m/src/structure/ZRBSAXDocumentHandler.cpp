#include "ZRBSAXDocumentHandler.h"

#include <charconv>
#include <optional>

#include "ZRBPropertyManager.h"

namespace {
// Decimal text as an int, the way the file writes Ids; nothing for anything else (an Id read as 0 would join
// records that have nothing to do with each other).
std::optional<int> ParseId(std::string_view text) {
  CADUnicodeString stripped = CADUnicodeString(text).Strip();
  std::string_view digits = stripped.view();
  int value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

bool ParseUnsigned(std::string_view text, unsigned long& value) {
  CADUnicodeString stripped = CADUnicodeString(text).Strip();
  std::string_view digits = stripped.view();
  if (digits.empty()) return false;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() && end == digits.data() + digits.size();
}
}  // namespace

HRESULT ZRBSAXDocumentHandler::StartElement(const CADUnicodeString& name, const CADIXMLSAXAttributeList& attributes) {
  currentElement_ = name.str();
  text_.clear();
  if (name == "ZRBPropertyManager") {
    CADUnicodeString pidText;
    unsigned long pid = 0;
    if (SUCCEEDED(attributes.GetValue("ProcessId", pidText)) && ParseUnsigned(pidText.view(), pid))
      manager_.SetProcessId(pid);
    return S_OK;
  }
  StartRecord(name.view());
  return S_OK;
}

HRESULT ZRBSAXDocumentHandler::Characters(const CADUnicodeString& text) {
  if (!currentElement_.empty()) text_ += text.view();
  return S_OK;
}

HRESULT ZRBSAXDocumentHandler::EndElement(const CADUnicodeString& name) {
  if (!currentElement_.empty() && name == currentElement_.c_str()) TakeText(name.view());
  currentElement_.clear();
  // A damaged Id ends the read there: the records before it are kept, the one holding it is not.
  if (badId_) return E_FAIL;
  text_.clear();
  if (name == "Property") {
    FinishProperty();
  } else {
    FinishRecord(name.view());
  }
  return S_OK;
}

void ZRBSAXDocumentHandler::StartRecord(std::string_view name) {
  if (name == "Global") {
    DropCurrentRecords();
    global_ = std::make_unique<ZRBPropertyGlobal>();
  } else if (name == "Reference") {
    DropCurrentRecords();
    reference_ = std::make_unique<ZRBPropertyReference>(0);
  } else if (name == "File") {
    DropCurrentRecords();
    file_ = std::make_unique<ZRBPropertyFile>();
  } else if (name == "Instance") {
    DropCurrentRecords();
    instance_ = std::make_unique<ZRBPropertyInstance>();
  } else if (name == "PathToRoot") {
    DropCurrentRecords();
    pathToRoot_ = std::make_unique<ZRBPropertyPathToRoot>();
  } else if (name == "Property") {
    pendingName_ = CADUnicodeString();
    pendingValue_ = CADUnicodeString();
  }
}

void ZRBSAXDocumentHandler::TakeText(std::string_view name) {
  CADUnicodeString text(text_);
  if (name == "Name") {
    pendingName_ = text;
  } else if (name == "Value") {
    pendingValue_ = text;
  } else if (instance_ && (name == "ParentId" || name == "ChildId")) {
    const std::optional<int> id = ParseId(text_);
    badId_ = !id;
    if (id && name == "ParentId") instance_->SetParentId(*id);
    if (id && name == "ChildId") instance_->SetChildId(*id);
  } else if (instance_ && name == "ChildInstanceName") {
    instance_->SetChildInstanceName(text);
  } else if (reference_ && name == "Id") {
    const std::optional<int> id = ParseId(text_);
    badId_ = !id;
    if (id) reference_->SetId(*id);
  } else if (reference_ && name == "PropertySet") {
    reference_->SetPropertySetFlag(text == "true");
  } else if (reference_ && name == "RootFullPath") {
    reference_->BlackBoxRoots().Append(text);
  } else if (reference_ && name == "ItemFullPath") {
    reference_->BlackBoxItems().Append(text);
  } else if (file_ && name == "FileFullPath") {
    file_->SetFullPath(text);
  } else if (pathToRoot_ && name == "PathToRootString") {
    pathToRoot_->SetPathToRoot(text);
  } else if (reference_) {
    ZRBPropertyReference::Field field;
    if (ZRBPropertyReference::FieldFromName(name, field)) reference_->Set(field, text);
  }
}

void ZRBSAXDocumentHandler::FinishProperty() {
  ZRBPropertyContainer* record = global_       ? static_cast<ZRBPropertyContainer*>(global_.get())
                                 : reference_  ? reference_.get()
                                 : file_       ? file_.get()
                                 : instance_   ? instance_.get()
                                 : pathToRoot_ ? static_cast<ZRBPropertyContainer*>(pathToRoot_.get())
                                               : nullptr;
  // A file keeps every entry it holds, in its order, duplicates included.
  if (record) record->AppendProperty(pendingName_, pendingValue_);
  pendingName_ = CADUnicodeString();
  pendingValue_ = CADUnicodeString();
}

void ZRBSAXDocumentHandler::FinishRecord(std::string_view name) {
  if (name == "Global" && global_) {
    manager_.AddProperty(std::move(global_));
  } else if (name == "Reference" && reference_) {
    manager_.AddProperty(std::move(reference_));
  } else if (name == "File" && file_) {
    manager_.AddProperty(std::move(file_));
  } else if (name == "Instance" && instance_) {
    manager_.AddProperty(std::move(instance_));
  } else if (name == "PathToRoot" && pathToRoot_) {
    manager_.AddProperty(std::move(pathToRoot_));
  } else {
    return;
  }
  DropCurrentRecords();
}

void ZRBSAXDocumentHandler::DropCurrentRecords() {
  global_.reset();
  reference_.reset();
  file_.reset();
  instance_.reset();
  pathToRoot_.reset();
}
