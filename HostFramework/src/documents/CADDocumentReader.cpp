#include "CADDocumentReader.h"

#include <charconv>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CADDocumentFormat.h"
#include "CADDocumentTokenizer.h"

namespace {

using Tokens = std::vector<std::string>;

class Failure {
 public:
  explicit Failure(std::string text) : text_(std::move(text)) {}
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

// Line-by-line parser of one file; every refusal throws Failure with the line
// number, caught in Read (exceptions stay inside this file).
class Parser {
 public:
  Parser(std::string_view text, CADDocumentImage& image) : text_(text), image_(image) {}

  void ReadHead() {
    Tokens t;
    if (!Next(t) || t.size() != 3 || t[0] != CADDocumentFormat::kMagic || t[1] != CADDocumentFormat::kVersion)
      Fail("not a host document");
    ReadIdentifier();
  }

  void Run(const CADUnicodeString& expectedType) {
    Tokens t;
    if (!Next(t)) Fail("empty file");
    if (t.size() != 3 || t[0] != CADDocumentFormat::kMagic) Fail("not a host document (bad header)");
    if (t[1] != CADDocumentFormat::kVersion) Fail("unsupported format version " + t[1]);
    if (t[2] != expectedType.str()) Fail("file holds a " + t[2] + " document, expected " + expectedType.str());
    image_.type = expectedType;
    ReadIdentifier();
    const CADDocumentFormat::Kind kind = CADDocumentFormat::KindOf(expectedType);
    if (kind == CADDocumentFormat::Kind::kReference) {
      image_.hasRoot = true;
      ReadReferenceDocument(expectedType);
    } else if (kind == CADDocumentFormat::Kind::kDrawing) {
      ReadDrawing();
    } else if (kind == CADDocumentFormat::Kind::kLinks) {
      ReadLinks();
    } else {
      Fail("the host has no format for " + expectedType.str());
    }
  }

  // The optional identifier statement right after the header.
  void ReadIdentifier() {
    const size_t pos = pos_;
    const int line = line_;
    Tokens t;
    if (!Next(t) || t[0] != "identifier") {
      pos_ = pos;
      line_ = line;
      return;
    }
    Expect(t, 2);
    if (FAILED(CADUuid::FromString(t[1], image_.identifier)) || image_.identifier.IsNull())
      Fail("bad identifier '" + t[1] + "'");
  }

 private:
  // Lines -----------------------------------------------------------------
  bool Next(Tokens& tokens) {
    while (pos_ < text_.size()) {
      size_t end = text_.find('\n', pos_);
      if (end == std::string_view::npos) end = text_.size();
      std::string_view line = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      ++line_;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      size_t first = line.find_first_not_of(" \t");
      if (first == std::string_view::npos || line[first] == '#') continue;
      std::string error;
      if (!CADDocumentTokenizer::Split(line, tokens, error)) Fail(error);
      return true;
    }
    return false;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw Failure("line " + std::to_string(line_) + ": " + what);
  }

  void Expect(const Tokens& t, size_t count) const {
    if (t.size() != count)
      Fail("'" + t[0] + "' takes " + std::to_string(count - 1) + " value(s), found " + std::to_string(t.size() - 1));
  }

  double Number(const std::string& token) const {
    double v = 0;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    if (ec != std::errc() || end != token.data() + token.size() || !std::isfinite(v))
      Fail("bad number '" + token + "'");
    return v;
  }

  long Integer(const std::string& token) const {
    long v = 0;
    auto [end, ec] = std::from_chars(token.data(), token.data() + token.size(), v);
    if (ec != std::errc() || end != token.data() + token.size()) Fail("bad integer '" + token + "'");
    return v;
  }

  bool Flag(const std::string& token) const {
    if (token == "1") return true;
    if (token == "0") return false;
    Fail("expected 0 or 1, found '" + token + "'");
  }

