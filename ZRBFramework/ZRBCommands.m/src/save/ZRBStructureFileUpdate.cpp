#include "ZRBStructureFileUpdate.h"

#include <algorithm>
#include <climits>
#include <set>
#include <string>
#include <string_view>

#include "CADDocument.h"
#include "CADIDrawing.h"
#include "CADIProduct.h"
#include "ZRBAfx.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBPropertyManager.h"
#include "ZRBTrace.h"

namespace {

constexpr unsigned long kNoAccessStyle = 0x8000200;
// Deeper than any real structure: an answer that lists itself would otherwise never end.
constexpr int kMaxDepth = 64;

bool Yes(const ZRBObject& object, const char* slot) { return object.GetSlotValue(slot) == "1"; }

bool IsDecimal(std::string_view text) {
  if (text.empty() || text.size() > 9) return false;
  for (const char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

void ZRBStructureFileUpdate::Message(const char* key, const CADString& parameter) {
  CADUnicodeString value(parameter);
  messages_.Append(
      ZRBAfx::BuildMessage("ZRBUpdateCmd", key, parameter.IsEmpty() ? nullptr : &value, parameter.IsEmpty() ? 0 : 1));
}

// ---------------------------------------------------------------- keys

CADString ZRBStructureFileUpdate::GetFatherObjectKeyID(const CADString& key) {
  const std::string_view text = key.view();
  const std::size_t dot = text.rfind('.');
  return dot == std::string_view::npos ? CADString() : CADString(std::string(text.substr(0, dot)));
}

int ZRBStructureFileUpdate::GetKeyIDAsIntAndPrefixString(const CADString& key, int& number, CADString& prefix) {
  number = 0;
  prefix = CADString();
  const std::string_view text = key.view();
  const std::size_t dot = text.rfind('.');
  if (dot == std::string_view::npos) {
    Message("DelimiterNotFound", key);
    return 0;
  }
  prefix = CADString(std::string(text.substr(0, dot + 1)));
  const std::string_view tail = text.substr(dot + 1);
  if (IsDecimal(tail)) {
    number = std::stoi(std::string(tail));
    return 1;
  }
  // Models count in Roman numerals; only the canonical spelling is one.
  const int roman = ZRBAfx::romanToInt(CADString(std::string(tail)));
  if (roman <= 0 || roman > 3999 || !(ZRBAfx::intToRoman(roman) == CADString(std::string(tail)))) return 0;
  number = roman;
  return 1;
}

CADString ZRBStructureFileUpdate::GenerateNewKeyID(int highest, const CADString& prefix, const CADString& type) {
  if (!(type == "MODEL") && !(type == "RELATION")) {
    Message("NoObjectType", type);
    return CADString();
  }
  // A Roman numeral above 3999 has no canonical spelling; a decimal above INT_MAX none at all.
  if (highest < 0 || highest >= (type == "MODEL" ? 3999 : INT_MAX)) return CADString();
  const CADString tail = type == "MODEL" ? ZRBAfx::intToRoman(highest + 1) : CADString(std::to_string(highest + 1));
  return CADString(prefix.str() + tail.str());
}

// ---------------------------------------------------------------- the file

ZRBObject* ZRBStructureFileUpdate::FindItem(ZRBObjectManager& structure, const CADString& obid) {
  if (obid.IsEmpty()) return nullptr;
  if (ZRBObject* byId = structure.GetObjectByAttrValue("ID", obid)) return byId;
  // Without "ID": the item object, which neither leads to a child (a relation) nor names a file (a document).
  for (ZRBObject* object = structure.GetFirstObject(); object; object = structure.GetNextObject(object))
    if (object->GetSlotValue("OBID") == obid && object->GetSlotValue("ASS_ITEM_ID").IsEmpty() &&
        object->GetSlotValue("CADCLASSNAME").IsEmpty())
      return object;
  return nullptr;
}

int ZRBStructureFileUpdate::UpdateWithoutPdm(ZRBObjectManager& request) {
  ZRB_TRACE("ZRBStructureFileUpdate::UpdateWithoutPdm");
  // What the file can carry is taken as done; what it cannot (copies and removals outside the extended
  // variant) stays unconfirmed, so the session keeps it to be sent.
  for (ZRBObject* object = request.GetFirstObject(); object; object = request.GetNextObject(object)) {
    if (Yes(*object, "UPD_GEOMETRY")) object->SetSlotValue("MODEL_UPD_SUCCESS", "1");
    if (Yes(*object, "UPD_MATRIX")) object->SetSlotValue("UPD_MATRIX_SUCCESS", "1");
    if (Yes(*object, "UPD_PRODUCT")) object->SetSlotValue("PRODUCT_SUCCESS", "1");
    if (!extended_) continue;
    if (Yes(*object, "CREATE_MODEL_RELATION_ONLY") || Yes(*object, "CREATE_PART_RELATION_ONLY"))
      object->SetSlotValue("INSTANTIATE_SUCCESS", "1");
    if (!object->GetSlotValue("REMOVED_SUBASS").IsEmpty()) object->SetSlotValue("REMOVE_SUCCESS", "1");
  }
  standIn_ = true;
  const int done = UpdateSZRBStructure(request);
  standIn_ = false;
  return done;
}

ZRBObject* ZRBStructureFileUpdate::Answered(const ZRBObject& node) const {
  return answer_ ? answer_->GetObject(node.GetKey()) : nullptr;
}

int ZRBStructureFileUpdate::UpdateSZRBStructure(ZRBObjectManager& answer) {
  ZRB_TRACE("ZRBStructureFileUpdate::UpdateSZRBStructure");
  answer_ = &answer;
  CADUnicodeString xmap;
  ZRBAfx::GetXMapWithEndingSlash(xmap);
  const CADUnicodeString path = xmap + FileName();
  ZRBObjectManager structure;
  if (!structure.Read(path)) {
    ZRB_DEBUG("ZRB: sZRB exchangefile not found");
    CADUnicodeString parameter = path;
    ZRBAfx::MsgBox(ZRBAfx::BuildMessage("ZRBUpdateCmd", "NoFileAccessSZRB", &parameter, 1), kNoAccessStyle);
    ZRBAfx::SetShowMsg(0);
    return 0;
  }
  walked_.clear();
  assigned_.clear();
  const ZRBObject* root = answer.GetObject("ROOT");
  if (!root || !WriteSZRBProductStructure(structure, answer, nullptr, root)) return 0;
  // Removed children travel in objects of their own, named by their parent rather than listed below it.
  if (extended_)
    for (ZRBObject* object = answer.GetFirstObject(); object; object = answer.GetNextObject(object))
      if (!object->GetSlotValue("REMOVED_SUBASS").IsEmpty() && !DeleteObjectsEZRB(structure, *object)) return 0;
  if (!structure.Write(path)) {
    CADUnicodeString parameter = path;
    messages_.Append(ZRBAfx::BuildMessage("ZRBUpdateCmd", "NoFileAccess", &parameter, 1));
    return 0;
  }
  ZRB_TRACE_OK();
  return 1;
}

int ZRBStructureFileUpdate::WriteSZRBProductStructure(ZRBObjectManager& structure, ZRBObjectManager& answer,
                                                      const ZRBObject* parent, const ZRBObject* node, int depth) {
  if (!node || depth > kMaxDepth) return 0;
  // Every node of a save is one object: an answer that reaches one twice is no save's answer.
  if (!walked_.insert(node->GetKey().str()).second) return 0;
  ZRB_DEBUG("ZRBUpdateCmd::WriteSZRBProductStructure: %s", node->GetSlotValue("INSTANCENAME").c_str());
  if (!UpdateSZRBProductObjects(structure, parent, *node)) return 0;
  // A new drawing's whole file is new: its creation flag says more than a changed-geometry mark.
  const bool newDrawing = extended_ && node->GetSlotValue("OBID") == kNewDrawingObid;
  if (!newDrawing && (Yes(*node, "UPD_GEOMETRY") || Yes(*node, "UPD_MATRIX")) &&
      node->GetSlotValue("CREATE_MODEL_RELATION_ONLY").IsEmpty() &&
      !UpdateSZRBChangedGeoMatrixObjects(structure, *node))
    return 0;
  if (extended_ && (Yes(*node, "CREATE_MODEL_RELATION_ONLY") || Yes(*node, "CREATE_PART_RELATION_ONLY")) &&
      !UpdateSZRBCopyPasted(structure, parent, *node))
    return 0;
  for (const CADString& key : node->GetSlotValueList("SUBASSEMBLIES"))
    if (!WriteSZRBProductStructure(structure, answer, node, answer.GetObject(key), depth + 1)) return 0;
  return 1;
}

ZRBObject* ZRBStructureFileUpdate::CreateChild(ZRBObjectManager& structure, const ZRBObject& father,
                                               const CADString& type) {
  const CADString prefix(father.GetKey().str() + ".");
  int highest = 0;
  for (ZRBObject* object = structure.GetFirstObject(); object; object = structure.GetNextObject(object)) {
    if (!(GetFatherObjectKeyID(object->GetKey()) == father.GetKey())) continue;
    int number = 0;
    CADString ignored;
    // Models and relations count apart: a Roman tail is a model's, a decimal one a relation's.
    const bool roman = !IsDecimal(object->GetKey().view().substr(prefix.view().size()));
    if (roman == (type == "MODEL") && GetKeyIDAsIntAndPrefixString(object->GetKey(), number, ignored) &&
        number > highest)
      highest = number;
  }
  const CADString key = GenerateNewKeyID(highest, prefix, type);
  ZRBObject* created = key.IsEmpty() ? nullptr : structure.CreateObject(key);
  if (!created) Message(type == "MODEL" ? "ErrorCreateObj" : "ErrorCreateRelObj", father.GetKey());
  return created;
}

CADString ZRBStructureFileUpdate::AssignedObid(const CADString& key) const {
  const auto found = assigned_.find(key.str());
  return found == assigned_.end() ? CADString() : found->second;
}

int ZRBStructureFileUpdate::AddNewDrawing(ZRBObjectManager& structure, const ZRBObject& node) {
  ZRBObject* root = structure.GetObject("ROOT");
  if (!root) {
    Message("FatherNotExisting", "ROOT");
    return 0;
  }
  const CADString location = node.GetSlotValue("EXTERNAL_LOCATION");
  if (location.IsEmpty()) {
    Message("ErrorCreateObj", node.GetSlotValue("PARTNUMBER"));
    return 0;
  }
  for (const CADString& key : root->GetSlotValueList("DOCCOMS")) {
    const ZRBObject* known = structure.GetObject(key);
    if (known && known->GetSlotValue("EXTERNAL_LOCATION") == location) {
      assigned_[node.GetKey().str()] = known->GetSlotValue("OBID");
      return 1;
    }
  }
  ZRBObject* drawing = CreateChild(structure, *root, "MODEL");
  if (!drawing) return 0;
  // One placeholder for every new drawing would make them one object for every later save.
  const CADString obid(std::string(kNewDrawingObid) + "_" +
                       std::string(drawing->GetKey().view().substr(root->GetKey().view().size() + 1)));
  for (const char* slot : {"CLASSNAME", "PATH", "CHANGEABLE", "EXTERNAL_LOCATION", "PARTNUMBER", "SHEETS",
                           "SOURCE_PARTNUMBERS", "SOURCE_OBIDS", "SOURCE_DOCS"})
    if (!node.GetSlotValue(slot).IsEmpty()) drawing->SetSlotValue(slot, node.GetSlotValue(slot));
  drawing->SetSlotValue("OBID", obid);
  drawing->SetSlotValue("ID", obid);
  drawing->SetSlotValue("DESCRIPTION", node.GetSlotValue("PARTNUMBER"));
  drawing->SetSlotValue("CADCLASSNAME", "CADDrawing");
  drawing->SetSlotValue("CREATE_CADDRAWING_AND_DOCUMENT", "1");
  root->SlotAppend("DOCCOMS", drawing->GetKey());
  assigned_[node.GetKey().str()] = obid;
  return 1;
}

int ZRBStructureFileUpdate::UpdateSZRBProductObjects(ZRBObjectManager& structure, const ZRBObject* parent,
                                                     const ZRBObject& node) {
  const CADString obid = node.GetSlotValue("OBID");
  if (extended_ && obid == kNewDrawingObid) return AddNewDrawing(structure, node);
  ZRBObject* item = FindItem(structure, obid);
  // A drawing chosen on its own has no item object: its document object stands for it.
  if (const std::vector<ZRBObject*> documents = FindDocuments(structure, obid); !item && !documents.empty())
    item = documents.front();
  if (item) {
    if (!node.GetSlotValue("MODIFICATION_DATE_GMT").IsEmpty())
      item->SetSlotValue("MODIFICATION_DATE_GMT", node.GetSlotValue("MODIFICATION_DATE_GMT"));
    return 1;
  }
  const CADString create = node.GetSlotValue("CREATE_PART_IN_PDM");
  // Standing in for the PDM, the file creates the new item itself, under a placeholder identity.
  const bool placeholder = standIn_ && obid.IsEmpty() && (create == "1" || create == "2");
  // Only what the PDM just created is missing from the file; anything else was never in it.
  if (!placeholder && (!Yes(node, "CREATE_PART_SUCCESS") || obid.IsEmpty())) {
    if (obid.IsEmpty() || !parent) return 1;  // the root of a save without identity, or a refused creation
    Message("ObjectNotFound", obid);
    return 0;
  }
  if (!parent || parent->GetSlotValue("OBID").IsEmpty()) {
    Message("FatherOBIDEmpty", node.GetSlotValue("PARTNUMBER"));
    return 0;
  }
  ZRBObject* father = FindItem(structure, parent->GetSlotValue("OBID"));
  if (!father) {
    Message("FatherNotExisting", parent->GetSlotValue("OBID"));
    return 0;
  }
  ZRBObject* model = CreateChild(structure, *father, "MODEL");
  ZRBObject* relation = model ? CreateChild(structure, *father, "RELATION") : nullptr;
  if (!relation) return 0;
  for (const char* slot : {"OBID", "CLASSNAME", "DB_NAME", "PARTNUMBER", "CHANGEABLE", "MODIFICATION_DATE_GMT"})
    if (!node.GetSlotValue(slot).IsEmpty()) model->SetSlotValue(slot, node.GetSlotValue(slot));
  model->SetSlotValue("ID", obid);
  model->SetSlotValue("DESCRIPTION", node.GetSlotValue("PARTNUMBER"));
  model->SetSlotValue("CREATE_CADPART_AND_DOCUMENT", "1");
  relation->SetSlotValue("ASS_ITEM_ID", model->GetKey());
  relation->SetSlotValue("INSTANCE_NAME", node.GetSlotValue("INSTANCENAME"));
  for (const char* slot : {"MATRIX", "UNIT"})
    if (!node.GetSlotValue(slot).IsEmpty()) relation->SetSlotValue(slot, node.GetSlotValue(slot));
  if (!node.GetSlotValue("DOCREL_ID").IsEmpty()) relation->SetSlotValue("REL_OBID", node.GetSlotValue("DOCREL_ID"));
  relation->SetSlotValue("CREATE_NEW_RELATION", "1");
  father->SlotAppend("SUBASSRELATIONS", relation->GetKey());
  if (placeholder) {
    const CADString identity(PlaceholderPrefix() + model->GetKey().str());
    const CADString relationIdentity(PlaceholderPrefix() + relation->GetKey().str());
    model->SetSlotValue("OBID", identity);
    model->SetSlotValue("ID", identity);
    relation->SetSlotValue("REL_OBID", relationIdentity);
    // The request becomes the answer the session takes: the node now has its (placeholder) identity.
    if (ZRBObject* answered = Answered(node)) {
      answered->SetSlotValue("OBID", identity);
      answered->SetSlotValue("DOCREL_ID", relationIdentity);
      answered->SetSlotValue("CHANGEABLE", "1");
      answered->SetSlotValue("CREATE_PART_SUCCESS", "1");
    }
  }
  return 1;
}

std::vector<ZRBObject*> ZRBStructureFileUpdate::FindDocuments(ZRBObjectManager& structure, const CADString& obid) {
  std::vector<ZRBObject*> documents;
  // A part's or drawing's document object speaks for its item and carries the item's identity.
  for (ZRBObject* object = structure.GetFirstObject(); !obid.IsEmpty() && object;
       object = structure.GetNextObject(object))
    if (object->GetSlotValue("OBID") == obid && !object->GetSlotValue("CADCLASSNAME").IsEmpty())
      documents.push_back(object);
  return documents;
}

void ZRBStructureFileUpdate::CopySlots(const ZRBObject& from, ZRBObject& to, const std::vector<std::string>& only) {
  CADListValCADString names, values;
  from.GetAllSlots(names, values);
  for (int i = 1; i <= names.Size(); ++i) {
    const std::string name = names[i].str();
    if (!only.empty() && std::find(only.begin(), only.end(), name) == only.end()) continue;
    // Values never hold braces (the file format keeps them for lists), so a brace starts a list.
    if (values[i].view().starts_with('{'))
      to.SetSlotValueList(names[i], from.GetSlotValueList(names[i]));
    else
      to.SetSlotValue(names[i], from.GetSlotValue(names[i]));
  }
}

int ZRBStructureFileUpdate::RecordChangedGeometry(ZRBObjectManager& structure, const ZRBObject& node) {
  const CADString obid = node.GetSlotValue("OBID");
  ZRBObject* item = FindItem(structure, obid);
  // A drawing chosen on its own is only a document object of the file's "ROOT".
  const std::vector<ZRBObject*> documents = FindDocuments(structure, obid);
  if (!item && documents.empty()) {
    Message("ObjectNotFound", obid);
    return 0;
  }
  // A read of the file judges a part or drawing by its document object, the item stands for the node.
  if (item) item->SetSlotValue("S_ZRB_CHANGED_GEO", "1");
  for (ZRBObject* document : documents) document->SetSlotValue("S_ZRB_CHANGED_GEO", "1");
  ZRBObject& owner = item ? *item : *documents.front();
  const ZRBObject* info = answer_ && !node.GetSlotValue("MODEL_INFO").IsEmpty()
                              ? answer_->GetObject(node.GetSlotValue("MODEL_INFO"))
                              : nullptr;
  if (info) {
    CADString key = owner.GetSlotValue("MODEL_INFO");
    ZRBObject* kept = key.IsEmpty() ? nullptr : structure.GetObject(key);
    if (!kept) {
      key = CADString(owner.GetKey().str() + ".MODEL_INFO");
      kept = structure.GetObject(key) ? structure.GetObject(key) : structure.CreateObject(key);
    }
    if (!kept) {
      Message("ErrorCreateModInfo", owner.GetKey());
      return 0;
    }
    CopySlots(*info, *kept, {});
    kept->SetSlotValue("SYNTACTICAL_FORMAT", "CAD");
    owner.SetSlotValue("MODEL_INFO", key);
  }
  // A saved drawing brings its sheets and the products it shows as they are now.
  const std::vector<std::string> drawingSlots = {"SHEETS", "SOURCE_PARTNUMBERS", "SOURCE_OBIDS", "SOURCE_DOCS"};
  if (documents.empty()) {
    if (node.GetSlotValue("CADCLASSNAME") == "CADDrawing") CopySlots(node, owner, drawingSlots);
  } else {
    for (ZRBObject* document : documents)
      if (document->GetSlotValue("CADCLASSNAME") == "CADDrawing") CopySlots(node, *document, drawingSlots);
  }
  return 1;
}

void ZRBStructureFileUpdate::DescribeDrawing(CADDocument& document, ZRBObject& drawing) {
  CADListValCADString sheets, sourceNumbers, sourceObids, sourceDocs;
  if (CADIDrawing_var view(&document); view) {
    for (int i = 1; i <= view->GetSheetCount(); ++i) {
      CADUnicodeString name;
      if (SUCCEEDED(view->GetSheetName(i, name))) sheets.Append(name.ConvertToString());
    }
  }
  for (CADDocument* shown : document.GetPointedDocuments()) {
    CADIProduct_var product = shown ? shown->GetRootProduct() : nullptr;
    if (!product) continue;
    sourceNumbers.Append(product->GetPartNumber().ConvertToString());
    sourceObids.Append(GlobPropertyManager.GetReferenceProperty(product, "ZRB_OBID").ConvertToString());
    sourceDocs.Append(shown->StorageName().ConvertToString());
  }
  drawing.SetSlotValue("CADCLASSNAME", "CADDrawing");
  drawing.SetSlotValueList("SHEETS", sheets);
  drawing.SetSlotValueList("SOURCE_PARTNUMBERS", sourceNumbers);
  drawing.SetSlotValueList("SOURCE_OBIDS", sourceObids);
  drawing.SetSlotValueList("SOURCE_DOCS", sourceDocs);
}

int ZRBStructureFileUpdate::UpdateSZRBChangedGeoMatrixObjects(ZRBObjectManager& structure, const ZRBObject& node) {
  if (Yes(node, "UPD_GEOMETRY") && !RecordChangedGeometry(structure, node)) return 0;
  if (Yes(node, "UPD_MATRIX")) {
    const CADString relObid = node.GetSlotValue("REL_OBID");
    ZRBObject* relation = relObid.IsEmpty() ? nullptr : structure.GetObjectByAttrValue("REL_OBID", relObid);
    if (!relation && !relObid.IsEmpty()) relation = structure.GetObject(relObid);
    if (!relation) {
      Message("ObjectNotFound", relObid);
      return 0;
    }
    relation->SetSlotValue("MATRIX", node.GetSlotValue("MATRIX"));
    if (!node.GetSlotValue("UNIT").IsEmpty()) relation->SetSlotValue("UNIT", node.GetSlotValue("UNIT"));
    relation->SetSlotValue("S_ZRB_CHANGED_POS", "1");
  }
  return 1;
}

int ZRBStructureFileUpdate::UpdateSZRBCopyPasted(ZRBObjectManager& structure, const ZRBObject* parent,
                                                 const ZRBObject& node) {
  // A relation the PDM did not confirm is not in the PDM: the file must not show it either.
  if (!Yes(node, "INSTANTIATE_SUCCESS") && !Yes(node, "CREATE_PART_SUCCESS")) return 1;
  ZRBObject* item = FindItem(structure, node.GetSlotValue("OBID"));
  if (!item) {
    Message(Yes(node, "CREATE_MODEL_RELATION_ONLY") ? "ErrorCopyCreModel" : "ErrorCopyCreProd",
            node.GetSlotValue("OBID"));
    return 0;
  }
  ZRBObject* father = parent ? FindItem(structure, parent->GetSlotValue("OBID")) : nullptr;
  if (!father) {
    Message("FatherMissing", node.GetSlotValue("INSTANCENAME"));
    return 0;
  }
  const CADString relObid = node.GetSlotValue("DOCREL_ID");
  // The same answer merged twice finds its relation and adds no second one.
  if (!relObid.IsEmpty() && structure.GetObjectByAttrValue("REL_OBID", relObid)) return 1;
  ZRBObject* relation = CreateChild(structure, *father, "RELATION");
  if (!relation) {
    Message("ErrorCopyRel", node.GetSlotValue("INSTANCENAME"));
    return 0;
  }
  relation->SetSlotValue("ASS_ITEM_ID", item->GetKey());
  relation->SetSlotValue("INSTANCE_NAME", node.GetSlotValue("INSTANCENAME"));
  for (const char* slot : {"MATRIX", "UNIT"})
    if (!node.GetSlotValue(slot).IsEmpty()) relation->SetSlotValue(slot, node.GetSlotValue(slot));
  if (!relObid.IsEmpty()) {
    relation->SetSlotValue("REL_OBID", relObid);
  } else if (standIn_) {
    const CADString relationIdentity(PlaceholderPrefix() + relation->GetKey().str());
    relation->SetSlotValue("REL_OBID", relationIdentity);
    if (ZRBObject* answered = Answered(node)) answered->SetSlotValue("DOCREL_ID", relationIdentity);
  }
  relation->SetSlotValue("CREATE_NEW_RELATION", "2");
  father->SlotAppend("SUBASSRELATIONS", relation->GetKey());
  return 1;
}

int ZRBStructureFileUpdate::DeleteObjectsEZRB(ZRBObjectManager& structure, const ZRBObject& removed) {
  if (!Yes(removed, "REMOVE_SUCCESS")) return 1;  // the PDM kept them: so does the file
  const CADListValCADString parents = removed.GetSlotValueList("PARENT_OBID");
  ZRBObject* father = parents.Size() > 0 ? FindItem(structure, parents[1]) : nullptr;
  if (!father) {
    Message("FatherNotExisting", parents.Size() > 0 ? parents[1] : CADString());
    return 0;
  }
  const CADListValCADString relations = removed.GetSlotValueList("REL_OBID");
  const CADListValCADString instances = removed.GetSlotValueList("INSTANCENAME");
  CADListValCADString kept;
  for (const CADString& key : father->GetSlotValueList("SUBASSRELATIONS")) {
    ZRBObject* relation = structure.GetObject(key);
    bool gone = false;
    for (int i = 1; relation && i <= relations.Size() + instances.Size() && !gone; ++i) {
      gone = i <= relations.Size() ? !relations[i].IsEmpty() && relation->GetSlotValue("REL_OBID") == relations[i]
                                   : relation->GetSlotValue("INSTANCE_NAME") == instances[i - relations.Size()];
    }
    if (!gone) {
      kept.Append(key);
      continue;
    }
    relation->SetSlotValue("REMOVE_REL_IN_PDM", "1");
    father->SlotAppend("REMOVED_SUBASSEMBLIES", key);
  }
  father->SetSlotValueList("SUBASSRELATIONS", kept);
  return 1;
}
