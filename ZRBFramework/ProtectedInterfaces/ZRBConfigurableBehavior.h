// One configured node behaviour: what to do ("SkipNode", "IgnoreNode" ...)
// with nodes of a behaviour type whose part number starts with a prefix.
#pragma once

#include "CADListVal.h"
#include "CADUnicodeString.h"

class ZRBConfigurableBehavior {
 public:
  ZRBConfigurableBehavior(CADUnicodeString behaviorType, CADUnicodeString behavior, CADUnicodeString partNumberPrefix)
      : behaviorType_(std::move(behaviorType)),
        behavior_(std::move(behavior)),
        partNumberPrefix_(std::move(partNumberPrefix)) {}
  ZRBConfigurableBehavior(const ZRBConfigurableBehavior&) = delete;
  ZRBConfigurableBehavior& operator=(const ZRBConfigurableBehavior&) = delete;

  // "EmbeddedNodeBehavior" or "ProductNodeBehavior".
  const CADUnicodeString& GetBehaviorType() const { return behaviorType_; }
  // The behaviour name stored on matching nodes.
  const CADUnicodeString& GetBehavior() const { return behavior_; }
  // Part numbers starting with this text match; "" matches every part number.
  const CADUnicodeString& GetPartNumberPrefix() const { return partNumberPrefix_; }

 private:
  CADUnicodeString behaviorType_;
  CADUnicodeString behavior_;
  CADUnicodeString partNumberPrefix_;
};

// Lists of behaviours the configuration service owns; a list never owns them.
using CADListPtrZRBConfigurableBehavior = CADListVal<const ZRBConfigurableBehavior*>;
