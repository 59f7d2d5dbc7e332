#include "ZRBConfigData.h"

int ZRBConfigData::AddPartCategory(std::string name, std::string displayName) {
  for (const PartCategory& c : partCategories_)
    if (c.name == name) return 0;
  partCategories_.push_back({std::move(name), std::move(displayName)});
  return 1;
}

int ZRBConfigData::SetDefaultPartCategory(const std::string& name) {
  for (const PartCategory& c : partCategories_) {
    if (c.name == name) {
      defaultPartCategory_ = name;
      return 1;
    }
  }
  return 0;
}

ZRBFeatureExtension& ZRBConfigData::AddFeatureExtension(CADUnicodeString containerId, CADUnicodeString clientId,
                                                        CADUnicodeString type) {
  featureExtensions_.push_back(
      std::make_unique<ZRBFeatureExtension>(std::move(containerId), std::move(clientId), std::move(type)));
  if (featureExtensions_.size() > 1)
    featureExtensions_[featureExtensions_.size() - 2]->next_ = featureExtensions_.back().get();
  return *featureExtensions_.back();
}

void ZRBConfigData::AddBehavior(CADUnicodeString behaviorType, CADUnicodeString behavior,
                                CADUnicodeString partNumberPrefix) {
  behaviors_.push_back(std::make_unique<ZRBConfigurableBehavior>(std::move(behaviorType), std::move(behavior),
                                                                 std::move(partNumberPrefix)));
}

bool ZRBConfigData::IsEmpty() const {
  return fileCategories_.empty() && partCategories_.empty() && userDefProps_.empty() && featureExtensions_.empty() &&
         behaviors_.empty();
}
