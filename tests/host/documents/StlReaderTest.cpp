// The STL importer on binary and ASCII files (shared vertices, polygons as fans) and on damaged files.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "CADStlReader.h"

namespace {

std::string Binary(const char* header, const std::vector<std::array<float, 9>>& triangles, long extraBytes = 0) {
  std::string bytes(80, ' ');
  std::memcpy(bytes.data(), header, std::strlen(header));
  const uint32_t count = static_cast<uint32_t>(triangles.size());
  for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<char>((count >> (8 * k)) & 0xFF));
  for (const auto& t : triangles) {
    bytes.append(12, '\0');  // normal
    for (float v : t) bytes.append(reinterpret_cast<const char*>(&v), 4);
    bytes.append(2, '\0');
  }
  if (extraBytes > 0) bytes.append(static_cast<size_t>(extraBytes), '\0');
  if (extraBytes < 0) bytes.resize(bytes.size() - static_cast<size_t>(-extraBytes));
  return bytes;
}

const char* kQuad =
    "solid plate\n"
    "facet normal 0 0 1\n outer loop\n  vertex 0 0 0\n  vertex 2 0 0\n  vertex 2 3 0\n  vertex 0 3 0\n endloop\n"
    "endfacet\n"
    "facet normal 0 0 1\n outer loop\n  vertex 0 0 0\n  vertex 2 3 0\n  vertex 0 0 -1e1\n endloop\nendfacet\n"
    "endsolid plate\n";

TEST(StlReaderTest, ReadsBinaryAndAsciiSharingEqualVertices) {
  struct Case {
    std::string bytes;
    std::string name;
    size_t vertices, triangles;
    CADMathPoint high;
  };
  const std::vector<Case> cases = {
      {Binary("solid but binary: the size decides", {{0, 0, 0, 1, 0, 0, 0, 1, 0}, {1, 0, 0, 0, 1, 0, -0.0f, 0, 5}}),
       "",
       4,
       2,
       {1, 1, 5}},
      {kQuad, "plate", 5, 3, {2, 3, 0}},
  };
  for (const Case& c : cases) {
    CADGeometryBody body;
    CADUnicodeString error;
    ASSERT_EQ(CADStlReader::Parse(c.bytes, body, error), S_OK) << error;
    EXPECT_EQ(body.name.str(), c.name);
    EXPECT_EQ(body.vertices.size(), c.vertices);
    EXPECT_EQ(body.triangles.size(), c.triangles);
    EXPECT_EQ(body.GetBoundingBox().GetHigh(), c.high);
  }
}

TEST(StlReaderTest, ADamagedFileIsRefusedWithItsReasonAndKeepsNothing) {
  std::string quad = kQuad;
  const std::string nan = Binary("x", {{0, 0, 0, 1, 0, 0, 0, NAN, 0}});
  const struct {
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"", "too short"},
      {Binary("x", {{0, 0, 0, 1, 0, 0, 0, 1, 0}}, -1), "neither ASCII"},
      {nan, "not a finite number"},
      {"solid x\nfacet normal 0 0 1\n outer loop\n vertex 0 0 0\n vertex 1 0 0\n endloop\nendfacet\nendsolid\n",
       "line 6: a facet needs three vertices"},
      {quad.substr(0, quad.find("endsolid")), "without 'endsolid'"},
      {"solid x\nfacet normal 0 0 1\n outer loop\n vertex 0 0 1e999\n", "line 4: '1e999' is not a finite number"},
      {"solid x\nfacet normal 0 0 one\n", "line 2: 'one' is not a finite number"},
  };
  for (const auto& c : cases) {
    CADGeometryBody body;
    body.name = "kept";
    CADUnicodeString error;
    EXPECT_EQ(CADStlReader::Parse(c.bytes, body, error), E_FAIL) << c.reason;
    EXPECT_NE(error.str().find(c.reason), std::string::npos) << error;
    EXPECT_EQ(body.name.str(), "kept");
  }
}

}  // namespace
