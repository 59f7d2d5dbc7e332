#include "OrigGeoAnswer.h"

#include <algorithm>
#include <filesystem>

#include "FileStore.h"
#include "PlainFileName.h"
#include "VaultCatalog.h"

namespace pdmsim {

namespace {

namespace fs = std::filesystem;

std::string LastComponent(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The model of an item: the document its kind stands for. A request may also name the document itself (its
// file name), as the read's re-fetch of a stale copy does.
std::optional<Document> ModelOf(VaultCatalog& catalog, const ExchangeObject& asked, std::optional<Item>& item) {
  item = catalog.FindItem(asked.Get("ID"));
  if (item) {
    const char* role = item->kind == "assembly" ? "product" : item->kind == "drawing" ? "drawing" : "part";
    return catalog.DocumentByRole(item->obid, role);
  }
  auto doc = catalog.FindDocumentByFileName(LastComponent(asked.Get("EXTERNAL_LOCATION")));
  if (doc) item = catalog.FindItem(doc->itemObid);
  return doc;
}

// Copies a stored document into the exchange map; its path there, "" when it cannot go there.
std::string Deliver(FileStore& store, const Document& doc, const std::string& exchangeMap, std::string& why) {
  if (!IsPlainFileName(doc.fileName)) {
    why = "its file name cannot go into the exchange map";
    return {};
  }
  const std::string target = exchangeMap + "/" + doc.fileName;
  return store.CopyTo(doc.blob, target, &why) ? target : std::string();
}

}  // namespace

std::string AnswerOrigGeo(Vault& vault, ExchangeFile& file, const std::string& exchangeMap,
                          const std::optional<Fault>& fault) {
  ExchangeObject& root = file.FindOrAdd("ROOT", true);
  const ExchangeObject* command = file.Find("COMMAND");
  const bool withVis = command && command->Get("COMMAND") == "REQUEST_GET_ORIG_GEO_AND_VIS";
  VaultCatalog catalog(vault);
  FileStore store(vault);
  std::error_code ec;
  const bool haveMap = fs::is_directory(exchangeMap, ec);
  const std::vector<std::string> keys = root.GetList("ITEMLIST");
  int delivered = 0;
  std::vector<std::string> refused;
  for (const std::string& key : keys) {
    ExchangeObject* object = file.Find(key);
    if (!object) continue;
    std::optional<Item> item;
    std::optional<Document> model = ModelOf(catalog, *object, item);
    std::string why;
    std::string placed;
    if (!haveMap) {
      why = "the exchange map " + exchangeMap + " is not a directory";
    } else if (!model) {
      why = "the vault holds no model for " + object->Get("ID");
    } else if (fault && item && std::count(fault->failParts.begin(), fault->failParts.end(), item->partNumber)) {
      why = "the delivery of " + item->partNumber + " is refused";
    } else {
      placed = Deliver(store, *model, exchangeMap, why);
    }
    if (placed.empty()) {
      object->Set("ACTION_SUCCESS", "0");
      root.Append("STATS", "Reference PDM: " + key + " not fetched: " + why + ".");
      refused.push_back(key);
      continue;
    }
    object->Set("ACTION_SUCCESS", "1");
    object->Set("EXTERNAL_LOCATION", placed);
    object->Set("MODIFICATION_DATE_GMT", model->modified);
    std::string vis;
    if (withVis && item) {
      for (const Document& doc : catalog.Documents(item->obid)) {
        std::string ignored;
        if (EndsWith(doc.fileName, ".vis")) vis = Deliver(store, doc, exchangeMap, ignored);
        if (!vis.empty()) break;
      }
    }
    object->Set("VIS_LOCATION", vis);
    ++delivered;
  }
  const std::size_t asked = delivered + refused.size();
  root.Set("ACTION_SUCCESS", delivered == 0 ? "0" : refused.empty() ? "1" : "3");
  std::string outcome = std::to_string(delivered) + " of " + std::to_string(asked) + " models delivered";
  for (const std::string& key : refused) outcome += "; not fetched " + key;
  return outcome;
}

}  // namespace pdmsim
