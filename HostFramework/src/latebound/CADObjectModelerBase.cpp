// The object modeler's document services for callers that bind them at run
// time: document identifiers from a path, resetting broken links, and the
// identifiers of the link interfaces.
#include <sys/stat.h>

#include <array>
#include <cstdint>

#include "CADBaseUnknown.h"
#include "CADSystemServices.h"
#include "CADUnicodeString.h"
#include "CADUuid.h"

class CADDocument;

#define CAD_EXPORT __attribute__((visibility("default")))

CAD_EXPORT extern const CADIID IID_CADIPointedSymbols;
CAD_EXPORT extern const CADIID IID_CADIExternalLinks;
CAD_EXPORT extern const CADIID IID_CADIExternalLink;
const CADIID IID_CADIPointedSymbols{"IID_CADIPointedSymbols"};
const CADIID IID_CADIExternalLinks{"IID_CADIExternalLinks"};
const CADIID IID_CADIExternalLink{"IID_CADIExternalLink"};

namespace {

// The identifier of a document file. The host's documents carry no stored
// identifier, so it is derived from the file's real path: stable for a file
// at its place, different for files at different places (FNV-1a, two lanes,
// shaped as a name-based UUID).
HRESULT IdentifierOfFile(const CADUnicodeString& path, CADUuid& uuid) {
  uuid = CADUuid();
  CADUnicodeString real;
  if (FAILED(CADGetRealPath(path, real))) return E_FAIL;
  struct stat st {};
  if (::stat(real.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return E_FAIL;
  std::uint64_t lanes[2] = {0xcbf29ce484222325ULL, 0x84222325cbf29ce4ULL};
  for (int lane = 0; lane < 2; ++lane) {
    for (unsigned char c : real.view()) {
      lanes[lane] ^= static_cast<std::uint64_t>(c) + static_cast<std::uint64_t>(lane);
      lanes[lane] *= 0x100000001b3ULL;
    }
  }
  std::array<std::uint8_t, 16> bytes{};
  for (int i = 0; i < 16; ++i) bytes[static_cast<size_t>(i)] = static_cast<std::uint8_t>(lanes[i / 8] >> (8 * (i % 8)));
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x50);  // name-based
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
  uuid = CADUuid(bytes);
  return S_OK;
}

}  // namespace

// Links of this host are resolved when a document is opened; there is
// nothing left to reset, but a document is required.
CAD_EXPORT HRESULT CADResetDocumentBrokenLinks(CADDocument* document) { return document ? S_OK : E_FAIL; }

CAD_EXPORT HRESULT CADGetIdentifierFromPath(const CADUnicodeString& path, CADUuid& uuid) {
  return IdentifierOfFile(path, uuid);
}

// A document file of this host has one container, so its root container's
// identifier is the file's.
CAD_EXPORT HRESULT GetRootContainerUUIDFromPath(const CADUnicodeString& path, CADUuid& uuid) {
  return IdentifierOfFile(path, uuid);
}
