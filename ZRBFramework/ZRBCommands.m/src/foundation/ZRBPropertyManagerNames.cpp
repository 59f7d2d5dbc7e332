#include "ZRBPropertyManagerNames.h"

#include "ZRBTrace.h"

ZRBPropertyManagerNames::ZRBPropertyManagerNames()
    : global_{"ZRB_PRODUCT_SUPPORT", "ZRB_MESSAGE_PREFIX", "ZRB_CONNECTION_CMD"},
      instance_{"ZRB_INSTANCE_IN_ZRB",  "ZRB_DOCREL_DESC",    "ZRB_FORMER_INSTANCENAME",  "ZRB_MATRIX_INDEX",
                "ZRB_ORIG_MATRIX",      "ZRB_RELATION",       "ZRB_TRAFO_ACCUMULATE_SET", "S_ZRB_CHANGED_POS",
                "ZRB_EMBEDDED_CHANGED", "ZRB_REMOVED_IN_PDM", "ZRB_KEEP_AS_NEW",          "ZRB_TRAFO_ACCUMULATE_TMP",
                "ZRB_CUSTOM_ATTRS",     "ZRB_CUSTOM_VALS",    "ZRB_REPLACED_COMPONENT",   "ZRB_REL_DB_NAME",
                "ZRB_IS_PROCESS_ROOT"},
      reference_{"ZRB_OBID",
                 "ZRB_CHANGEABLE",
                 "ZRB_CLASSNAME",
                 "ZRB_DEFAULT_UNIT",
                 "ZRB_DESCRIPTION",
                 "ZRB_DEFINITION",
                 "ZRB_DOC_OBID",
                 "ZRB_IS_STD_PART",
                 "ZRB_ISCOMPONENT",
                 "ZRB_COMP_STRUCT_CHANGE",
                 "ZRB_NOMENCLATURE",
                 "ZRB_ORIGLOADCHILD_CLASSES",
                 "ZRB_ORIGLOADCHILD_INSTANCES",
                 "ZRB_ORIGLOADCHILD_INST_INDEX",
                 "ZRB_ORIGLOADCHILD_OBIDS",
                 "ZRB_ORIGLOADCHILD_PARTNUMBERS",
                 "ZRB_ORIGLOADCHILD_PRODTYPES",
                 "ZRB_ORIGLOADCHILD_RELS",
                 "ZRB_ORIGLOADCHILD_REL_DB_NAMES",
                 "ZRB_ORIGLOADCHILD_DB_NAMES",
                 "ZRB_ORIGLOADCHILD_INSTANCES_IN_ZRB",
                 "ZRB_PRODUCT_CHANGEABLE",
                 "ZRB_PRODUCT_CLASSNAME",
                 "ZRB_PRODUCT_OBID",
                 "ZRB_REVISION",
                 "ZRB_RULE_FAILED",
                 "ZRB_USE_EMBEDDED_PRODUCT",
                 "ZRB_VISPATH",
                 "ZRB_WBSESSOBID",
                 "sZRB_XMAP",
                 "ZRB_CREATE_PRD_REL",
                 "ZRB_CUSTOM_ATTRS",
                 "ZRB_CUSTOM_VALS",
                 "ZRB_ADD_TEMP",
                 "ZRB_TEMPL_PRODUCT",
                 "ZRB_REAL_PARENT_PATH",
                 "ZRB_MULTI_EMBEDDED",
                 "ZRB_NODE_NEEDS_CONFIGURABLE_BEHAVIOR",
                 "ZRB_CONFIGURABLE_BEHAVIOR",
                 "ZRB_CONFIGURABLE_BEHAVIOR_PREFIX",
                 "ZRB_IGNORE_CHILD_WITH_PARTNUMBER",
                 "ZRB_SAVE",
                 "ZRB_DB_NAME",
                 "ZRB_PRODUCT_DB_NAME",
                 "ZRB_PART_CGY_FOR_VALIDATE",
                 "ZRB_FIRST_PARENT_PARTNUMBER",
                 "ZRB_EXTERNAL_LOCATION",
                 "ZRB_SYNC_CHILD_ADDED_IN",
                 "ZRB_SYNC_CHILD_ADDED_PN",
                 "ZRB_SYNC_CHILD_REMOVED_IN",
                 "ZRB_SYNC_CHILD_REMOVED_PN",
                 "ZRB_SYNC_SKIP_PRD_UPDATE",
                 "ZRB_REPRESENTATION_DIRTY",
                 "ZRB_USED_FROM_PDM",
                 "ZRB_ROOT_USED_FROM_PDM",
                 "ZRB_PRODUCT_IGNORE_AT_UPDATE",
                 "ZRB_PART_TYPE_FOR_SYNC",
                 "ZRB_PART_PRODUCT_TYPE_FOR_SYNC",
                 "ZRB_CREATECOMPONENT",
                 "ZRB_IS_VISUALIZATION",
                 "ZRB_SET_VISU_MODEL_TYPE",
                 "ZRB_IS_SENDING_PRODUCT",
                 "ZRB_SENDING_OBJECT",
                 "ZRB_CONTENT_IN_ARC",
                 "ZRB_DESIGNTABLES",
                 "ZRB_P_OBID",
                 "ZRB_P_DB_NAME",
                 "ZRB_P_CLASSNAME",
                 "ZRB_SYNC_DROP_TAB",
                 "ZRB_SYNC_ADD_TAB",
                 "ZRB_RESTORE_REMOVED_INSTANCES",
                 "ZRB_RESTORE_REMOVED_INST_INDEX",
                 "ZRB_RESTORE_REMOVED_OBIDS",
                 "ZRB_RESTORE_REMOVED_CLASSES",
                 "ZRB_RESTORE_REMOVED_RELS",
                 "ZRB_RESTORE_REMOVED_PARTNUMBERS",
                 "ZRB_RESTORE_REMOVED_PRODTYPES",
                 "ZRB_RESTORE_REMOVED_DB_NAMES",
                 "ZRB_RESTORE_REMOVED_REL_DB_NAMES",
                 "ZRB_RESTORE_REMOVED_INSTANCES_IN_ZRB",
                 "ZRB_REPRESENTATIONPATH",
                 "ZRB_VISREALMODELPATH",
                 "ZRB_ORIGINAL_PN_ZRB_WB"},
      file_{"ZRB_OBID",
            "ZRB_DB_NAME",
            "ZRB_CHANGEABLE",
            "ZRB_CLASSNAME",
            "ZRB_REVISION",
            "ZRB_DESCRIPTION",
            "ZRB_DEFINITION",
            "ZRB_NOMENCLATURE",
            "sZRB_XMAP",
            "ZRB_ADD_TEMP",
            "ZRB_LAST_KNOWN_MOD_TIME",
            "ZRB_VIS_LOCATION",
            "SAM_ORIG_LOCATION",
            "ZRB_ARCHIVE_OBID",
            "ZRB_ARCHIVE_FILE",
            "ZRB_ARCHIVE_CHANGEABLE",
            "ZRB_ARCHIVE_CLASSNAME",
            "ZRB_ARCHIVE_CONTENT",
            "ZRB_ARCHIVE_CONTENT_FILE_NAME",
            "ZRB_ARCHIVE_ROOT_PN",
            "ZRB_ARCHIVE_ROOT_FN",
            "ZRB_ARCHIVE_REVISION",
            "ZRB_ARCHIVE_NOMENCLATURE",
            "ZRB_ARCHIVE_DEFINITION",
            "ZRB_ARCHIVE_DESCRIPTION",
            "ZRB_ARCHIVE_DB_NAME",
            "ZRB_ARCHIVE_ORIG_PART_NUMBER",
            "ZRB_ARCHIVE_IS_STAND_ALONE",
            "ZRB_PROCESS_OBID",
            "ZRB_PROCESS_CHANGEABLE",
            "ZRB_PROCESS_CLASSNAME",
            "ZRB_PROCESS_REVISION",
            "ZRB_PROCESS_DB_NAME",
            "ZRB_PARTNUMBER",
            "ZRB_ISCOMPONENT",
            "ZRB_IS_STD_PART",
            "ZRB_PRODUCT_CHANGEABLE",
            "ZRB_PRODUCT_OBID",
            "ZRB_PRODUCT_DB_NAME",
            "ZRB_PRODUCT_CLASSNAME",
            "ZRB_QCKFILE_UPTODATE",
            "ZRB_SENDING_OBJECT",
            "ZRB_DO_NOT_OPTIMIZE",
            "ZRB_DESIGNTABLES",
            "ZRB_FIRST_PARENT_PARTNUMBER",
            "ZRB_P_OBID",
            "ZRB_P_DB_NAME",
            "ZRB_P_CLASSNAME",
            "ZRB_SYNC_SKIP_TAB_UPDATE",
            "ZRB_CONTENT_IN_ARC",
            "ZRB_TABLE_CREATED",
            "ZRB_TYPE",
            "ZRB_LINK"},
      pathToRoot_{"ZRB_SET_NOSHOW",
                  "ZRB_FROMWB",
                  "ZRB_SAVE",
                  "ZRB_UPDATE_NEW_PART",
                  "ZRB_UPDATE_NEW_PRODUCT",
                  "ZRB_PRIVATE_PRD_UPDATE_ID",
                  "ZRB_PRIVATE_UPDATE_ID",
                  "ZRB_PRIVATE_REMOVE_SUBASS_ID"} {}

const CADListValCADUnicodeString& ZRBPropertyManagerNames::Names(Kind kind) const {
  switch (kind) {
    case Kind::Global:
      return global_;
    case Kind::Instance:
      return instance_;
    case Kind::Reference:
      return reference_;
    case Kind::File:
      return file_;
    case Kind::PathToRoot:
      break;
  }
  return pathToRoot_;
}

bool ZRBPropertyManagerNames::IsConfigured(Kind kind, const CADUnicodeString& name) const {
  return Names(kind).Locate(name) != 0;
}

void ZRBPropertyManagerNames::Check(Kind kind, const char* verb, const CADUnicodeString& name) const {
  // The list scan is paid only while the trace is on.
  if (ZRBTrace::IsOn() && !IsConfigured(kind, name))
    ZRB_DEBUG("%s %s Property '%s' not configured!", verb, KindName(kind), name.c_str());
}

const char* ZRBPropertyManagerNames::KindName(Kind kind) {
  switch (kind) {
    case Kind::Global:
      return "Global";
    case Kind::Instance:
      return "Instance";
    case Kind::Reference:
      return "Reference";
    case Kind::File:
      return "File";
    case Kind::PathToRoot:
      break;
  }
  return "PathToRoot";
}
