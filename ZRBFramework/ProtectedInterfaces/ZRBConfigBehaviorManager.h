// Lists and filters the configured node behaviours. The behaviours belong to
// the configuration service; the lists handed out never own them.
#pragma once

#include "CADUnicodeString.h"
#include "ZRBConfigurableBehavior.h"

class ZRBConfigData;

class ZRBConfigBehaviorManager {
 public:
  // Reads the behaviours of data, which must outlive the manager (the
  // service keeps both; replacing the data keeps this manager valid).
  explicit ZRBConfigBehaviorManager(const ZRBConfigData& data) : data_(data) {}
  ZRBConfigBehaviorManager(const ZRBConfigBehaviorManager&) = delete;
  ZRBConfigBehaviorManager& operator=(const ZRBConfigBehaviorManager&) = delete;

  // Every configured behaviour, in configuration order.
  CADListPtrZRBConfigurableBehavior GetListOfConfigurableBehaviors() const;
  // The behaviours of from (every configured one when from is null) whose
  // type equals behaviorType exactly.
  CADListPtrZRBConfigurableBehavior FilterForBehaviorType(const CADUnicodeString& behaviorType,
                                                          const CADListPtrZRBConfigurableBehavior* from) const;
  // The behaviours of from (every configured one when from is null) whose
  // part-number prefix starts partNumber.
  CADListPtrZRBConfigurableBehavior FilterForPartNumberPrefix(const CADUnicodeString& partNumber,
                                                              const CADListPtrZRBConfigurableBehavior* from) const;

 private:
  const ZRBConfigData& data_;
};
