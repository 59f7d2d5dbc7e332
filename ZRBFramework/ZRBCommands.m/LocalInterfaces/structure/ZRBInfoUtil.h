// Information utilities of the PDM: whether a node came from the PDM, what kind of node it is, and the
// settings the PDM imposes, asked once and kept for the session.
#pragma once

#include "CADIProduct.h"
#include "CADListVal.h"
#include "CADString.h"
#include "CADUnicodeString.h"

// User-interface thread only.
class ZRBInfoUtil {
 public:
  // --- where a node came from
  // *out 1 when the node came from the PDM: under a father that is not the workbench, its instance is marked
  // "ZRB_INSTANCE_IN_ZRB" (and the file or part number is still the one loaded); else its reference carries
  // "ZRB_OBID" (archive content always); failing both, it is a sending object.
  static HRESULT WasLoadedFromPdm(const CADIProduct_var& product, int* out);
  static int WasLoadedFromPdm(CADIProduct* product);
  // 1 when the file property "ZRB_OBID" is set for that path.
  static int WasLoadedFromPdm(const CADUnicodeString& path);
  // 1 when the reference carries "ZRB_OBID".
  static int IsRefProductFromZRB(CADIProduct* product);
  // 1 for a node from the PDM that is top-level, under the workbench, or whose instance is in the PDM.
  static int IsProductInstanceFromZRB(CADIProduct* product);

  // --- kinds of node
  static HRESULT IsBlackBoxNode(CADIProduct_var& product, int* out);
  // *out 1 when the reference has no "Default" representation or that one is neither a part nor a model.
  static HRESULT IsCADProduct(CADIProduct_var& product, int* out);
  // *out 1 when the "Default" representation is a "model" document.
  static HRESULT IsLegacyModel(CADIProduct_var& product, int* out);
  // *out 1 when the reference lives in another reference's document (a component). E_FAIL for a null node.
  static HRESULT IsCadComponent(const CADIProduct_var& product, int* out);
  // The representation formats of "ZRB_REP_FORMATS" (none while it is unset).
  static int IsRepresentation(const CADUnicodeString& type);
  static int HasRepresentationExtension(const CADUnicodeString& path);

  // --- the PDM's settings, asked through "x3GetPDMSettings" while a value is still empty
  static int GetSettingsFromPDMSystem();
  static int SetUseDesigTables(const int flag);
  // "ON", "OFF", or "" while the PDM has not said.
  static const CADString& GetUseDesignTables();
  static int WorkWithDesignTables();
  static int IsCADProductSupportOn();
  static int IsCmponentDataModelMode();
  // "CMPONENT_DATA_MODEL" or "LEGACY_DATA_MODEL"; "" while nothing told it.
  static void SetDataModelValue(const CADString& value);
  static const CADString& GetDataModelValue();
  // A failed query is not repeated until the next command starts (a save asks for every node).
  static void StartOfCommand();

  // --- flags of the update and create commands
  static void SetEZRBUpdateCreateFlag(int flag);
  static int IsEzrbUpdateCreate();
  static void SetEZRBUpdateFlag(int flag);
  static int IsEzrbUpdate();

  // --- the info dialog's helpers
  // Asks the PDM ("x3GetCustomAttrsCad" on "infofile.zrb") for the custom attributes of one object; 1 with the
  // names and values. Both OBIDs empty shows "ZRBAfx.NoAttributesFound" and asks nothing.
  static int GetCustomPropertiesForDialog(const CADString& cadClass, const CADString& partObid,
                                          const CADString& fileObid, const CADString& partPartRelObid,
                                          const CADString& partModelRelObid, CADListValCADString& names,
                                          CADListValCADString& values);
  // daylight 1 while the local clock keeps daylight-saving time; format the "CADCache" setting "TSFMT" (0 when
  // it cannot be read).
  static HRESULT GetTimeSettings(int& daylight, int& format);

  // Entries equal to `item`; 0 when `enabled` is 0.
  static int GetNumberOfOccurrencesInList(const CADString& item, const CADListValCADString& list, int enabled);

  // Everything back to "" and 0 (tests, module unload).
  static void ResetForTests();
};
