#include "CADDrawingDocument.h"

#include <algorithm>

#include "CADDesignTableObject.h"
#include "CADDocumentFormat.h"
#include "CADDocumentSession.h"
#include "CADDocumentState.h"

CADDrawingDocument::CADDrawingDocument(const CADUnicodeString& storageName) : CADDocument("CADDrawing", storageName) {}

HRESULT CADDrawingDocument::Change(CADUnicodeString& field, const CADUnicodeString& value) {
  if (field == value) return S_OK;
  field = value;
  SetDirty(1);
  return S_OK;
}

HRESULT CADDrawingDocument::GetName(CADUnicodeString& name) const {
  name = State().name;
  return S_OK;
}
HRESULT CADDrawingDocument::SetName(const CADUnicodeString& name) { return Change(State().name, name); }
HRESULT CADDrawingDocument::GetComment(CADUnicodeString& c) const {
  c = State().comment;
  return S_OK;
}
HRESULT CADDrawingDocument::SetComment(const CADUnicodeString& c) { return Change(State().comment, c); }
HRESULT CADDrawingDocument::GetResponsible(CADUnicodeString& r) const {
  r = State().responsible;
  return S_OK;
}
HRESULT CADDrawingDocument::SetResponsible(const CADUnicodeString& r) { return Change(State().responsible, r); }

int CADDrawingDocument::GetSheetCount() const { return static_cast<int>(State().sheets.size()); }

const CADDrawingSheetState* CADDrawingDocument::Sheet(int sheet) const {
  const auto& sheets = State().sheets;
  if (sheet < 1 || sheet > static_cast<int>(sheets.size())) return nullptr;
  return &sheets[static_cast<size_t>(sheet - 1)];
}

HRESULT CADDrawingDocument::GetSheetName(int sheet, CADUnicodeString& name) const {
  const CADDrawingSheetState* s = Sheet(sheet);
  if (!s) return E_FAIL;
  name = s->name;
  return S_OK;
}

HRESULT CADDrawingDocument::AddSheet(const CADUnicodeString& name) {
  if (name.IsEmpty()) return E_FAIL;
  State().sheets.push_back({name, {}});
  SetDirty(1);
  return S_OK;
}

int CADDrawingDocument::GetViewCount(int sheet) const {
  const CADDrawingSheetState* s = Sheet(sheet);
  return s ? static_cast<int>(s->views.size()) : 0;
}

HRESULT CADDrawingDocument::GetViewName(int sheet, int view, CADUnicodeString& name) const {
  const CADDrawingSheetState* s = Sheet(sheet);
  if (!s || view < 1 || view > static_cast<int>(s->views.size())) return E_FAIL;
  name = s->views[static_cast<size_t>(view - 1)].name;
  return S_OK;
}

HRESULT CADDrawingDocument::GetViewDocument(int sheet, int view, CADDocument*& document) const {
  document = nullptr;
  const CADDrawingSheetState* s = Sheet(sheet);
  if (!s || view < 1 || view > static_cast<int>(s->views.size())) return E_FAIL;
  document = CADDocumentSession::Get().FindBySerial(s->views[static_cast<size_t>(view - 1)].shown.serial);
  return S_OK;
}

HRESULT CADDrawingDocument::AddView(int sheet, const CADUnicodeString& name, CADDocument* shown) {
  if (!Sheet(sheet) || name.IsEmpty() || !shown || !shown->IsInSession()) return E_FAIL;
  CADDrawingViewState view;
  view.name = name;
  view.shown.written = shown->StorageName();
  view.shown.resolvedPath = shown->StorageName();
  view.shown.serial = shown->State().serial;
  State().sheets[static_cast<size_t>(sheet - 1)].views.push_back(view);
  SetDirty(1);
  return S_OK;
}

int CADDrawingDocument::GetParameterCount() const { return static_cast<int>(State().parameters.size()); }

HRESULT CADDrawingDocument::GetParameter(int index, CADUnicodeString& name, CADUnicodeString& type,
                                         CADUnicodeString& value) const {
  const auto& params = State().parameters;
  if (index < 1 || index > static_cast<int>(params.size())) return E_FAIL;
  const CADParameterImage& p = params[static_cast<size_t>(index - 1)];
  name = p.name;
  type = p.type;
  value = p.value;
  return S_OK;
}

HRESULT CADDrawingDocument::SetParameterValue(const CADUnicodeString& name, const CADUnicodeString& value) {
  for (CADParameterImage& p : State().parameters)
    if (p.name == name) {
      if (!CADDocumentFormat::IsValidParameter(p.type, value)) return E_FAIL;
      return Change(p.value, value);
    }
  return E_FAIL;
}

HRESULT CADDrawingDocument::AddParameter(const CADUnicodeString& name, const CADUnicodeString& type,
                                         const CADUnicodeString& value) {
  auto& params = State().parameters;
  if (name.IsEmpty() || !CADDocumentFormat::IsValidParameter(type, value)) return E_FAIL;
  if (std::any_of(params.begin(), params.end(), [&](const auto& p) { return p.name == name; })) return E_FAIL;
  params.push_back({name, type, value});
  SetDirty(1);
  return S_OK;
}

HRESULT CADDrawingDocument::ListDesignTables(CADListValCADBaseUnknown_var& tables) const {
  tables.RemoveAll();
  for (const auto& t : State().tables) tables.Append(CADBaseUnknown_var(t.get()));
  return S_OK;
}

HRESULT CADDrawingDocument::AddDesignTable(const CADUnicodeString& name, const CADUnicodeString& sheetPath,
                                           CADIDesignTable_var& table) {
  table = nullptr;
  auto& tables = State().tables;
  if (name.IsEmpty() || sheetPath.IsEmpty()) return E_FAIL;
  for (const auto& t : tables)
    if (t->Image().name == name) return E_FAIL;
  auto object = CADVar<CADDesignTableObject>::Adopt(new CADDesignTableObject({name, "", true, sheetPath}, this));
  tables.push_back(object);
  SetDirty(1);
  table = CADIDesignTable_var(object.get());
  return S_OK;
}

HRESULT CADDrawingDocument::RemoveDesignTable(const CADIDesignTable_var& table) {
  auto& tables = State().tables;
  auto it = std::find_if(tables.begin(), tables.end(),
                         [&](const auto& t) { return static_cast<CADIDesignTable*>(t.get()) == table.get(); });
  if (it == tables.end()) return E_FAIL;
  (*it)->Detach();
  tables.erase(it);
  SetDirty(1);
  return S_OK;
}

HRESULT CADDrawingDocument::QueryInterface(const CADIID& iid, void** out) {
  if (iid == CADIDrawing::ClassId() || iid == CADIParmPublisher::ClassId())
    return CADQueryInterfaceHelper<CADIDrawing, CADIParmPublisher>(this, iid, out);
  return CADDocument::QueryInterface(iid, out);
}
