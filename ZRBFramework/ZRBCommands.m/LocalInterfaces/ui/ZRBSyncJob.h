// One row of the update/create job list: what the row is about, what it will do and what happened to it. The
// row decides by its enums; the texts a designer reads are rendered from them (ZRBSyncJobTexts), so a missing
// message catalog can blank a text but never change what runs.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADUnicodeString.h"

enum class ZRBSyncObject { Product, Drawing, DesignTable };
enum class ZRBSyncMainOp { None, Create, CreateDoc, Use, Update };
enum class ZRBSyncExecute { Yes, No, Skip };
enum class ZRBSyncResult {
  None,
  InProgress,
  Skipped,
  Failed,
  Succeeded,
  Canceled,
  Warning,
  DrawingNotSupported,
  FailedStructRules
};
enum class ZRBSyncMarker { None, Next, Done };
// The part (BOM) type of a new part; None for rows that have no part type.
enum class ZRBPartType { None, NotSet, Bom, NoBom };

struct ZRBSyncJob {
  ZRBSyncObject object = ZRBSyncObject::Product;
  // Counted handle: the row keeps its node alive when the document is closed; the operation then fails.
  CADIProduct_var product;
  CADUnicodeString name;  // part number, drawing path or table name, as it was when the row was added
  CADUnicodeString kind;  // "CADPart", "CADProduct", "Component", "DesignTable" ...
  ZRBSyncMainOp operation = ZRBSyncMainOp::None;
  bool dropChildren = false;
  bool addChildren = false;
  ZRBSyncExecute execute = ZRBSyncExecute::Yes;
  ZRBSyncResult result = ZRBSyncResult::None;
  ZRBSyncMarker marker = ZRBSyncMarker::None;
  ZRBPartType partType = ZRBPartType::None;
  bool editable = false;  // a new part whose type the designer may choose
  CADUnicodeString partCategory;
  CADUnicodeString ruleFailure;
  CADListValCADUnicodeString addedInstances, addedPartNumbers, removedInstances, removedPartNumbers;
  int traceStart = -1;  // first trace line of the row's last run
};

// The texts of a row's cells, from the catalog "ZRBUpdateCreateDialog".
class ZRBSyncJobTexts {
 public:
  static CADUnicodeString Marker(ZRBSyncMarker marker);
  static CADUnicodeString Execute(ZRBSyncExecute execute);
  static CADUnicodeString Result(ZRBSyncResult result);
  static CADUnicodeString PartType(ZRBPartType type);
  // Main operation, then each structural one after the separator.
  static CADUnicodeString Operation(const ZRBSyncJob& job);
  static CADUnicodeString Text(const char* key);
};
