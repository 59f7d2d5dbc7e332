#include "ZRBPdmAction.h"

#include <array>

#include "ZRBAfx.h"

namespace {

constexpr std::string_view kSession = "PdmSessn";

constexpr std::array kAllWords = {
    ZRBPdmAction::AddTempCad,
    ZRBPdmAction::CancelCadAddTemp,
    ZRBPdmAction::CreateCADPartFrFile,
    ZRBPdmAction::CreateCADDrawFrFile,
    ZRBPdmAction::CreateCadPrtDocFrFile,
    ZRBPdmAction::CreateCadDrwDocFrFile,
    ZRBPdmAction::CancelCreateForDoc,
    ZRBPdmAction::CreateCADLegacyFromFile,
    ZRBPdmAction::SaveAsCADPartFrFile,
    ZRBPdmAction::SaveAsCADDrawFrFile,
    ZRBPdmAction::SaveAsCADPartLegacyFrFl,
    ZRBPdmAction::CancelCadSaveAs,
    ZRBPdmAction::UpdateFromFile,
    ZRBPdmAction::ValidateCadNodes,
    ZRBPdmAction::ValidateArchive,
    ZRBPdmAction::UpdateWBFromFile,
    ZRBPdmAction::UsePdmStructure,
    ZRBPdmAction::CancelUsePdmStruct,
    ZRBPdmAction::WriteZRBFile,
    ZRBPdmAction::CopysZRBFiles,
    ZRBPdmAction::GetDependencyInfo,
    ZRBPdmAction::GetDependentFiles,
    ZRBPdmAction::GetOrigGeoForVis,
    ZRBPdmAction::HighlightInWB,
    ZRBPdmAction::AttachBlackBoxCmd,
    ZRBPdmAction::GetReferenceInfo,
    ZRBPdmAction::GetInstanceInfo,
    ZRBPdmAction::GetInfoForParts,
    ZRBPdmAction::GetPartAttributeApi,
    ZRBPdmAction::PutPartAttributeApi,
    ZRBPdmAction::StoreSupplyFile,
    ZRBPdmAction::GetBomTypes,
    ZRBPdmAction::GetPDMSettings,
    ZRBPdmAction::GetCustomAttrsCad,
    ZRBPdmAction::GetCatalogFile,
    ZRBPdmAction::CopyClgDataForCad,
    ZRBPdmAction::GetCatalogInfo,
    ZRBPdmAction::UpdCreCatalogFrFile,
    ZRBPdmAction::CreateArchiveFrFile,
    ZRBPdmAction::StartSam,
};

}  // namespace

std::span<const std::string_view> ZRBPdmAction::AllWords() { return kAllWords; }

CADUnicodeString ZRBPdmAction::Line(std::string_view word) {
  CADUnicodeString line(kSession);
  line += " ";
  line += word;
  return line;
}

CADUnicodeString ZRBPdmAction::Line(std::string_view word, const CADUnicodeString& path) {
  return Line(word) + " " + ZRBAfx::QuoteShellWord(path);
}

CADUnicodeString ZRBPdmAction::Line(std::string_view word, const CADUnicodeString& first,
                                    const CADUnicodeString& second) {
  return Line(word, first) + " " + ZRBAfx::QuoteShellWord(second);
}
