#include "CADSampleSession.h"

#include "CADDocumentFiles.h"
#include "CADDocumentImage.h"
#include "CADDocumentWriter.h"

namespace {

CADGeometryBody Box(const char* name, double dx, double dy, double dz) {
  CADGeometryBody body;
  body.name = name;
  for (int i = 0; i < 8; ++i) body.vertices.push_back({(i & 1) ? dx : 0.0, (i & 2) ? dy : 0.0, (i & 4) ? dz : 0.0});
  // Two triangles per face of the box.
  body.triangles = {{0, 1, 3}, {0, 3, 2}, {4, 6, 7}, {4, 7, 5}, {0, 4, 5}, {0, 5, 1},
                    {2, 3, 7}, {2, 7, 6}, {0, 2, 6}, {0, 6, 4}, {1, 5, 7}, {1, 7, 3}};
  return body;
}

CADInstanceImage Instance(const char* name, const char* target, const CADMathTransformation& position,
                          bool component = false) {
  CADInstanceImage inst;
  inst.name = name;
  inst.target = target;
  inst.position = position;
  inst.component = component;
  return inst;
}

CADDocumentImage Bolt() {
  CADDocumentImage image;
  image.type = "CADPart";
  image.hasRoot = true;
  image.root.partNumber = "Bolt";
  image.root.nomenclature = "Hex bolt M8";
  image.root.revision = "A";
  image.root.definition = "Fastener";
  image.root.description = "Hexagon head bolt M8 x 40";
  image.root.parameters.push_back({"Material", "String", "Steel"});
  image.bodies.push_back(Box("PartBody", 8, 8, 40));
  return image;
}

CADDocumentImage Plate(const CADUnicodeString& directory) {
  CADDocumentImage image;
  image.type = "CADPart";
  image.hasRoot = true;
  image.root.partNumber = "Plate";
  image.root.nomenclature = "Base plate";
  image.root.revision = "B";
  image.root.tables.push_back({"PlateSizes", "Sizes", true, directory + "/" + CADSampleSession::kSheet});
  image.bodies.push_back(Box("PartBody", 100, 50, 5));
  return image;
}

CADDocumentImage Bracket() {
  using T = CADMathTransformation;
  CADDocumentImage image;
  image.type = "CADProduct";
  image.hasRoot = true;
  image.root.partNumber = "Bracket";
  image.root.nomenclature = "Bracket assembly";
  image.root.instances = {
      Instance("Plate.1", CADSampleSession::kPlate, T()),
      Instance("Bolt.1", CADSampleSession::kBolt, T::Translation(10, 10, 5)),
      Instance("Bolt.2", CADSampleSession::kBolt, T::Translation(90, 40, 5) * T::Rotation(2, 90)),
  };
  return image;
}

CADDocumentImage Assembly() {
  using T = CADMathTransformation;
  CADDocumentImage image;
  image.type = "CADProduct";
  image.hasRoot = true;
  image.root.partNumber = "Assembly";
  image.root.nomenclature = "Sample assembly";
  image.root.revision = "1";
  image.root.instances = {
      Instance("Bracket.1", CADSampleSession::kBracket, T()),
      Instance("Bracket.2", CADSampleSession::kBracket, T::Translation(0, 300, 0) * T::Rotation(2, 180)),
      Instance("Fixings.1", "Fixings", T(), true),
  };
  CADReferenceImage fixings;
  fixings.partNumber = "Fixings";
  fixings.nomenclature = "Loose fixings";
  fixings.instances = {Instance("Bolt.1", CADSampleSession::kBolt, T::Translation(0, 0, -40))};
  image.components.push_back(fixings);
  return image;
}

CADDocumentImage Drawing() {
  CADDocumentImage image;
  image.type = "CADDrawing";
  image.name = "Plate drawing";
  image.comment = "Sample drawing";
  image.responsible = "Designer";
  image.parameters.push_back({"Title", "String", "Base plate"});
  image.sheets.push_back(
      {"Sheet.1", {{"Front view", CADSampleSession::kPlate}, {"Top view", CADSampleSession::kPlate}}});
  return image;
}

}  // namespace

HRESULT CADSampleSession::Write(const CADUnicodeString& directory, CADUnicodeString& error) {
  struct File {
    const char* name;
    std::string text;
  };
  const File files[] = {
      {kBolt, CADDocumentWriter::Write(Bolt())},       {kPlate, CADDocumentWriter::Write(Plate(directory))},
      {kBracket, CADDocumentWriter::Write(Bracket())}, {kAssembly, CADDocumentWriter::Write(Assembly())},
      {kDrawing, CADDocumentWriter::Write(Drawing())}, {kSheet, "Length;Width;Thickness\n100;50;5\n120;60;6\n"},
  };
  for (const File& f : files) {
    std::string why;
    if (!CADDocumentFiles::WriteAtomically(directory.str() + "/" + f.name, f.text, false, why)) {
      error = CADUnicodeString(why);
      return E_FAIL;
    }
  }
  error = CADUnicodeString();
  return S_OK;
}

CADListValCADUnicodeString CADSampleSession::FileNames() {
  return {kAssembly, kBracket, kBolt, kPlate, kDrawing, kSheet};
}
