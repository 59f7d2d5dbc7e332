// The attribute list handed to StartElement, refilled in place for every
// element of a parse.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "CADIXMLSAXAttributeList.h"

class CADXMLSAXAttributes final : public CADIXMLSAXAttributeList {
 public:
  CADXMLSAXAttributes() = default;

  HRESULT QueryInterface(const CADIID& iid, void** out) override {
    return CADQueryInterfaceHelper<CADIXMLSAXAttributeList, CADBaseUnknown>(this, iid, out);
  }

  // filling (parser): `pairs` is expat's name, value, name, value ..., null-terminated
  void Assign(const char** pairs);

  // reading (document handler)
  int GetLength() const override { return static_cast<int>(items_.size()); }
  HRESULT GetName(int index, CADUnicodeString& name) const override;
  HRESULT GetValue(int index, CADUnicodeString& value) const override;
  HRESULT GetValue(std::string_view name, CADUnicodeString& value) const override;

 private:
  ~CADXMLSAXAttributes() override = default;

  std::vector<std::pair<std::string, std::string>> items_;
};
