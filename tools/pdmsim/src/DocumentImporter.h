// Imports host documents into the vault: each document becomes an item with
// its document, and the structures a product references become relations.
#pragma once

#include <iosfwd>
#include <string>

#include "Vault.h"

namespace pdmsim {

class DocumentImporter {
public:
    DocumentImporter(Vault& vault, std::ostream& out) : vault_(vault), out_(out) {}
    void Import(const std::string& path);
    void PrintSummary();

private:
    Vault& vault_;
    std::ostream& out_;
    int items_ = 0;
};

}  // namespace pdmsim
