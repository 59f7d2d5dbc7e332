// The PDM session's action words and the argument lines that carry them to ConnectPdm: "PdmSessn", the word
// and the request files, each path one quoted shell word.
#pragma once

#include <span>
#include <string_view>

#include "CADUnicodeString.h"

class ZRBPdmAction {
 public:
  // --- the action words, by the commands that send them
  static constexpr std::string_view AddTempCad = "x3AddTempCad";
  static constexpr std::string_view CancelCadAddTemp = "x3CancelCadAddTemp";
  static constexpr std::string_view CreateCADPartFrFile = "x3CreateCADPartFrFile";
  static constexpr std::string_view CreateCADDrawFrFile = "x3CreateCADDrawFrFile";
  static constexpr std::string_view CreateCadPrtDocFrFile = "x3CreateCadPrtDocFrFile";
  static constexpr std::string_view CreateCadDrwDocFrFile = "x3CreateCadDrwDocFrFile";
  static constexpr std::string_view CancelCreateForDoc = "x3CancelCreateForDoc";
  static constexpr std::string_view CreateCADLegacyFromFile = "x3CreateCADLegacyFromFile";
  static constexpr std::string_view SaveAsCADPartFrFile = "x3SaveAsCADPartFrFile";
  static constexpr std::string_view SaveAsCADDrawFrFile = "x3SaveAsCADDrawFrFile";
  static constexpr std::string_view SaveAsCADPartLegacyFrFl = "x3SaveAsCADPartLegacyFrFl";
  static constexpr std::string_view CancelCadSaveAs = "x3CancelCadSaveAs";
  static constexpr std::string_view UpdateFromFile = "x3UpdateFromFile";
  static constexpr std::string_view ValidateCadNodes = "x3ValidateCadNodes";
  static constexpr std::string_view ValidateArchive = "x3ValidateArchive";
  static constexpr std::string_view UpdateWBFromFile = "x3UpdateWBFromFile";
  static constexpr std::string_view UsePdmStructure = "x3UsePdmStructure";
  static constexpr std::string_view CancelUsePdmStruct = "x3CancelUsePdmStruct";
  static constexpr std::string_view WriteZRBFile = "x3WriteZRBFile";
  static constexpr std::string_view CopysZRBFiles = "x3CopysZRBFiles";
  static constexpr std::string_view GetDependencyInfo = "x3GetDependencyInfo";
  static constexpr std::string_view GetDependentFiles = "x3GetDependentFiles";
  static constexpr std::string_view GetOrigGeoForVis = "x3GetOrigGeoForVis";
  static constexpr std::string_view HighlightInWB = "x3HighlightInWB";
  static constexpr std::string_view AttachBlackBoxCmd = "x3AttachBlackBoxCmd";
  static constexpr std::string_view GetReferenceInfo = "x3GetReferenceInfo";
  static constexpr std::string_view GetInstanceInfo = "x3GetInstanceInfo";
  static constexpr std::string_view GetInfoForParts = "x3GetInfoForParts";
  static constexpr std::string_view GetPartAttributeApi = "x3GetPartAttributeApi";
  static constexpr std::string_view PutPartAttributeApi = "x3PutPartAttributeApi";
  static constexpr std::string_view StoreSupplyFile = "x3StoreSupplyFile";
  static constexpr std::string_view GetBomTypes = "x3GetBomTypes";
  static constexpr std::string_view GetPDMSettings = "x3GetPDMSettings";
  static constexpr std::string_view GetCustomAttrsCad = "x3GetCustomAttrsCad";
  static constexpr std::string_view GetCatalogFile = "x3GetCatalogFile";
  static constexpr std::string_view CopyClgDataForCad = "x3CopyClgDataForCad";
  static constexpr std::string_view GetCatalogInfo = "x3GetCatalogInfo";
  static constexpr std::string_view UpdCreCatalogFrFile = "x3UpdCreCatalogFrFile";
  static constexpr std::string_view CreateArchiveFrFile = "x3CreateArchiveFrFile";
  // Passed as the whole argument, without "PdmSessn".
  static constexpr std::string_view StartSam = "StartSam";

  // Every word above, in that order.
  static std::span<const std::string_view> AllWords();

  // --- argument lines
  // "PdmSessn <word>"
  static CADUnicodeString Line(std::string_view word);
  // "PdmSessn <word> '<path>'"
  static CADUnicodeString Line(std::string_view word, const CADUnicodeString& path);
  // "PdmSessn <word> '<first>' '<second>'"
  static CADUnicodeString Line(std::string_view word, const CADUnicodeString& first, const CADUnicodeString& second);
};
