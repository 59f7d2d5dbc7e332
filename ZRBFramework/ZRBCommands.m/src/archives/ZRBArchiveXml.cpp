#include "ZRBArchiveXml.h"

#include <functional>

#include "CADXMLSAX.h"
#include "ZRBArchiveSAXHandlers.h"
#include "ZRBTrace.h"

namespace {
const char* const kDtdLines[] = {
    "<!ELEMENT ZRBArchive (Root,Part*,NonCad*,Table*)>",
    "<!ATTLIST ZRBArchive Version CDATA #IMPLIED>",
    "<!ATTLIST ZRBArchive CreatedBy CDATA #IMPLIED>",
    "<!ATTLIST ZRBArchive Key CDATA #IMPLIED>",
    "<!ELEMENT Root (PartData,Children)>",
    "<!ATTLIST Root ParentPartnumber CDATA #IMPLIED>",
    "<!ATTLIST Root InAssembly CDATA #IMPLIED>",
    "<!ELEMENT Part (PartData,Children)>",
    "<!ATTLIST Part Id CDATA #REQUIRED>",
    "<!ELEMENT PartData (AttributeList,ModelInfos?,FeatureList?)>",
    "<!ELEMENT AttributeList (Attribute*)>",
    "<!ELEMENT Attribute (#PCDATA)>",
    "<!ATTLIST Attribute Name CDATA #REQUIRED>",
    "<!ELEMENT ModelInfos (Attribute*)>",
    "<!ELEMENT FeatureList (Feature*)>",
    "<!ELEMENT Feature (Attribute*)>",
    "<!ELEMENT Children (Child*)>",
    "<!ELEMENT Child (#PCDATA)>",
    "<!ATTLIST Child ChildId CDATA #REQUIRED>",
    "<!ATTLIST Child InstanceName CDATA #REQUIRED>",
    "<!ATTLIST Child Matrix CDATA #IMPLIED>",
    "<!ELEMENT NonCad (NonCadData)>",
    "<!ATTLIST NonCad Id CDATA #REQUIRED>",
    "<!ATTLIST NonCad InExtraDir CDATA #IMPLIED>",
    "<!ELEMENT NonCadData (AttributeList)>",
    "<!ELEMENT Table (TableData)>",
    "<!ATTLIST Table Id CDATA #REQUIRED>",
    "<!ELEMENT TableData (AttributeList)>",
};

// Length of the valid UTF-8 sequence at the start of `text` (XML's code point range only); 0 when invalid.
size_t ValidSequence(std::string_view text) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
  if (length == 0 || length > text.size()) return 0;
  unsigned long code = lead & (0xFF >> (length + 1));
  for (size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3F);
  }
  const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
  const bool excluded = (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF || code > 0x10FFFF;
  return overlong || excluded ? 0 : length;
}

class Writer {
 public:
  explicit Writer(std::string& out) : out_(out) {}
  Writer& operator<<(std::string_view literal) {
    out_ += literal;
    return *this;
  }
  // A value from the session or a file: escaped and made valid UTF-8.
  Writer& Value(std::string_view text) {
    ZRBArchiveXml::WriteUtf8(out_, ZRBArchiveXml::EscapeString(text));
    return *this;
  }
  void AttributeLines(const ZRBArchiveAttributes& attributes, std::string_view indent) {
    for (const auto& [name, value] : attributes) {
      *this << indent << "<Attribute Name=\"";
      Value(name) << "\">";
      Value(value) << "</Attribute>\n";
    }
  }
  void AttributeList(const ZRBArchiveAttributes& attributes) {
    *this << "      <AttributeList>\n";
    AttributeLines(attributes, "        ");
    *this << "      </AttributeList>\n";
  }
  void PartData(const ZRBArchivePartData& data) {
    *this << "    <PartData>\n";
    AttributeList(data.attributes);
    if (data.hasModelInfos) {
      *this << "      <ModelInfos>\n";
      AttributeLines(data.modelInfos, "        ");
      *this << "      </ModelInfos>\n";
    }
    if (data.hasFeatureList) {
      *this << "      <FeatureList>\n";
      for (const auto& feature : data.features) {
        *this << "        <Feature>\n";
        AttributeLines(feature.attributes, "          ");
        *this << "        </Feature>\n";
      }
      *this << "      </FeatureList>\n";
    }
    *this << "    </PartData>\n";
  }
  void Children(const std::vector<ZRBArchiveChild>& children) {
    *this << "    <Children>\n";
    for (const auto& child : children) {
      *this << "      <Child ChildId=\"";
      Value(child.childId) << "\" InstanceName=\"";
      Value(child.instanceName) << "\" Matrix=\"";
      Value(child.matrix) << "\">\n      </Child>\n";
    }
    *this << "    </Children>\n";
  }

 private:
  std::string& out_;
};

