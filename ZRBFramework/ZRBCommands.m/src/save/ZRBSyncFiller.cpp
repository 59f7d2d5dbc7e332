#include "ZRBSyncFiller.h"

#include <vector>

#include "ZRBAfxBase.h"
#include "ZRBCommandStates.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBDesignTable.h"
#include "ZRBFileUtil.h"
#include "ZRBInfoUtil.h"
#include "ZRBListText.h"
#include "ZRBPSNTreeUtil.h"
#include "ZRBPropertyManager.h"
#include "ZRBSyncJobList.h"
#include "ZRBSyncRules.h"
#include "ZRBTrace.h"

namespace {

CADUnicodeString Ref(const CADIProduct_var& product, const char* name) {
  return GlobPropertyManager.GetReferenceProperty(product, name);
}
void SetRef(const CADIProduct_var& product, const char* name, const CADUnicodeString& value) {
  GlobPropertyManager.SetReferenceProperty(product, name, value);
}
bool IsOn(const char* setting) { return g_ZRBConfig.CompareEnvVar(setting, "ON", 1) == 1; }

bool IsPartType(const CADUnicodeString& type) { return type == "CADPart" || type == "model" || type == "vis"; }

ZRBPartType PartTypeOf(const CADUnicodeString& text) {
  if (text == "BOM") return ZRBPartType::Bom;
  if (text == "NOBOM" || text == "NOT_BOM") return ZRBPartType::NoBom;
  return ZRBPartType::NotSet;
}

}  // namespace

void ZRBSyncFiller::Fill(const CADIProduct_var& root) {
  ZRB_TRACE("ZRBSyncFiller::Fill");
  if (!root) return;
  // Asked once: the PDM's answer holds for the whole filling.
  tables_ = ZRBInfoUtil::WorkWithDesignTables() != 0;
  FillNode(root, ZRBPSNTreeUtil::GetFatherProduct(root), false);
  ZRB_TRACE_OK();
}

bool ZRBSyncFiller::FillNode(const CADIProduct_var& node, const CADIProduct_var& father, bool parentFailed) {
  const CADUnicodeString behavior = Ref(node, "ZRB_CONFIGURABLE_BEHAVIOR");
  bool skipNode = false;
  if (behavior == "IgnoreNode") {
    ZRB_DEBUG("-> ignore node");
    return false;
  }
  if (behavior == "IgnoreNodeAndWarn") {
    jobs_.AddTrace(CADUnicodeString("-> warn: ") + node->GetPartNumber());
    return false;
  }
  if (behavior == "SkipNode") {
    ZRB_DEBUG("-> skip node");
    skipNode = true;
  }
  if (!Ref(node, "ZRB_ADD_TEMP").IsEmpty()) {
    ZRB_DEBUG("Ignoring temporary Item");
    return false;
  }
  // Recorded under its father at load time but not brought by the PDM: it came with another structure, which
  // owns it and everything below it.
  if (father && ZRBCommandStates::isChildOrigLoadChild(father.get(), node.get()) &&
      !ZRBInfoUtil::WasLoadedFromPdm(node.get())) {
    ZRB_DEBUG("Found Origload, Ignoring item and children ...");
    return false;
  }
  const bool workbench = ZRBCommandStates::IsWorkbenchProduct(node) != 0;
  const bool archiveRoot = GlobPropertyManager.IsArchiveRoot(node) != 0;
  int state = 0;
  if (!workbench) states_.GetProductState(node, state);

  CADUnicodeString failure;
  if (!skipNode && !workbench) {
    std::string_view key = ZRBSyncRules::Check(node, father, state, parentFailed, command_);
    if (key.empty()) key = ZRBSyncRules::CheckStdCmpNode(node, father);
    if (!key.empty()) failure = ZRBSyncRules::Reason(key);
  }
  const bool standardPart = (state & PS_STD_PART) || Ref(node, "ZRB_IS_STD_PART") == "1";

  // Children first: a parent's row links children that must exist in the PDM by then.
  bool childFailed = false;
  if (!archiveRoot && !standardPart) {
    for (const CADBaseUnknown_var& item : node->GetChildren()) {
      CADIProduct_var child(item);
      if (!child || ZRBCommandStates::IsWorkbenchProduct(child)) continue;
      if (workbench && !ZRBPSNTreeUtil::WasLoadedFromPdm(child)) {
        CADUnicodeString parameter = child->GetPartNumber();
        jobs_.AddTrace(ZRBAfxBase::BuildMessage("ZRBUpdateCmd", "ZRBUpdateCmd.IgnoreNonZRB", &parameter, 1));
        ++ignored_;
        continue;
      }
      if (FillNode(child, node, parentFailed || !failure.IsEmpty())) childFailed = true;
    }
  }
  // A table's row follows its node's: a new part must exist in the PDM before a table can hang on it.
  std::vector<ZRBSyncJob> tableRows;
  if (!workbench && !archiveRoot && !standardPart && !skipNode && tables_ &&
      TableRows(node, parentFailed || !failure.IsEmpty(), tableRows))
    childFailed = true;
  const auto addTableRows = [&] {
    for (ZRBSyncJob& job : tableRows) jobs_.Add(std::move(job));
  };
  if (childFailed && failure.IsEmpty() && !workbench) failure = ZRBSyncRules::Reason("ErrChildFailedRule");
  if (!failure.IsEmpty()) SetRef(node, "ZRB_RULE_FAILED", failure);

  if (workbench || skipNode || standardPart || Ref(node, "ZRB_ROOT_USED_FROM_PDM") == "1") {
    addTableRows();
    return childFailed;
  }
  const CADUnicodeString type = archiveRoot ? CADUnicodeString("ZRBArchive") : GlobPropertyManager.GetProductType(node);
  if (failure.IsEmpty() && !NeedsRow(node, type, state)) {
    addTableRows();
    return false;
  }
  AddRow(node, father, state, failure);
  addTableRows();
  return !failure.IsEmpty();
}

