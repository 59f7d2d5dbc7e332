#include "ZRBConfigBehaviorManager.h"

#include "ZRBConfigData.h"

CADListPtrZRBConfigurableBehavior ZRBConfigBehaviorManager::GetListOfConfigurableBehaviors() const {
  CADListPtrZRBConfigurableBehavior all;
  for (const auto& behavior : data_.Behaviors()) all.Append(behavior.get());
  return all;
}

CADListPtrZRBConfigurableBehavior ZRBConfigBehaviorManager::FilterForBehaviorType(
    const CADUnicodeString& behaviorType, const CADListPtrZRBConfigurableBehavior* from) const {
  CADListPtrZRBConfigurableBehavior source = from ? *from : GetListOfConfigurableBehaviors();
  CADListPtrZRBConfigurableBehavior kept;
  for (const ZRBConfigurableBehavior* behavior : source)
    if (behavior && behavior->GetBehaviorType() == behaviorType) kept.Append(behavior);
  return kept;
}

CADListPtrZRBConfigurableBehavior ZRBConfigBehaviorManager::FilterForPartNumberPrefix(
    const CADUnicodeString& partNumber, const CADListPtrZRBConfigurableBehavior* from) const {
  CADListPtrZRBConfigurableBehavior source = from ? *from : GetListOfConfigurableBehaviors();
  CADListPtrZRBConfigurableBehavior kept;
  for (const ZRBConfigurableBehavior* behavior : source)
    if (behavior && partNumber.StartsWith(behavior->GetPartNumberPrefix().view())) kept.Append(behavior);
  return kept;
}
