#include "ZRBFeatureExtensionTransfer.h"

#include <map>
#include <tuple>
#include <vector>

#include "CADDocument.h"
#include "ZRBConfigTopicManager.h"
#include "ZRBFeatureExtension.h"
#include "ZRBFeatureExtensionAttribute.h"
#include "ZRBFileUtil.h"
#include "ZRBNumberText.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"
#include "ZRBTrace.h"
#include "ZRBTransferSlots.h"

namespace {

CADUnicodeString TrimBlanks(const CADUnicodeString& text) {
  std::string_view v = text.view();
  while (!v.empty() && (v.front() == ' ' || v.front() == '\r' || v.front() == '\t')) v.remove_prefix(1);
  while (!v.empty() && (v.back() == ' ' || v.back() == '\r' || v.back() == '\t')) v.remove_suffix(1);
  return CADUnicodeString(v);
}

// The first `count` characters (not bytes) of a UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t count) {
  std::size_t at = 0;
  for (std::size_t seen = 0; at < text.size() && seen < count; ++seen) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
  }
  return text.substr(0, at);
}

// The first member of `type` among the client's features of the container, or null (traced).
CADAppFeature* FirstMember(CADDocument& document, const CADUnicodeString& container, const CADUnicodeString& client,
                           const CADUnicodeString& type) {
  std::vector<CADAppFeature*> members;
  if (FAILED(document.GetApplicativeFeatures(container, client, members))) {
    ZRB_DEBUG("Error: no applicative container %s", container.c_str());
    return nullptr;
  }
  for (CADAppFeature* member : members)
    if (member && member->GetSpecType() == type) return member;
  return nullptr;
}

std::string ConfiguredFormat(const CADUnicodeString& container, const CADUnicodeString& client,
                             const CADUnicodeString& type, const CADUnicodeString& name) {
  for (const ZRBFeatureExtension* e = g_ZRBConfig.GetFirstFeatureExtension(); e; e = e->GetNext()) {
    if (!(TrimBlanks(e->GetContainerID()) == container) || !(TrimBlanks(e->GetClientID()) == client) ||
        !(TrimBlanks(e->GetType()) == type))
      continue;
    for (const ZRBFeatureExtensionAttribute* a = g_ZRBConfig.GetFirstFeatureExtensionAttribute(e); a; a = a->GetNext())
      if (a->GetName() == name) return a->GetFormat().str();
  }
  return {};
}

struct Lists {
  CADListValCADUnicodeString containers, clients, types, names, values;
};

}  // namespace

std::optional<std::string> ZRBFeatureExtensionTransfer::Encode(CADAttrType type, const CADAttrValue& value,
                                                               const std::string& format) {
  switch (type) {
    case CADAttrType::Double: {
      if (!ZRBNumberText::IsDoubleFormat(format)) return std::nullopt;
      const double* number = std::get_if<double>(&value);
      if (!number) return std::string();  // undefined, like a Boolean's
      return ZRBNumberText::Formatted(format, *number);
    }
    case CADAttrType::Boolean:
      if (const bool* flag = std::get_if<bool>(&value)) return std::string(*flag ? "+" : "-");
      return std::string();
    case CADAttrType::Integer:
      if (const int* number = std::get_if<int>(&value)) return std::to_string(*number);
      return std::nullopt;
    case CADAttrType::String: {
      const CADUnicodeString* text = std::get_if<CADUnicodeString>(&value);
      const std::string whole = text ? text->str() : std::string();
      if (const auto cut = ZRBNumberText::ParseInt(format); cut && *cut >= 0)
        return FirstCharacters(whole, static_cast<std::size_t>(*cut));
      return whole;
    }
    default:
      return std::nullopt;
  }
}

std::optional<CADAttrValue> ZRBFeatureExtensionTransfer::Decode(CADAttrType type, const std::string& text) {
  switch (type) {
    case CADAttrType::Double:
      if (const auto number = ZRBNumberText::ParseDouble(text)) return CADAttrValue(*number);
      return std::nullopt;
    case CADAttrType::Boolean:
      if (text == "+") return CADAttrValue(true);
      if (text == "-") return CADAttrValue(false);
      if (text.empty()) return CADAttrValue(std::monostate());
      return std::nullopt;
    case CADAttrType::Integer:
      if (const auto number = ZRBNumberText::ParseInt(text)) return CADAttrValue(*number);
      return std::nullopt;
    case CADAttrType::String:
      return CADAttrValue(CADUnicodeString(text));
    default:
      return std::nullopt;
  }
}

