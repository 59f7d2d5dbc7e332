#include "ZRBPropertyManagerWriter.h"

#include "ZRBPropertyContainer.h"
#include "ZRBPropertyManagerStore.h"
#include "ZRBTrace.h"

namespace {

// Length of the well-formed UTF-8 sequence of an XML character at `s[i]`,
// or 0 when the bytes there are not one (bad lead or continuation byte,
// overlong form, surrogate, beyond U+10FFFF, U+FFFE/U+FFFF).
size_t XmlCharLength(std::string_view s, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = byte(i);
  size_t length;
  unsigned long code;
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
    code = c & 0x1Fu;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    code = c & 0x0Fu;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    code = c & 0x07u;
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3Fu);
  }
  if (length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF) || code >= 0xFFFE)) return 0;
  if (length == 4 && (code < 0x10000 || code > 0x10FFFF)) return 0;
  return length;
}

void Line(std::string& out, std::string_view indent, std::string_view element, std::string_view text) {
  out += indent;
  out += '<';
  out += element;
  out += '>';
  out += ZRBPropertyManagerWriter::EscapeString(text).view();
  out += "</";
  out += element;
  out += ">\n";
}

void Properties(std::string& out, const ZRBPropertyContainer& record) {
  const auto& names = record.GetNames();
  const auto& values = record.GetValues();
  for (int i = 1; i <= names.Size(); ++i) {
    out += "      <Property>\n";
    Line(out, "        ", "Name", names[i].view());
    Line(out, "        ", "Value", values[i].view());
    out += "      </Property>\n";
  }
}

void Reference(std::string& out, const ZRBPropertyReference& r) {
  out += "    <Reference>\n";
  out += "      <Id>" + std::to_string(r.GetId()) + "</Id>\n";
  out += r.IsPropertySetFlag() ? "      <PropertySet>true</PropertySet>\n" : "      <PropertySet>false</PropertySet>\n";
  for (auto field : ZRBPropertyReference::AllFields())
    Line(out, "      ", ZRBPropertyReference::FieldName(field), r.Get(field).view());
  out += "      <BlackBoxRoots>\n";
  for (const auto& root : r.BlackBoxRoots()) Line(out, "        ", "RootFullPath", root.view());
  out += "      </BlackBoxRoots>\n";
  out += "      <BlackBoxItems>\n";
  for (const auto& item : r.BlackBoxItems()) Line(out, "        ", "ItemFullPath", item.view());
  out += "      </BlackBoxItems>\n";
  Properties(out, r);
  out += "    </Reference>\n";
}

}  // namespace

std::string ZRBPropertyManagerWriter::BuildDTD() {
  std::string out =
      "<!ELEMENT ZRBPropertyManager (GlobalList+,ReferenceList+,FileList+,InstanceList+,PathToRootList+)>\n"
      "<!ATTLIST ZRBPropertyManager ProcessId CDATA #IMPLIED>\n"
      "<!ELEMENT GlobalList (Global*)>\n"
      "<!ELEMENT Global (Property*)>\n"
      "<!ELEMENT Property (Name,Value)>\n"
      "<!ELEMENT Name (#PCDATA)>\n"
      "<!ELEMENT Value (#PCDATA)>\n"
      "<!ELEMENT InstanceList (Instance*)>\n"
      "<!ELEMENT Instance (ParentId,ChildInstanceName,ChildId,Property*)>\n"
      "<!ELEMENT ParentId (#PCDATA)>\n"
      "<!ELEMENT ChildId (#PCDATA)>\n"
      "<!ELEMENT ChildInstanceName (#PCDATA)>\n"
      "<!ELEMENT ReferenceList (Reference*)>\n"
      "<!ELEMENT Reference (Id,PropertySet,FullPath,PartNumber,Nomenclature,Revision,Definition,Description,"
      "ContainerIdsList,ClientIdsList,FeatureTypesList,FeatureAttrsList,FeatureValuesList,UserDefDisplaysList,"
      "UserDefPropertiesList,UserDefPropValuesList,UserDefPropDelList,BlackBoxRoots*,BlackBoxItems*,Property*)>\n"
      "<!ELEMENT Id (#PCDATA)>\n"
      "<!ELEMENT PropertySet (#PCDATA)>\n";
  for (auto field : ZRBPropertyReference::AllFields()) {
    out += "<!ELEMENT ";
    out += ZRBPropertyReference::FieldName(field);
    out += " (#PCDATA)>\n";
  }
  out +=
      "<!ELEMENT BlackBoxRoots (RootFullPath*)>\n"
      "<!ELEMENT BlackBoxItems (ItemFullPath*)>\n"
      "<!ELEMENT RootFullPath (#PCDATA)>\n"
      "<!ELEMENT ItemFullPath (#PCDATA)>\n"
      "<!ELEMENT FileList (File*)>\n"
      "<!ELEMENT File (FileFullPath,Property*)>\n"
      "<!ELEMENT FileFullPath (#PCDATA)>\n"
      "<!ELEMENT PathToRootList (PathToRoot*)>\n"
      "<!ELEMENT PathToRoot (PathToRootString,Property*)>\n"
      "<!ELEMENT PathToRootString (#PCDATA)>\n";
  return out;
}

