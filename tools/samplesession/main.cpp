// Writes the sample session's documents into a directory; the bolt and the plate get their shapes from the
// STL files beside this source (an ASCII and a binary one), as a user would import them.
#include <cstdio>
#include <string>

#include "CADDocument.h"
#include "CADDocumentServices.h"
#include "CADSampleSession.h"
#include "CADStlReader.h"

namespace {

bool ImportShape(const std::string& directory, const char* document, const char* stl) {
  CADDocument* part = nullptr;
  CADGeometryBody body;
  CADUnicodeString error;
  const std::string stlPath = std::string(ZRB_SAMPLE_STL_DIR) + "/" + stl;
  if (FAILED(CADStlReader::ReadFile(stlPath.c_str(), body, error)) ||
      FAILED(CADDocumentServices::OpenDocument((directory + "/" + document).c_str(), part, 0))) {
    std::fprintf(stderr, "samplesession: %s\n",
                 error.IsEmpty() ? CADDocumentServices::GetLastError().c_str() : error.c_str());
    return false;
  }
  body.name = "PartBody";
  part->SetBodies({std::move(body)});
  return SUCCEEDED(CADDocumentServices::Save(part));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: samplesession <existing directory>\n");
    return 2;
  }
  CADUnicodeString error;
  if (FAILED(CADSampleSession::Write(argv[1], error))) {
    std::fprintf(stderr, "samplesession: %s\n", error.c_str());
    return 1;
  }
  if (!ImportShape(argv[1], CADSampleSession::kBolt, "Bolt.stl") ||
      !ImportShape(argv[1], CADSampleSession::kPlate, "Plate.stl"))
    return 1;
  for (const CADUnicodeString& name : CADSampleSession::FileNames()) std::printf("%s/%s\n", argv[1], name.c_str());
  return 0;
}
