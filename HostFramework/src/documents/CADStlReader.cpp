#include "CADStlReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr size_t kBinaryHeader = 84;
constexpr size_t kBinaryTriangle = 50;

// Collects triangles and shares vertices with equal coordinates.
class MeshBuilder {
 public:
  void Triangle(const std::array<CADMathPoint, 3>& corners) {
    std::array<int, 3> t{};
    for (int k = 0; k < 3; ++k) t[static_cast<size_t>(k)] = Vertex(corners[static_cast<size_t>(k)]);
    body_.triangles.push_back(t);
  }
  CADGeometryBody Take() { return std::move(body_); }

 private:
  struct KeyHash {
    size_t operator()(const std::array<double, 3>& k) const {
      size_t h = 0;
      for (double v : k) h = h * 1000003u ^ std::hash<double>()(v);
      return h;
    }
  };
  int Vertex(const CADMathPoint& p) {
    // -0 and +0 are one vertex.
    const std::array<double, 3> key{p.x + 0.0, p.y + 0.0, p.z + 0.0};
    auto [it, added] = index_.try_emplace(key, static_cast<int>(body_.vertices.size()));
    if (added) body_.vertices.push_back({key[0], key[1], key[2]});
    return it->second;
  }
  CADGeometryBody body_;
  std::unordered_map<std::array<double, 3>, int, KeyHash> index_;
};

float LittleEndianFloat(const unsigned char* p) {
  const uint32_t bits = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  return std::bit_cast<float>(bits);
}

bool ParseBinary(std::string_view bytes, MeshBuilder& mesh, std::string& error) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t count = (bytes.size() - kBinaryHeader) / kBinaryTriangle;
  for (size_t i = 0; i < count; ++i) {
    const unsigned char* record = data + kBinaryHeader + i * kBinaryTriangle + 12;  // after the normal
    std::array<CADMathPoint, 3> corners;
    for (size_t c = 0; c < 3; ++c) {
      const float x = LittleEndianFloat(record + c * 12), y = LittleEndianFloat(record + c * 12 + 4),
                  z = LittleEndianFloat(record + c * 12 + 8);
      if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
        error = "triangle " + std::to_string(i + 1) + " has a coordinate that is not a finite number";
        return false;
      }
      corners[c] = {x, y, z};
    }
    mesh.Triangle(corners);
  }
  return true;
}

// Whitespace-separated words with their line numbers.
class Words {
 public:
  explicit Words(std::string_view text) : text_(text) {}
  bool Next(std::string_view& word) {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
      if (text_[pos_] == '\n') ++line_;
      ++pos_;
    }
    if (pos_ >= text_.size()) return false;
    const size_t start = pos_;
    while (pos_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    word = text_.substr(start, pos_ - start);
    return true;
  }
  // The rest of the current line.
  std::string_view RestOfLine() {
    const size_t end = std::min(text_.find('\n', pos_), text_.size());
    std::string_view rest = text_.substr(pos_, end - pos_);
    pos_ = end;
    return rest;
  }
  int Line() const { return line_; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

std::string Trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return std::string(s);
}

class AsciiParser {
 public:
  AsciiParser(std::string_view text, MeshBuilder& mesh) : words_(text), mesh_(mesh) {}

  bool Run(std::string& name, std::string& error) {
    std::string_view word;
    if (!words_.Next(word) || word != "solid") return Fail("the file does not start with 'solid'", error);
    name = Trim(words_.RestOfLine());
    while (words_.Next(word)) {
      if (word == "endsolid") return true;
      if (word != "facet") return Fail("'facet' or 'endsolid' expected, found '" + std::string(word) + "'", error);
      if (!Facet(error)) return false;
    }
    return Fail("the file ends without 'endsolid'", error);
  }

 private:
  bool Fail(const std::string& what, std::string& error) const {
    error = "line " + std::to_string(words_.Line()) + ": " + what;
    return false;
  }
  bool Expect(std::string_view expected, std::string& error) {
    std::string_view word;
    if (words_.Next(word) && word == expected) return true;
    return Fail("'" + std::string(expected) + "' expected", error);
  }
  bool Number(double& value, std::string& error) {
    std::string_view word;
    if (!words_.Next(word)) return Fail("a number expected", error);
    if (!word.empty() && word.front() == '+') word.remove_prefix(1);
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value))
      return Fail("'" + std::string(word) + "' is not a finite number", error);
    return true;
  }
  bool Facet(std::string& error) {
    double ignored = 0;
    if (!Expect("normal", error)) return false;
    for (int k = 0; k < 3; ++k)
      if (!Number(ignored, error)) return false;
    if (!Expect("outer", error) || !Expect("loop", error)) return false;
    std::vector<CADMathPoint> loop;
    std::string_view word;
    while (words_.Next(word) && word == "vertex") {
      CADMathPoint p;
      if (!Number(p.x, error) || !Number(p.y, error) || !Number(p.z, error)) return false;
      loop.push_back(p);
    }
    if (word != "endloop") return Fail("'vertex' or 'endloop' expected", error);
    if (loop.size() < 3) return Fail("a facet needs three vertices", error);
    // A polygon of more than three corners becomes a fan of triangles.
    for (size_t i = 1; i + 1 < loop.size(); ++i) mesh_.Triangle({loop[0], loop[i], loop[i + 1]});
    return Expect("endfacet", error);
  }

  Words words_;
  MeshBuilder& mesh_;
};

bool LooksBinary(std::string_view bytes) {
  if (bytes.size() < kBinaryHeader) return false;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + 80;
  const uint64_t count = uint64_t(p[0]) | uint64_t(p[1]) << 8 | uint64_t(p[2]) << 16 | uint64_t(p[3]) << 24;
  return kBinaryHeader + count * kBinaryTriangle == bytes.size();
}

bool StartsWithSolid(std::string_view bytes) {
  while (!bytes.empty() && std::isspace(static_cast<unsigned char>(bytes.front()))) bytes.remove_prefix(1);
  return bytes.substr(0, 5) == "solid";
}

}  // namespace

HRESULT CADStlReader::Parse(std::string_view bytes, CADGeometryBody& body, CADUnicodeString& error) {
  MeshBuilder mesh;
  std::string name, message;
  bool ok = false;
  // A binary header may itself begin with "solid": the size decides first.
  if (LooksBinary(bytes)) {
    ok = ParseBinary(bytes, mesh, message);
  } else if (StartsWithSolid(bytes)) {
    ok = AsciiParser(bytes, mesh).Run(name, message);
  } else {
    message = bytes.size() < kBinaryHeader
                  ? "too short for an STL file"
                  : "neither ASCII (no 'solid') nor binary (the size does not match the triangle count)";
  }
  if (!ok) {
    error = message.c_str();
    return E_FAIL;
  }
  body = mesh.Take();
  body.name = name.c_str();
  return S_OK;
}

HRESULT CADStlReader::ReadFile(const CADUnicodeString& path, CADGeometryBody& body, CADUnicodeString& error) {
  std::ifstream in(path.c_str(), std::ios::binary);
  if (!in) {
    error = CADUnicodeString("cannot open ") + path;
    return E_FAIL;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (FAILED(Parse(bytes, body, error))) {
    error = path + ": " + error;
    return E_FAIL;
  }
  return S_OK;
}