int ZRBFeatureExtensionTransfer::ToObject(ZRBObjectManager& manager, CADDocument* document, ZRBObject* model) {
  ZRB_TRACE("ZRBFeatureExtensionTransfer::ToObject");
  if (!document || !model) return 0;
  if (!g_ZRBConfig.GetFirstFeatureExtension()) {
    ZRB_DEBUG("ZRB: No feature extension entries in xml config file.");
    ZRB_TRACE_OK();
    return 1;
  }
  ZRB_DEBUG("ZRB: Using ZRB xml configuration file for feature extensions.");
  Lists out;
  for (const ZRBFeatureExtension* e = g_ZRBConfig.GetFirstFeatureExtension(); e; e = e->GetNext()) {
    const CADUnicodeString container = TrimBlanks(e->GetContainerID());
    const CADUnicodeString client = TrimBlanks(e->GetClientID());
    const CADUnicodeString type = TrimBlanks(e->GetType());
    const CADAppFeature* member = FirstMember(*document, container, client, type);
    if (!member) continue;
    for (const ZRBFeatureExtensionAttribute* a = g_ZRBConfig.GetFirstFeatureExtensionAttribute(e); a;
         a = a->GetNext()) {
      const CADAppAttribute* attribute = member->FindAttribute(a->GetName());
      if (!attribute) {
        ZRB_DEBUG("Error: %s is not a valid attribute!", a->GetName().c_str());
        continue;
      }
      const std::string format = a->GetFormat().str();
      if (attribute->type == CADAttrType::Double && format.empty()) {
        ZRB_DEBUG("ZRB: Feature Format is missing. Value will be skipped");
        continue;
      }
      if (attribute->type == CADAttrType::Double && !ZRBNumberText::IsDoubleFormat(format)) {
        // Only a format with one floating-point conversion may be handed to printf with a number.
        ZRB_DEBUG("ZRB: Feature Format '%s' cannot write a number. Value will be skipped", format.c_str());
        continue;
      }
      for (const CADAttrValue& value : attribute->values) {
        const auto text = Encode(attribute->type, value, format);
        if (!text) {
          ZRB_DEBUG("ZRB: Type is not supported.");
          break;
        }
        out.containers.Append(container);
        out.clients.Append(client);
        out.types.Append(type);
        out.names.Append(attribute->name);
        out.values.Append(CADUnicodeString(*text));
      }
    }
  }
  ZRBObject* extensions = manager.CreateObject("");
  ZRBTransferSlots::SetList(*extensions, "CONTAINER_IDS", out.containers);
  ZRBTransferSlots::SetList(*extensions, "CLIENT_IDS", out.clients);
  ZRBTransferSlots::SetList(*extensions, "FEATURE_TYPES", out.types);
  ZRBTransferSlots::SetList(*extensions, "FEATURE_ATTRS", out.names);
  ZRBTransferSlots::SetList(*extensions, "FEATURE_VALUES", out.values);
  model->SetSlotValue("FEATURE_EXTENTIONS", extensions->GetKey());
  ZRB_TRACE_OK();
  return 1;
}

int ZRBFeatureExtensionTransfer::FromObject(const CADIProduct_var& product, const ZRBObject* model,
                                            ZRBObjectManager& manager) {
  ZRB_TRACE("ZRBFeatureExtensionTransfer::FromObject");
  if (!product || !model) return 0;
  const CADString key = model->GetSlotValue("FEATURE_EXTENTIONS");
  if (key.IsEmpty()) {  // the PDM sent none: nothing to apply
    ZRB_TRACE_OK();
    return 1;
  }
  const ZRBObject* extensions = manager.GetObject(key);
  if (!extensions) {
    ZRB_DEBUG("Feature Extentions object not found in object manager. ");
    return 0;
  }
  Lists in;
  in.containers = ZRBTransferSlots::List(*extensions, "CONTAINER_IDS");
  in.clients = ZRBTransferSlots::List(*extensions, "CLIENT_IDS");
  in.types = ZRBTransferSlots::List(*extensions, "FEATURE_TYPES");
  in.names = ZRBTransferSlots::List(*extensions, "FEATURE_ATTRS");
  in.values = ZRBTransferSlots::List(*extensions, "FEATURE_VALUES");
  const int size = in.containers.Size();
  if (in.clients.Size() != size || in.types.Size() != size || in.names.Size() != size || in.values.Size() != size) {
    ZRB_DEBUG("Error: Incompatible size of lists!");
    return 0;
  }
  CADDocument* document = nullptr;
  if (FAILED(ZRBFileUtil::GetRefDocFromCADIProduct(product, &document)) || !document) return 0;
  // The k-th entry of one attribute is its k-th list element.
  std::map<std::tuple<std::string, std::string, std::string, std::string>, std::size_t> elementOf;
  int changed = 0;
  for (int i = 1; i <= size; ++i) {
    CADAppFeature* member = FirstMember(*document, in.containers[i], in.clients[i], in.types[i]);
    if (!member) {
      ZRB_DEBUG("Error: Instance of %s not found (sFeatureType)!", in.types[i].c_str());
      continue;
    }
    const CADAppAttribute* attribute = member->FindAttribute(in.names[i]);
    if (!attribute) {
      ZRB_DEBUG("Error: %s is not a valid attribute!", in.names[i].c_str());
      continue;
    }
    const std::size_t element =
        elementOf[{in.containers[i].str(), in.clients[i].str(), in.types[i].str(), in.names[i].str()}]++;
    const std::string format = ConfiguredFormat(in.containers[i], in.clients[i], in.types[i], in.names[i]);
    if (element < attribute->values.size()) {
      const auto current = Encode(attribute->type, attribute->values[element], format);
      // The value as written came back: the member keeps its own, which may hold more than the text could.
      if (current && ZRBTransferSlots::AsListItem(*current) == ZRBTransferSlots::AsListItem(in.values[i].str()))
        continue;
    }
    const auto value = Decode(attribute->type, in.values[i].str());
    if (!value) {
      ZRB_DEBUG("Error: '%s' is no value of %s", in.values[i].c_str(), in.names[i].c_str());
      continue;
    }
    if (element < attribute->values.size() && attribute->values[element] == *value) continue;
    if (SUCCEEDED(member->SetValue(in.names[i], element, *value))) {
      ZRB_DEBUG("Updating Feature Attribute: %s", in.names[i].c_str());
      changed = 1;
    }
  }
  if (changed && g_ZRBConfig.CompareEnvVar("ZRB_ENABLE_FE_SET_DIRTY", "ON", 1) == 1) {
    ZRB_DEBUG("Feature Exgtension changed, Set Document to Modified:%s", document->StorageName().c_str());
    document->SetDirty(1);
  }
  ZRB_TRACE_OK();
  return 1;
}