  // Blocks ----------------------------------------------------------------
  void ReadReferenceDocument(const CADUnicodeString& type) {
    Tokens t;
    bool ended = false;
    while (Next(t)) {
      if (t[0] == "end") {
        Expect(t, 1);
        ended = true;
        break;
      }
      if (ReferenceLine(t, image_.root, type == "CADProduct")) continue;
      if (t[0] == "component") {
        if (type != "CADProduct") Fail("only products hold embedded components");
        Expect(t, 2);
        CADReferenceImage component;
        component.partNumber = t[1];
        if (component.partNumber.IsEmpty()) Fail("component without part number");
        ReadComponent(component);
        image_.components.push_back(std::move(component));
      } else if (t[0] == "container") {
        Expect(t, 2);
        if (t[1].empty()) Fail("container without name");
        image_.containers.emplace_back(t[1]);
      } else if (t[0] == "body") {
        if (type == "CADProduct") Fail("products hold no geometry of their own");
        ReadBody(t);
      } else {
        Fail("unknown keyword '" + t[0] + "'");
      }
    }
    if (!ended) Fail("missing 'end'");
    if (Next(t)) Fail("text after the final 'end'");
    if ((type == "CADPart" || type == "CADProduct") && image_.root.partNumber.IsEmpty())
      Fail("the root product has no part number");
    CheckReferences();
  }

  void ReadComponent(CADReferenceImage& component) {
    Tokens t;
    while (Next(t)) {
      if (t[0] == "end") {
        Expect(t, 1);
        return;
      }
      if (t[0] == "partnumber" || t[0] == "name") Fail("'" + t[0] + "' is not allowed in a component");
      if (!ReferenceLine(t, component, true)) Fail("unknown keyword '" + t[0] + "' in a component");
    }
    Fail("component '" + component.partNumber.str() + "' has no 'end'");
  }

  // One line of a reference's own data; false when the keyword is another one.
  bool ReferenceLine(const Tokens& t, CADReferenceImage& ref, bool mayHoldInstances) {
    const std::string& k = t[0];
    auto text = [&](CADUnicodeString& field) {
      Expect(t, 2);
      field = t[1];
    };
    if (k == "partnumber")
      text(ref.partNumber);
    else if (k == "name")
      text(ref.name);
    else if (k == "nomenclature")
      text(ref.nomenclature);
    else if (k == "revision")
      text(ref.revision);
    else if (k == "definition")
      text(ref.definition);
    else if (k == "description")
      text(ref.description);
    else if (k == "parameter")
      ref.parameters.push_back(ParameterLine(t));
    else if (k == "shape") {
      Expect(t, 4);
      if (t[1].empty() || t[2].empty()) Fail("shape without name or path");
      ref.shapes.push_back({t[1], t[2], t[3]});
    } else if (k == "designtable") {
      ref.tables.push_back(TableLine(t));
    } else if (k == "instance") {
      if (!mayHoldInstances) Fail("only products hold instances");
      ref.instances.push_back(InstanceLine(t));
    } else {
      return false;
    }
    return true;
  }

  CADParameterImage ParameterLine(const Tokens& t) const {
    Expect(t, 4);
    CADParameterImage p{t[2], t[1], t[3]};
    if (p.name.IsEmpty()) Fail("parameter without name");
    if (!CADDocumentFormat::IsValidParameter(p.type, p.value))
      Fail("value '" + t[3] + "' does not suit parameter type '" + t[1] + "'");
    return p;
  }

  CADDesignTableImage TableLine(const Tokens& t) const {
    Expect(t, 5);
    CADDesignTableImage d{t[1], t[2], Flag(t[3]), t[4]};
    if (d.name.IsEmpty() || d.sheetPath.IsEmpty()) Fail("design table without name or sheet");
    return d;
  }

  // instance <name> file|component <target> <12 numbers> <active>
  CADInstanceImage InstanceLine(const Tokens& t) const {
    Expect(t, 17);
    CADInstanceImage inst;
    inst.name = t[1];
    if (inst.name.IsEmpty()) Fail("instance without name");
    if (t[2] == "component")
      inst.component = true;
    else if (t[2] != "file")
      Fail("instance target must be 'file' or 'component'");
    inst.target = t[3];
    if (inst.target.IsEmpty()) Fail("instance without target");
    std::array<double, 12> c{};
    for (size_t i = 0; i < 12; ++i) c[i] = Number(t[4 + i]);
    inst.position = CADMathTransformation(c);
    inst.active = Flag(t[16]);
    return inst;
  }

