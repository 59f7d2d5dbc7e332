// What the structure benchmarks share: an answer of a read prepared in a fresh exchange map, five levels deep with
// shared parts, and a command to build it with. Included by one benchmark program each.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ZRBCommand.h"
#include "ZRBObject.h"
#include "ZRBObjectManager.h"

namespace zrbbench {

class BenchCmd : public ZRBCommand {
 public:
  BenchCmd() : ZRBCommand("BenchCmd") {}
};

constexpr int kDepth = 5;
constexpr int kSharedParts = 50;

inline void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// An exchange map with the answer "xfile.zrb" of about `nodes` nodes and the documents it names.
class PreparedAnswer {
 public:
  explicit PreparedAnswer(int nodes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "zrb-bench-read-XXXXXX").string();
    xmap_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    for (int p = 0; p < kSharedParts; ++p) {
      const std::string pn = "PART" + std::to_string(p);
      WriteFile(xmap_ + "/" + pn + ".CADPart", "CADHOST-DOCUMENT 1 CADPart\npartnumber \"" + pn + "\"\nend\n");
      ZRBObject* item = Item("IT_" + pn, pn);
      ZRBObject* document = Document("DC_" + pn, "IT_" + pn, pn + ".CADPart");
      document->SetSlotValue("DESCRIPTION", pn.c_str());
      item->SlotAppend("DOCCOMS", ("DC_" + pn).c_str());
    }
    // The smallest branching whose full tree of kDepth levels holds the nodes; the build stops at `nodes`.
    for (branching_ = 2;; ++branching_) {
      long full = 0, level = 1;
      for (int d = 0; d < kDepth; ++d, level *= branching_) full += level;
      if (full >= nodes) break;
    }
    ZRBObject* root = answer_.CreateObject("ROOT");
    root->SetSlotValue("ACTION_SUCCESS", "1");
    left_ = nodes;
    const std::string top = Assembly();
    Relate(root, top, "TOP.1", false);
    Fill(top, 1);
    answer_.Write((xmap_ + "/xfile.zrb").c_str());
  }
  ~PreparedAnswer() {
    std::error_code ignored;
    std::filesystem::remove_all(xmap_, ignored);
  }
  const std::string& Xmap() const { return xmap_; }
  int Nodes() const { return made_; }

 private:
  ZRBObject* Item(const std::string& key, const std::string& pn) {
    ZRBObject* item = answer_.CreateObject(key.c_str());
    item->SetSlotValue("OBID", key.c_str());
    item->SetSlotValue("CLASSNAME", "Part");
    item->SetSlotValue("DB_NAME", "PDMSIM");
    item->SetSlotValue("CHANGEABLE", "1");
    item->SetSlotValue("DESCRIPTION", pn.c_str());
    return item;
  }
  ZRBObject* Document(const std::string& key, const std::string& obid, const std::string& file) {
    ZRBObject* document = answer_.CreateObject(key.c_str());
    document->SetSlotValue("OBID", obid.c_str());
    document->SetSlotValue("CLASSNAME", "CadDoc");
    document->SetSlotValue("DB_NAME", "PDMSIM");
    document->SetSlotValue("CHANGEABLE", "1");
    document->SetSlotValue("MODIFICATION_DATE_GMT", "2026-01-02 03:04:05.000");
    document->SetSlotValue("EXTERNAL_LOCATION", (xmap_ + "/" + file).c_str());
    return document;
  }
  std::string Assembly() {
    const std::string pn = "ASM" + std::to_string(assemblies_++);
    WriteFile(xmap_ + "/" + pn + ".CADProduct", "CADHOST-DOCUMENT 1 CADProduct\npartnumber \"" + pn + "\"\nend\n");
    ZRBObject* item = Item("IT_" + pn, pn);
    Document("PD_" + pn, "PD_" + pn, pn + ".CADProduct")->SetSlotValue("PARTNUMBER", pn.c_str());
    item->SetSlotValue("PRODUCT", ("PD_" + pn).c_str());
    ++made_;
    --left_;
    return pn;
  }
  void Relate(ZRBObject* parent, const std::string& child, const std::string& name, bool pdm) {
    const std::string key = "RL" + std::to_string(relations_++);
    ZRBObject* relation = answer_.CreateObject(key.c_str());
    relation->SetSlotValue("ASS_ITEM_ID", ("IT_" + child).c_str());
    relation->SetSlotValue("INSTANCE_NAME", name.c_str());
    const double shift = relations_ % 97;
    relation->SetSlotValue("MATRIX", ("0 1 0 0 -1 0 0 0 0 0 1 0 " + std::to_string(shift) + " 2 3 1").c_str());
    if (pdm) relation->SetSlotValue("REL_OBID", key.c_str());
    parent->SlotAppend("SUBASSRELATIONS", key.c_str());
  }
  // Children of the assembly `pn` at `level`; the last level holds the shared parts.
  void Fill(const std::string& pn, int level) {
    ZRBObject* parent = answer_.GetObject(("IT_" + pn).c_str());
    for (int i = 1; i <= branching_ && left_ > 0; ++i) {
      if (level == kDepth - 1) {
        Relate(parent, "PART" + std::to_string(relations_ % kSharedParts), "P." + std::to_string(i), true);
        ++made_;
        --left_;
      } else {
        const std::string child = Assembly();
        Relate(parent, child, child + ".1", true);
        Fill(child, level + 1);
      }
    }
  }

  std::string xmap_;
  ZRBObjectManager answer_;
  int branching_ = 1, left_ = 0, made_ = 0, assemblies_ = 0, relations_ = 0;
};

}  // namespace zrbbench
