#include "DocumentImporter.h"

#include <ostream>

#include "PdmError.h"

namespace pdmsim {

void DocumentImporter::Import(const std::string& path) {
    throw PdmError("importing " + path + ": host documents cannot be imported yet; use pdmsim vault add-item");
}

void DocumentImporter::PrintSummary() { out_ << "imported " << items_ << " item(s)\n"; }

}  // namespace pdmsim
