#include "ZRBSessionCommandTable.h"

void ZRBSessionCommandTable::Add(ZRBSessionCommand command) { commands_.push_back(std::move(command)); }

const ZRBSessionCommand* ZRBSessionCommandTable::Find(std::string_view name) const {
  for (const ZRBSessionCommand& command : commands_)
    if (command.name == name) return &command;
  return nullptr;
}

ZRBSessionCommandTable ZRBSessionCommandTable::Standard() {
  ZRBSessionCommandTable table;
  AddDocumentCommands(table);
  AddModuleCommands(table);
  AddViewCommands(table);
  AddStateCommands(table);
  AddSelectionCommands(table);
  AddGeometryCommands(table);
  return table;
}