  void ReadBody(const Tokens& head) {
    Expect(head, 3);
    CADGeometryBody body;
    body.name = head[1];
    if (head[2] == "hidden")
      body.hidden = true;
    else if (head[2] != "shown")
      Fail("body must be 'shown' or 'hidden'");
    Tokens t;
    while (Next(t)) {
      if (t[0] == "end") {
        Expect(t, 1);
        image_.bodies.push_back(std::move(body));
        return;
      }
      if (t[0] == "vertex") {
        Expect(t, 4);
        body.vertices.push_back({Number(t[1]), Number(t[2]), Number(t[3])});
      } else if (t[0] == "triangle") {
        Expect(t, 4);
        std::array<int, 3> tri{};
        for (size_t i = 0; i < 3; ++i) {
          long v = Integer(t[1 + i]);
          if (v < 0 || v >= static_cast<long>(body.vertices.size())) Fail("triangle refers to a missing vertex");
          tri[i] = static_cast<int>(v);
        }
        body.triangles.push_back(tri);
      } else {
        Fail("unknown keyword '" + t[0] + "' in a body");
      }
    }
    Fail("body '" + body.name.str() + "' has no 'end'");
  }

  void ReadDrawing() {
    Tokens t;
    bool ended = false;
    while (Next(t)) {
      const std::string& k = t[0];
      if (k == "end") {
        Expect(t, 1);
        ended = true;
        break;
      }
      if (k == "name" || k == "comment" || k == "responsible") {
        Expect(t, 2);
        (k == "name" ? image_.name : k == "comment" ? image_.comment : image_.responsible) = t[1];
      } else if (k == "parameter") {
        image_.parameters.push_back(ParameterLine(t));
      } else if (k == "designtable") {
        image_.tables.push_back(TableLine(t));
      } else if (k == "sheet") {
        Expect(t, 2);
        CADSheetImage sheet;
        sheet.name = t[1];
        ReadSheet(sheet);
        image_.sheets.push_back(std::move(sheet));
      } else {
        Fail("unknown keyword '" + k + "' in a drawing");
      }
    }
    if (!ended) Fail("missing 'end'");
    if (Next(t)) Fail("text after the final 'end'");
    CheckUniqueNames(image_.parameters, "parameter");
    CheckUniqueTables(image_.tables);
  }

  void ReadSheet(CADSheetImage& sheet) {
    Tokens t;
    while (Next(t)) {
      if (t[0] == "end") {
        Expect(t, 1);
        return;
      }
      if (t[0] != "view") Fail("unknown keyword '" + t[0] + "' in a sheet");
      Expect(t, 3);
      if (t[2].empty()) Fail("view without shown document");
      sheet.views.push_back({t[1], t[2]});
    }
    Fail("sheet '" + sheet.name.str() + "' has no 'end'");
  }

  void ReadLinks() {
    Tokens t;
    bool ended = false;
    while (Next(t)) {
      const std::string& k = t[0];
      if (k == "end") {
        Expect(t, 1);
        ended = true;
        break;
      }
      if (k == "name") {
        Expect(t, 2);
        image_.name = t[1];
      } else if (k == "link") {
        Expect(t, 2);
        if (t[1].empty()) Fail("empty link");
        image_.links.emplace_back(t[1]);
      } else if (k == "property") {
        Expect(t, 3);
        if (t[1].empty()) Fail("property without key");
        image_.properties.emplace_back(CADUnicodeString(t[1]), CADUnicodeString(t[2]));
      } else {
        Fail("unknown keyword '" + k + "'");
      }
    }
    if (!ended) Fail("missing 'end'");
    if (Next(t)) Fail("text after the final 'end'");
  }

