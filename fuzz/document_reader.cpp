// Fuzz target for the host's document file reader: the files come from the
// PDM, so any bytes must give a clean refusal or an image that writes back
// and reads again to the same image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "CADDocumentReader.h"
#include "CADDocumentWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const kTypes[] = {"CADProduct",  "CADPart", "CADDrawing", "CADProcess",
                                       "CADAnalysis", "vis",     "model"};
  if (size == 0) return 0;
  // The first byte picks the type the file's extension would give.
  const CADUnicodeString type(kTypes[data[0] % (sizeof kTypes / sizeof kTypes[0])]);
  std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  CADDocumentImage image;
  CADUnicodeString error;
  if (FAILED(CADDocumentReader::Read(text, type, false, image, error))) {
    if (error.IsEmpty()) std::abort();  // every refusal says why
    return 0;
  }
  CADUuid head;
  const bool stored = SUCCEEDED(CADDocumentReader::ReadIdentifier(text, head));
  // The head agrees with the whole (foreign bytes kept as they are hold no identifier of their own).
  if (!image.opaque && (stored != !image.identifier.IsNull() || !(head == image.identifier))) std::abort();
  CADDocumentImage again;
  if (FAILED(CADDocumentReader::Read(CADDocumentWriter::Write(image), type, false, again, error)) || !(again == image))
    std::abort();
  return 0;
}
