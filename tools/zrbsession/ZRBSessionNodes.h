// Finds products of the session by a readable path ("Assembly/Bracket.2/Bolt.1":
// a root's part number or file name, then instance names) and lists the top
// roots, that is the root products no other document of the session uses.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CADDocument.h"
#include "CADIProduct.h"
#include "CADMathTransformation.h"

struct ZRBSessionNode {
  CADIProduct_var product;
  CADIProduct_var parent;  // null for a root
  std::string path;        // as the user writes it
};

class ZRBSessionNodes {
 public:
  // Documents of the session in opening order.
  static std::vector<CADDocument*> Documents();
  // A document by file name, full path or its root's part number; null when none.
  static CADDocument* FindDocument(std::string_view name);
  // Root products of documents that no other document points at.
  static std::vector<ZRBSessionNode> TopRoots();
  // False, with `error` naming the missing level, when the path leads nowhere.
  static bool Resolve(std::string_view path, ZRBSessionNode& node, std::string& error);
  // Children of a node with their paths.
  static std::vector<ZRBSessionNode> Children(const ZRBSessionNode& node);
  // Instance name (a root: its part number) and part number as texts.
  static std::string InstanceName(const CADIProduct_var& product);
  static std::string PartNumber(const CADIProduct_var& product);
  // Position relative to the father (identity for a root).
  static CADMathTransformation Position(const CADIProduct_var& product);
  // "at 0 300 0, rotated" style summary; "" for the identity.
  static std::string DescribePosition(const CADMathTransformation& position);
  // The document that holds the node's reference, or null.
  static CADDocument* DocumentOf(const CADIProduct_var& product);
};