bool ZRBSyncFiller::NeedsRow(const CADIProduct_var& node, const CADUnicodeString& type, int state) const {
  static_cast<void>(node);
  if (use_ || state == PS_NEW) return true;
  const int bits = type == "CADProduct" ? (PS_CHILD_MATRIX_CHANGED | PS_DIRTY | PS_CHILD_ADDED | PS_CHILD_REMOVED)
                                        : (PS_DIRTY | PS_CADPART_DOC_NEEDED | PS_CHILD_ADDED | PS_CHILD_REMOVED);
  return (state & bits) != 0;
}

void ZRBSyncFiller::AddRow(const CADIProduct_var& node, const CADIProduct_var& father, int state,
                           const CADUnicodeString& failure) {
  static_cast<void>(father);
  const bool archiveRoot = GlobPropertyManager.IsArchiveRoot(node) != 0;
  const CADUnicodeString type = archiveRoot ? CADUnicodeString("ZRBArchive") : GlobPropertyManager.GetProductType(node);
  int component = 0;
  ZRBInfoUtil::IsCadComponent(node, &component);
  const bool isComponent = component || Ref(node, "ZRB_ISCOMPONENT") == "1";

  ZRBSyncJob job;
  job.product = node;
  job.name = node->GetPartNumber();
  job.kind = isComponent ? CADUnicodeString("Component") : type;
  job.ruleFailure = failure;
  const bool partLike = !(type == "CADProduct");
  if (partLike && (state & PS_ZRB) && (state & PS_NEW) && (state & PS_CADPART_DOC_NEEDED))
    job.operation = ZRBSyncMainOp::CreateDoc;
  else if (use_)
    job.operation = ZRBSyncMainOp::Use;
  else if (state == PS_NEW || state == (PS_NEW | PS_CHILD_ADDED))
    job.operation = ZRBSyncMainOp::Create;
  else if (state & PS_ZRB)
    job.operation = ZRBSyncMainOp::Update;

  if (state & PS_CHILD_REMOVED) {
    job.dropChildren = true;
    int count = 0;
    states_.CheckForDeletedProductsAtNode(node.get(), count, &job.removedPartNumbers, &job.removedInstances);
    SetRef(node, "ZRB_SYNC_CHILD_REMOVED_IN", ZRBListText::Join(job.removedInstances));
    SetRef(node, "ZRB_SYNC_CHILD_REMOVED_PN", ZRBListText::Join(job.removedPartNumbers));
  }
  if (state & PS_CHILD_ADDED) {
    job.addChildren = true;
    int added = 0;
    states_.CheckForAddedProductsAtNode(node, added, &job.addedInstances, &job.addedPartNumbers);
    SetRef(node, "ZRB_SYNC_CHILD_ADDED_IN", ZRBListText::Join(job.addedInstances));
    SetRef(node, "ZRB_SYNC_CHILD_ADDED_PN", ZRBListText::Join(job.addedPartNumbers));
  }

  const bool newItem = (state & PS_NEW) && !(state & PS_ZRB);
  if (newItem && IsOn("ZRB_ENABLE_VALIDATE_BEFORE_UPD") && (type == "CADProduct" || IsPartType(type))) {
    CADUnicodeString category = Ref(node, "ZRB_PART_CGY_FOR_VALIDATE");
    if (category.IsEmpty()) {
      g_ZRBConfig.GetDefaultPartCategory(category);
      if (!category.IsEmpty()) SetRef(node, "ZRB_PART_CGY_FOR_VALIDATE", category);
    }
    job.partCategory = category;
  }
  if (newItem && IsPartType(type) && !ZRBInfoUtil::IsCmponentDataModelMode()) {
    if (isComponent) {
      ZRB_DEBUG("Found Component, add component type");
    } else {
      CADUnicodeString chosen = Ref(node, "ZRB_PART_TYPE_FOR_SYNC");
      if (chosen.IsEmpty()) {
        const char* fallback = g_ZRBConfig.GetEnvVar("ZRB_BOM_PART_DEFAULT_FOR_SYNC", 1);
        chosen = (fallback && *fallback) ? CADUnicodeString(fallback) : CADUnicodeString("NOT_SET");
        SetRef(node, "ZRB_PART_TYPE_FOR_SYNC", chosen);
      }
      job.partType = PartTypeOf(chosen);
      job.editable = true;
      SetRef(node, "ZRB_PART_PRODUCT_TYPE_FOR_SYNC", chosen);
      SetRef(node, "ZRB_CREATECOMPONENT", job.partType == ZRBPartType::Bom ? "1" : "0");
    }
  }
  jobs_.Add(std::move(job));
}