std::string ZRBPropertyManagerWriter::BuildDocument(const ZRBPropertyContainer* global,
                                                    const ZRBPropertyManagerStore& store, std::string_view dtdFileName,
                                                    unsigned long processId) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<!DOCTYPE ZRBPropertyManager SYSTEM \"";
  out += EscapeString(dtdFileName).view();
  out += "\">\n";
  out += "<ZRBPropertyManager ProcessId = \"" + std::to_string(processId) + "\">\n";

  out += "  <GlobalList>\n";
  if (global) {
    out += "    <Global>\n";
    Properties(out, *global);
    out += "    </Global>\n";
  }
  out += "  </GlobalList>\n";

  out += "  <ReferenceList>\n";
  for (const auto& r : store.References()) Reference(out, *r);
  out += "  </ReferenceList>\n";

  out += "  <FileList>\n";
  for (const auto& f : store.Files()) {
    out += "    <File>\n";
    Line(out, "      ", "FileFullPath", f->GetFullPath().view());
    Properties(out, *f);
    out += "    </File>\n";
  }
  out += "  </FileList>\n";

  out += "  <InstanceList>\n";
  for (const auto& i : store.Instances()) {
    out += "    <Instance>\n";
    out += "      <ParentId>" + std::to_string(i->GetParentId()) + "</ParentId>\n";
    Line(out, "      ", "ChildInstanceName", i->GetChildInstanceName().view());
    out += "      <ChildId>" + std::to_string(i->GetChildId()) + "</ChildId>\n";
    Properties(out, *i);
    out += "    </Instance>\n";
  }
  out += "  </InstanceList>\n";

  out += "  <PathToRootList>\n";
  for (const auto& p : store.PathToRoots()) {
    out += "    <PathToRoot>\n";
    Line(out, "      ", "PathToRootString", p->GetPathToRoot().view());
    Properties(out, *p);
    out += "    </PathToRoot>\n";
  }
  out += "  </PathToRootList>\n";
  out += "</ZRBPropertyManager>\n";
  return out;
}

CADUnicodeString ZRBPropertyManagerWriter::EscapeString(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '&':
        out += "&amp;";
        ++i;
        continue;
      case '<':
        out += "&lt;";
        ++i;
        continue;
      case '>':
        out += "&gt;";
        ++i;
        continue;
      case '\'':
        out += "&apos;";
        ++i;
        continue;
      case '"':
        out += "&quot;";
        ++i;
        continue;
      case '\r':
        out += "&#13;";
        ++i;
        continue;
      case '\n':
        out += "&#10;";
        ++i;
        continue;
      case '\t':
        out += "&#9;";
        ++i;
        continue;
      default:
        break;
    }
    if (c < 0x20) {
      ZRB_DEBUG("ZRB: EscapeString: control character 0x%02X dropped", c);
      ++i;
      continue;
    }
    size_t length = XmlCharLength(text, i);
    if (length == 0) {
      ZRB_DEBUG("ZRB: EscapeString: byte 0x%02X is not UTF-8, written as U+FFFD", c);
      out += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    out.append(text.substr(i, length));
    i += length;
  }
  return CADUnicodeString(std::move(out));
}
