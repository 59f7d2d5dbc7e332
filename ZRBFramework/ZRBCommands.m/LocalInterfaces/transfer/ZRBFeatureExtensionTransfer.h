// The configured feature extensions of a document between its applicative containers and an exchange object:
// five parallel slot lists, one entry per attribute value (a list attribute gives one entry per element).
#pragma once

#include <optional>
#include <string>

#include "CADAppFeature.h"
#include "CADIProduct.h"

class CADDocument;
class ZRBFeatureExtensionAttribute;
class ZRBObject;
class ZRBObjectManager;

// Stateless; user-interface thread (it reads and changes documents).
class ZRBFeatureExtensionTransfer {
 public:
  // One object holding the entries of every configured extension, named by the model's "FEATURE_EXTENTIONS".
  // Of several members of one feature type only the first is written (the same one the way back sets).
  // 1 success (also with no extension configured), 0 failure.
  static int ToObject(ZRBObjectManager& manager, CADDocument* document, ZRBObject* model);
  // Sets the values of the entries on the first member of each feature type in the product's document; a value
  // that reads back as the one written (a cut text, a rounded number) leaves the member's own value alone.
  // 1 also when the model names no extension object; 0 when the named object is missing or its lists differ.
  static int FromObject(const CADIProduct_var& product, const ZRBObject* model, ZRBObjectManager& manager);

  // --- value texts
  // The text of one value; empty when the type or value cannot be written (unsupported type, a DOUBLE without
  // usable format, an undefined number).
  static std::optional<std::string> Encode(CADAttrType type, const CADAttrValue& value, const std::string& format);
  // The value of a text; empty when it is not one of the type.
  static std::optional<CADAttrValue> Decode(CADAttrType type, const std::string& text);
};
