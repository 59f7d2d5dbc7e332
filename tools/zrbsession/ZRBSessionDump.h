// The whole visible state of the session as one JSON document (`dump --json`, `--dump FILE`): documents and their
// windows, the product tree with host attributes and the module's properties, file and global properties, the
// status word, message centres, message boxes, open dialogs and the results of finished commands.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>

class ZRBSessionRunner;
struct ZRBSessionNode;

using ZRBSessionJson = nlohmann::ordered_json;
// Adds fields of its own to a product node's object (registered in the command table).
using ZRBSessionNodeFields =
    std::function<void(ZRBSessionRunner& runner, const ZRBSessionNode& node, ZRBSessionJson& object)>;

// Adds a top-level section of its own to the dump (registered in the command table).
using ZRBSessionDumpSection = std::function<void(ZRBSessionRunner& runner, ZRBSessionJson& dump)>;

class ZRBSessionDump {
 public:
  static ZRBSessionJson Build(ZRBSessionRunner& runner);
  // Writes Build() to `path`; false with `error` when the file cannot be written.
  static bool WriteFile(ZRBSessionRunner& runner, const std::string& path, std::string& error);
};
