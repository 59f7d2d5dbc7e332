// The process-wide values the earliest layers need before any product is
// touched: the global properties that select the PDM client, the temporary
// identifiers and the registry of the waiting two-step command.
#pragma once

#include <memory>

#include "CADUnicodeString.h"
#include "ZRBPropertyGlobal.h"
#include "ZRBPropertyManagerNames.h"
#include "ZRBRunningCommandRegistry.h"
#include "ZRBTempIdCounter.h"

// The process has one instance (Process()). The property manager forwards its
// global, temporary-identifier and registry operations to it, so these values
// exist before the property manager does and there is one truth.
// User-interface thread only.
class ZRBGlobalProperties {
 public:
  // --- lifecycle
  ZRBGlobalProperties() = default;
  ZRBGlobalProperties(const ZRBGlobalProperties&) = delete;
  ZRBGlobalProperties& operator=(const ZRBGlobalProperties&) = delete;
  // The process-wide instance, created on first use.
  static ZRBGlobalProperties& Process();
  // Back to the start state: no global record, counter 0, empty registry.
  void Reset();

  // --- global properties ("ZRB_PRODUCT_SUPPORT", "ZRB_MESSAGE_PREFIX",
  // "ZRB_CONNECTION_CMD" are configured; other names work but leave a debug
  // line)
  void SetGlobalProperty(const CADUnicodeString& name, const CADUnicodeString& value);
  // "" when the name is not set.
  CADUnicodeString GetGlobalProperty(const CADUnicodeString& name) const;
  // 1 when the name was set and is removed now, else 0.
  int DeleteGlobalProperty(const CADUnicodeString& name);
  int IsGlobalPropertySet(const CADUnicodeString& name) const;
  // The record as the property-manager file holds it; null before the first set.
  const ZRBPropertyGlobal* GetGlobalRecord() const { return record_.get(); }
  // For the property-manager file reader, which fills the record directly.
  ZRBPropertyGlobal& GetOrCreateGlobalRecord();

  // --- temporary identifiers
  CADUnicodeString GetNewTmpId() { return tempIds_.GetNewTmpId(); }
  int GetTempCounter() const { return tempIds_.GetTempCounter(); }
  void SetTmpCounter(int n) { tempIds_.SetTmpCounter(n); }

  // --- running-command registry
  ZRBRunningCommandRegistry& GetRunningCommandRegistry() { return registry_; }
  const ZRBRunningCommandRegistry& GetRunningCommandRegistry() const { return registry_; }
  // Registers command with the connection command now in force
  // ("ZRB_CONNECTION_CMD"), which its constructor has just set.
  void RegisterRunningCommand(ZRBRunningCommandKind kind, ZRBCommand* command);

 private:
  const ZRBPropertyManagerNames& Names() const;

  std::unique_ptr<ZRBPropertyGlobal> record_;  // created on the first set
  ZRBTempIdCounter tempIds_;
  ZRBRunningCommandRegistry registry_;
};
