// One configured feature extension: which client container of a document to
// read, which feature type in it, and which of its attributes travel to the PDM.
#pragma once

#include <memory>
#include <vector>

#include "CADUnicodeString.h"
#include "ZRBFeatureExtensionAttribute.h"

class ZRBFeatureExtension {
 public:
  ZRBFeatureExtension(CADUnicodeString containerId, CADUnicodeString clientId, CADUnicodeString type)
      : containerId_(std::move(containerId)), clientId_(std::move(clientId)), type_(std::move(type)) {}
  ZRBFeatureExtension(const ZRBFeatureExtension&) = delete;
  ZRBFeatureExtension& operator=(const ZRBFeatureExtension&) = delete;

  // --- chain (configuration order; null after the last)
  const ZRBFeatureExtension* GetNext() const { return next_; }

  // --- identity
  const CADUnicodeString& GetType() const { return type_; }
  const CADUnicodeString& GetClientID() const { return clientId_; }
  const CADUnicodeString& GetContainerID() const { return containerId_; }

  // --- attributes
  const ZRBFeatureExtensionAttribute* GetFirstAttribute() const {
    return attributes_.empty() ? nullptr : attributes_.front().get();
  }
  int GetAttributeCount() const { return static_cast<int>(attributes_.size()); }
  // Appends an attribute at the end of the chain.
  ZRBFeatureExtensionAttribute& AddAttribute(CADUnicodeString name, CADUnicodeString format) {
    attributes_.push_back(std::make_unique<ZRBFeatureExtensionAttribute>(std::move(name), std::move(format)));
    if (attributes_.size() > 1) attributes_[attributes_.size() - 2]->next_ = attributes_.back().get();
    return *attributes_.back();
  }

 private:
  friend class ZRBConfigData;  // links the chain

  CADUnicodeString containerId_;
  CADUnicodeString clientId_;
  CADUnicodeString type_;
  // Owned one by one so that the chain pointers never move.
  std::vector<std::unique_ptr<ZRBFeatureExtensionAttribute>> attributes_;
  const ZRBFeatureExtension* next_ = nullptr;
};
