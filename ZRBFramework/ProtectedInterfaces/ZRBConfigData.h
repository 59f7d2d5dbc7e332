// The structured part of the configuration (file and part categories,
// user-defined properties, feature extensions, node behaviours) as one value
// that the file reader fills and tests build directly.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ZRBConfigFileCategory.h"
#include "ZRBConfigurableBehavior.h"
#include "ZRBFeatureExtension.h"

class ZRBConfigData {
 public:
  struct PartCategory {
    std::string name;         // stored on products, sent to the PDM
    std::string displayName;  // shown to the designer
  };

  ZRBConfigData() = default;
  ZRBConfigData(ZRBConfigData&&) = default;
  ZRBConfigData& operator=(ZRBConfigData&&) = default;
  ZRBConfigData(const ZRBConfigData&) = delete;
  ZRBConfigData& operator=(const ZRBConfigData&) = delete;

  // --- building (file reader and tests)
  void AddFileCategory(ZRBConfigFileCategory category) { fileCategories_.push_back(std::move(category)); }
  // Returns 0 when the name is already configured (nothing added).
  int AddPartCategory(std::string name, std::string displayName);
  // Returns 0 when no such category was added first.
  int SetDefaultPartCategory(const std::string& name);
  void AddUserDefProp(std::string name) { userDefProps_.push_back(std::move(name)); }
  ZRBFeatureExtension& AddFeatureExtension(CADUnicodeString containerId, CADUnicodeString clientId,
                                           CADUnicodeString type);
  void AddBehavior(CADUnicodeString behaviorType, CADUnicodeString behavior, CADUnicodeString partNumberPrefix);

  // --- reading
  const std::vector<ZRBConfigFileCategory>& FileCategories() const { return fileCategories_; }
  const std::vector<PartCategory>& PartCategories() const { return partCategories_; }
  const std::string& DefaultPartCategory() const { return defaultPartCategory_; }
  const std::vector<std::string>& UserDefProps() const { return userDefProps_; }
  const ZRBFeatureExtension* FirstFeatureExtension() const {
    return featureExtensions_.empty() ? nullptr : featureExtensions_.front().get();
  }
  const std::vector<std::unique_ptr<ZRBFeatureExtension>>& FeatureExtensions() const { return featureExtensions_; }
  const std::vector<std::unique_ptr<ZRBConfigurableBehavior>>& Behaviors() const { return behaviors_; }
  bool IsEmpty() const;

 private:
  std::vector<ZRBConfigFileCategory> fileCategories_;
  std::vector<PartCategory> partCategories_;
  std::string defaultPartCategory_;
  std::vector<std::string> userDefProps_;
  // Owned one by one so that the chain pointers and the pointers handed to
  // callers never move while the data lives.
  std::vector<std::unique_ptr<ZRBFeatureExtension>> featureExtensions_;
  std::vector<std::unique_ptr<ZRBConfigurableBehavior>> behaviors_;
};