bool ZRBSyncFiller::TableRows(const CADIProduct_var& node, bool parentFailed, std::vector<ZRBSyncJob>& rows) {
  // A part used several times has its tables once: every use shares its reference.
  const CADIProduct_var reference = node->GetReferenceProduct();
  for (const CADIProduct_var& done : tableReferences_)
    if (done.get() == reference.get()) return false;
  tableReferences_.push_back(reference);
  CADRawCollPV* tables = ZRBDesignTable::GetTables(node, 0);
  if (!tables) return false;
  const CADUnicodeString knownText = Ref(node, "ZRB_DESIGNTABLES");
  CADListValCADUnicodeString known;
  for (const CADUnicodeString& item : ZRBListText::Split(knownText.view()))
    known.Append(ZRBFileUtil::GetFileNameFromPath(item));
  int component = 0;
  ZRBInfoUtil::IsCadComponent(node, &component);
  const bool atComponent = component || Ref(node, "ZRB_ISCOMPONENT") == "1";
  CADListValCADUnicodeString present, added, dropped;
  bool failed = false;
  const auto addRow = [&](const CADUnicodeString& name, ZRBSyncMainOp operation, std::string_view rule,
                          bool drop = false) {
    ZRBSyncJob job;
    job.dropChildren = drop;
    job.object = ZRBSyncObject::DesignTable;
    job.product = node;
    job.name = name;
    job.kind = "DesignTable";
    job.operation = operation;
    if (rule.empty() && atComponent) rule = "ErrTableAtComponent";
    if (rule.empty() && parentFailed) rule = "ErrParentFailedRule";
    if (!rule.empty()) {
      job.ruleFailure = ZRBSyncRules::Reason(rule);
      failed = true;
    }
    rows.push_back(std::move(job));
  };
  for (int i = 1; i <= tables->Size(); ++i) {
    auto* table = static_cast<ZRBDesignTable*>((*tables)[i]);
    CADUnicodeString path;
    if (!table || FAILED(table->GetFullPath(path))) continue;
    const CADUnicodeString name = ZRBFileUtil::GetFileNameFromPath(path);
    present.Append(name);
    unsigned char exists = 0;
    const bool missing = FAILED(table->FileExists(&exists)) || !exists;
    // Compared as a list item: a table "a.xls" is not known because "aa.xls" is.
    const bool isKnown = known.Locate(name) != 0;
    if (missing) {
      // A known part may keep a table whose sheet is elsewhere, when the site says so.
      if (isKnown && IsOn("ZRB_IGNORE_BROKEN_DT_FOR_KNOWN_DOC")) continue;
      if (IsOn("ZRB_CHECK_BROKEN_DT"))
        addRow(name, isKnown ? ZRBSyncMainOp::Update : ZRBSyncMainOp::Create, "ErrTableNoFile");
      continue;
    }
    if (!isKnown) {
      added.Append(name);
      addRow(name, ZRBSyncMainOp::Create, {});
      continue;
    }
    int state = 0;
    table->GetState(state);
    // Only a table whose PDM identity the session holds can be updated there.
    if ((state & ZRBDesignTable::kStateKnownToPdm) && (state & ZRBDesignTable::kStateDirty) &&
        !(GlobPropertyManager.GetFileProperty(path, "ZRB_CHANGEABLE") == "0") &&
        !(GlobPropertyManager.GetFileProperty(path, "ZRB_SYNC_SKIP_TAB_UPDATE") == "1"))
      addRow(name, ZRBSyncMainOp::Update, {});
  }
  ZRBDesignTable::DestroyList(tables);
  for (const CADUnicodeString& name : known) {
    if (present.Locate(name)) continue;
    dropped.Append(name);
    addRow(name, ZRBSyncMainOp::Update, {}, true);
  }
  SetRef(node, "ZRB_SYNC_ADD_TAB", ZRBListText::Join(added));
  SetRef(node, "ZRB_SYNC_DROP_TAB", ZRBListText::Join(dropped));
  return failed;
}