int Parse(const std::function<HRESULT(CADIXMLSAXParser&)>& parse, ZRBArchive& archive) {
  CADIXMLSAXFactory_var factory;
  CADIXMLSAXParser_var parser;
  if (FAILED(CreateCADIXMLSAXFactory(factory)) || !factory || FAILED(factory->CreateParser(parser)) || !parser) {
    ZRB_DEBUG("ZRB: could not create the XML parser");
    return 0;
  }
  ZRBArchive filled;
  auto documentHandler = CADVar<ZRBArchiveSAXDocumentHandler>::Adopt(new ZRBArchiveSAXDocumentHandler(&filled));
  auto errorHandler = CADVar<ZRBArchiveSAXErrorHandler>::Adopt(new ZRBArchiveSAXErrorHandler());
  parser->SetDocumentHandler(CADIXMLSAXDocumentHandler_var(documentHandler));
  parser->SetErrorHandler(CADIXMLSAXErrorHandler_var(errorHandler));
  const HRESULT parsed = parse(*parser);
  parser->SetDocumentHandler(nullptr);
  parser->SetErrorHandler(nullptr);
  if (FAILED(parsed) || errorHandler->Failed()) {
    ZRB_DEBUG("Parse error in structure file");
    return 0;
  }
  archive = std::move(filled);
  return 1;
}
}  // namespace

std::string ZRBArchiveXml::DtdText() {
  std::string text;
  for (const char* line : kDtdLines) (text += line) += '\n';
  return text;
}

std::string ZRBArchiveXml::EscapeString(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool dropped = false;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '\'':
        out += "&apos;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\t':
        out += "&#9;";
        break;
      case '\n':
        out += "&#10;";
        break;
      case '\r':
        out += "&#13;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          dropped = true;
        } else {
          out += c;
        }
    }
  }
  if (dropped) ZRB_DEBUG("ZRB: dropped control characters XML cannot carry from '%s'", out.c_str());
  return out;
}

void ZRBArchiveXml::WriteUtf8(std::string& out, std::string_view text) {
  bool replaced = false;
  while (!text.empty()) {
    size_t length = ValidSequence(text);
    if (length == 0) {
      out += "\xEF\xBF\xBD";
      replaced = true;
      length = 1;
    } else {
      out += text.substr(0, length);
    }
    text.remove_prefix(length);
  }
  if (replaced) ZRB_DEBUG("ZRB: replaced bytes that are no UTF-8 in an archive value");
}

std::string ZRBArchiveXml::Write(const ZRBArchive& archive) {
  std::string out;
  Writer w(out);
  w << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    << "<!DOCTYPE ZRBArchive SYSTEM \"ZRBArchive.dtd\">\n"
    << "<ZRBArchive Version=\"1.0\" CreatedBy=\"ZRB\" Key=\"\" >\n";
  const ZRBArchiveRoot& root = archive.root;
  const bool inAssembly = root.inAssembly == "1";  // the stored format indents this Root tag only
  w << (inAssembly ? "<Root ParentPartnumber=\"" : "  <Root ParentPartnumber=\"");
  w.Value(root.parentPartnumber) << (inAssembly ? "\" InAssembly=\"1\">\n" : "\" InAssembly=\"0\">\n");
  w.PartData(root.data);
  w.Children(root.children);
  w << "  </Root>\n";
  for (const auto& part : archive.parts) {
    w << "  <Part Id = \"";
    w.Value(part.id) << "\">\n";
    w.PartData(part.data);
    w.Children(part.children);
    w << "  </Part>\n";
  }
  // Tables before non-CAD files, as the PDM has always received them (the DTD lists them the other way round).
  for (const auto& table : archive.tables) {
    w << "  <Table Id = \"";
    w.Value(table.id) << "\">\n    <TableData>\n";
    w.AttributeList(table.attributes);
    w << "    </TableData>\n  </Table>\n";
  }
  for (const auto& nonCad : archive.nonCads) {
    w << "  <NonCad Id = \"";
    w.Value(nonCad.id) << (nonCad.inExtraDir ? "\" InExtraDir=\"1\">\n" : "\" InExtraDir=\"0\">\n");
    w << "    <NonCadData>\n";
    w.AttributeList(nonCad.attributes);
    w << "    </NonCadData>\n  </NonCad>\n";
  }
  w << "</ZRBArchive>\n";
  return out;
}

int ZRBArchiveXml::ParseFile(const std::string& path, ZRBArchive& archive) {
  return Parse([&](CADIXMLSAXParser& parser) { return parser.Parse(CADUnicodeString(path)); }, archive);
}

int ZRBArchiveXml::ParseText(std::string_view text, ZRBArchive& archive) {
  return Parse([&](CADIXMLSAXParser& parser) { return parser.ParseText(text); }, archive);
}

const std::string& ZRBArchiveAttribute(const ZRBArchiveAttributes& attributes, const std::string& name) {
  static const std::string empty;
  for (const auto& [key, value] : attributes)
    if (key == name) return value;
  return empty;
}

const std::string& ZRBArchivePartData::Attribute(const std::string& name) const {
  return ZRBArchiveAttribute(attributes, name);
}

const ZRBArchivePart* ZRBArchive::FindPart(const std::string& id) const {
  for (const auto& part : parts)
    if (part.id == id) return &part;
  return nullptr;
}
