#include "ZRBGlobalProperties.h"

ZRBGlobalProperties& ZRBGlobalProperties::Process() {
  static ZRBGlobalProperties instance;
  return instance;
}

void ZRBGlobalProperties::Reset() {
  record_.reset();
  tempIds_.Reset();
  registry_.Clear();
}

const ZRBPropertyManagerNames& ZRBGlobalProperties::Names() const {
  static const ZRBPropertyManagerNames names;
  return names;
}

void ZRBGlobalProperties::SetGlobalProperty(const CADUnicodeString& name, const CADUnicodeString& value) {
  Names().Check(ZRBPropertyManagerNames::Kind::Global, "Set", name);
  GetOrCreateGlobalRecord().SetProperty(name, value);
}

CADUnicodeString ZRBGlobalProperties::GetGlobalProperty(const CADUnicodeString& name) const {
  Names().Check(ZRBPropertyManagerNames::Kind::Global, "Get", name);
  return record_ ? record_->GetProperty(name) : CADUnicodeString();
}

int ZRBGlobalProperties::DeleteGlobalProperty(const CADUnicodeString& name) {
  Names().Check(ZRBPropertyManagerNames::Kind::Global, "Delete", name);
  return record_ && record_->DeleteProperty(name) > 0 ? 1 : 0;
}

int ZRBGlobalProperties::IsGlobalPropertySet(const CADUnicodeString& name) const {
  Names().Check(ZRBPropertyManagerNames::Kind::Global, "IsSet", name);
  return record_ && record_->IsPropertySet(name) ? 1 : 0;
}

ZRBPropertyGlobal& ZRBGlobalProperties::GetOrCreateGlobalRecord() {
  if (!record_) record_ = std::make_unique<ZRBPropertyGlobal>();
  return *record_;
}

void ZRBGlobalProperties::RegisterRunningCommand(ZRBRunningCommandKind kind, ZRBCommand* command) {
  registry_.Register(kind, command, GetGlobalProperty("ZRB_CONNECTION_CMD"));
}