  // Whole-file checks -------------------------------------------------------
  template <class T>
  void CheckUniqueNames(const std::vector<T>& items, const char* what) const {
    std::set<std::string> seen;
    for (const T& item : items)
      if (!seen.insert(item.name.str()).second) Fail(std::string("duplicate ") + what + " '" + item.name.str() + "'");
  }
  void CheckUniqueTables(const std::vector<CADDesignTableImage>& tables) const {
    CheckUniqueNames(tables, "design table");
  }

  void CheckReference(const CADReferenceImage& ref) const {
    CheckUniqueNames(ref.instances, "instance name");
    CheckUniqueNames(ref.parameters, "parameter");
    CheckUniqueNames(ref.shapes, "shape");
    CheckUniqueTables(ref.tables);
  }

  void CheckReferences() const {
    CheckReference(image_.root);
    std::map<std::string, const CADReferenceImage*> byNumber;
    for (const CADReferenceImage& c : image_.components) {
      CheckReference(c);
      if (c.partNumber == image_.root.partNumber)
        Fail("component '" + c.partNumber.str() + "' repeats the root's part number");
      if (!byNumber.emplace(c.partNumber.str(), &c).second) Fail("duplicate component '" + c.partNumber.str() + "'");
    }
    auto targets = [&](const CADReferenceImage& ref) {
      for (const CADInstanceImage& inst : ref.instances)
        if (inst.component && !byNumber.count(inst.target.str()))
          Fail("instance '" + inst.name.str() + "' uses the unknown component '" + inst.target.str() + "'");
    };
    targets(image_.root);
    for (const CADReferenceImage& c : image_.components) targets(c);
    // A component that contains itself, directly or not, has no finite tree.
    // Iterative depth-first walk: a long chain of components must not exhaust the stack.
    std::map<std::string, int> state;  // 1 on the current path, 2 done
    for (const CADReferenceImage& start : image_.components) {
      if (state[start.partNumber.str()] == 2) continue;
      std::vector<std::pair<const CADReferenceImage*, size_t>> stack{{&start, 0}};
      state[start.partNumber.str()] = 1;
      while (!stack.empty()) {
        auto& [ref, next] = stack.back();
        if (next == ref->instances.size()) {
          state[ref->partNumber.str()] = 2;
          stack.pop_back();
          continue;
        }
        const CADInstanceImage& inst = ref->instances[next++];
        if (!inst.component) continue;
        const CADReferenceImage* child = byNumber.at(inst.target.str());
        int& s = state[child->partNumber.str()];
        if (s == 1) Fail("component '" + child->partNumber.str() + "' contains itself");
        if (s == 0) {
          s = 1;
          stack.emplace_back(child, 0);
        }
      }
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 0;
  CADDocumentImage& image_;
};

}  // namespace

HRESULT CADDocumentReader::Read(std::string_view text, const CADUnicodeString& expectedType, bool representationFormat,
                                CADDocumentImage& image, CADUnicodeString& error) {
  image = CADDocumentImage();
  error = CADUnicodeString();
  const bool mayBeOpaque = expectedType == "vis" || expectedType == "model";
  if (representationFormat || (mayBeOpaque && !text.starts_with(CADDocumentFormat::kMagic))) {
    image.type = expectedType;
    image.opaque = true;
    image.bytes.assign(text.data(), text.size());
    return S_OK;
  }
  try {
    Parser(text, image).Run(expectedType);
  } catch (const Failure& f) {
    error = f.text();
    image = CADDocumentImage();
    return E_FAIL;
  } catch (const std::bad_alloc&) {
    error = "document too large";
    image = CADDocumentImage();
    return E_FAIL;
  }
  return S_OK;
}

HRESULT CADDocumentReader::ReadIdentifier(std::string_view text, CADUuid& identifier) {
  identifier = CADUuid();
  // Only the header and the statement after it matter; a damaged body is the
  // full reader's business.
  CADDocumentImage image;
  try {
    Parser parser(text, image);
    parser.ReadHead();
  } catch (const Failure&) {
    return E_FAIL;
  } catch (const std::bad_alloc&) {
    return E_FAIL;
  }
  identifier = image.identifier;
  return identifier.IsNull() ? E_FAIL : S_OK;
}
