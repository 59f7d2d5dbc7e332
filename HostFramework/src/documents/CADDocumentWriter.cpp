#include "CADDocumentWriter.h"

#include <charconv>

#include "CADDocumentFormat.h"
#include "CADDocumentTokenizer.h"

namespace {

class Out {
 public:
  void Line(std::initializer_list<std::string_view> words) {
    bool first = true;
    for (std::string_view w : words) {
      if (!first) text_ += ' ';
      text_ += w;
      first = false;
    }
    text_ += '\n';
  }
  static std::string Q(const CADUnicodeString& s) { return CADDocumentTokenizer::Quote(s.view()); }
  // Shortest text that reads back to the same double.
  static std::string N(double v) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    (void)ec;
    return std::string(buf, end);
  }
  std::string Take() { return std::move(text_); }

 private:
  std::string text_;
};

void WriteText(Out& out, std::string_view key, const CADUnicodeString& value) {
  if (!value.IsEmpty()) out.Line({key, Out::Q(value)});
}

void WriteParameters(Out& out, const std::vector<CADParameterImage>& params) {
  for (const CADParameterImage& p : params) out.Line({"parameter", Out::Q(p.type), Out::Q(p.name), Out::Q(p.value)});
}

void WriteTables(Out& out, const std::vector<CADDesignTableImage>& tables) {
  for (const CADDesignTableImage& d : tables)
    out.Line({"designtable", Out::Q(d.name), Out::Q(d.alias), d.active ? "1" : "0", Out::Q(d.sheetPath)});
}

void WriteReference(Out& out, const CADReferenceImage& ref, bool root) {
  if (root) {
    WriteText(out, "partnumber", ref.partNumber);
    WriteText(out, "name", ref.name);
  }
  WriteText(out, "nomenclature", ref.nomenclature);
  WriteText(out, "revision", ref.revision);
  WriteText(out, "definition", ref.definition);
  WriteText(out, "description", ref.description);
  WriteParameters(out, ref.parameters);
  for (const CADShapeImage& s : ref.shapes) out.Line({"shape", Out::Q(s.name), Out::Q(s.path), Out::Q(s.format)});
  WriteTables(out, ref.tables);
  for (const CADInstanceImage& inst : ref.instances) {
    std::string line =
        "instance " + Out::Q(inst.name) + (inst.component ? " component " : " file ") + Out::Q(inst.target);
    for (double c : inst.position.Coefficients()) line += " " + Out::N(c);
    line += inst.active ? " 1" : " 0";
    out.Line({line});
  }
}

}  // namespace

std::string CADDocumentWriter::Write(const CADDocumentImage& image) {
  if (image.opaque) return image.bytes;
  Out out;
  out.Line({CADDocumentFormat::kMagic, CADDocumentFormat::kVersion, image.type.view()});
  if (!image.identifier.IsNull()) out.Line({"identifier", image.identifier.ToString().view()});
  switch (CADDocumentFormat::KindOf(image.type)) {
    case CADDocumentFormat::Kind::kReference:
      WriteReference(out, image.root, true);
      for (const CADUnicodeString& c : image.containers) out.Line({"container", Out::Q(c)});
      for (const CADReferenceImage& c : image.components) {
        out.Line({"component", Out::Q(c.partNumber)});
        WriteReference(out, c, false);
        out.Line({"end"});
      }
      for (const CADGeometryBody& b : image.bodies) {
        out.Line({"body", Out::Q(b.name), b.hidden ? "hidden" : "shown"});
        for (const CADMathPoint& p : b.vertices) out.Line({"vertex", Out::N(p.x), Out::N(p.y), Out::N(p.z)});
        for (const auto& t : b.triangles)
          out.Line({"triangle", std::to_string(t[0]), std::to_string(t[1]), std::to_string(t[2])});
        out.Line({"end"});
      }
      break;
    case CADDocumentFormat::Kind::kDrawing:
      WriteText(out, "name", image.name);
      WriteText(out, "comment", image.comment);
      WriteText(out, "responsible", image.responsible);
      WriteParameters(out, image.parameters);
      WriteTables(out, image.tables);
      for (const CADSheetImage& s : image.sheets) {
        out.Line({"sheet", Out::Q(s.name)});
        for (const CADViewImage& v : s.views) out.Line({"view", Out::Q(v.name), Out::Q(v.target)});
        out.Line({"end"});
      }
      break;
    case CADDocumentFormat::Kind::kLinks:
      WriteText(out, "name", image.name);
      for (const CADUnicodeString& l : image.links) out.Line({"link", Out::Q(l)});
      for (const auto& [k, v] : image.properties) out.Line({"property", Out::Q(k), Out::Q(v)});
      break;
    case CADDocumentFormat::Kind::kUnknown:
      break;
  }
  out.Line({"end"});
  return out.Take();
}
