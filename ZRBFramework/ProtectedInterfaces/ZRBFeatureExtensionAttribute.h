// One configured attribute of a feature extension: its name and the format
// its values are written with.
#pragma once

#include "CADUnicodeString.h"

class ZRBFeatureExtensionAttribute {
 public:
  ZRBFeatureExtensionAttribute(CADUnicodeString name, CADUnicodeString format)
      : name_(std::move(name)), format_(std::move(format)) {}
  ZRBFeatureExtensionAttribute(const ZRBFeatureExtensionAttribute&) = delete;
  ZRBFeatureExtensionAttribute& operator=(const ZRBFeatureExtensionAttribute&) = delete;

  // --- chain (configuration order; null after the last)
  const ZRBFeatureExtensionAttribute* GetNext() const { return next_; }

  // --- data
  const CADUnicodeString& GetName() const { return name_; }
  // printf-style for DOUBLE, a character count for STRING, "" when not given.
  const CADUnicodeString& GetFormat() const { return format_; }

 private:
  friend class ZRBFeatureExtension;  // links the chain

  CADUnicodeString name_;
  CADUnicodeString format_;
  const ZRBFeatureExtensionAttribute* next_ = nullptr;
};
