#include "ZRBConfigFileReader.h"

#include <expat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <vector>

namespace {

constexpr const char* kRoot = "ZRBConfig";

// Collects one element's attributes and checks them against what the
// element may carry.
class AttributeSet {
 public:
  explicit AttributeSet(const XML_Char** attributes) {
    for (int i = 0; attributes && attributes[i]; i += 2) values_[attributes[i]] = attributes[i + 1];
  }
  // The first attribute not in allowed, or "" when all are known.
  std::string Unknown(std::initializer_list<const char*> allowed) const {
    for (const auto& [name, value] : values_) {
      bool known = false;
      for (const char* a : allowed) known = known || name == a;
      if (!known) return name;
    }
    return {};
  }
  bool Has(const char* name) const { return values_.count(name) != 0; }
  std::string Get(const char* name, const char* fallback = "") const {
    auto it = values_.find(name);
    return it == values_.end() ? fallback : it->second;
  }

 private:
  std::map<std::string, std::string> values_;
};

// The SAX handler state: where we are in the document and what was built.
class ConfigParser {
 public:
  ConfigParser() : parser_(XML_ParserCreate(nullptr), &XML_ParserFree) {
    XML_SetUserData(parser_.get(), this);
    XML_SetElementHandler(parser_.get(), &ConfigParser::OnStart, &ConfigParser::OnEnd);
    XML_SetCharacterDataHandler(parser_.get(), &ConfigParser::OnText);
    XML_SetStartDoctypeDeclHandler(parser_.get(), &ConfigParser::OnDoctype);
  }

  bool Feed(const char* bytes, size_t size, bool last) {
    if (!parser_) return Fail("cannot create the XML parser");
    if (XML_Parse(parser_.get(), bytes, static_cast<int>(size), last ? 1 : 0) != XML_STATUS_OK) {
      if (error_.empty())
        error_ = "line " + std::to_string(XML_GetCurrentLineNumber(parser_.get())) + ": " +
                 XML_ErrorString(XML_GetErrorCode(parser_.get()));
      return false;
    }
    return true;
  }

  const std::string& Error() const { return error_; }
  ZRBConfigData TakeData() { return std::move(data_); }

 private:
  static void OnStart(void* self, const XML_Char* name, const XML_Char** attributes) {
    static_cast<ConfigParser*>(self)->Start(name, AttributeSet(attributes));
  }
  static void OnEnd(void* self, const XML_Char*) {
    auto* parser = static_cast<ConfigParser*>(self);
    if (!parser->path_.empty()) parser->path_.pop_back();
  }
  static void OnText(void* self, const XML_Char* text, int length) {
    static_cast<ConfigParser*>(self)->Text(std::string_view(text, static_cast<size_t>(length)));
  }
  static void OnDoctype(void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    // Entity definitions are never needed here and would open the door to
    // entity expansion bombs.
    static_cast<ConfigParser*>(self)->Fail("a DOCTYPE is not allowed");
  }

  bool Fail(const std::string& what) {
    if (error_.empty()) {
      error_ = parser_ ? "line " + std::to_string(XML_GetCurrentLineNumber(parser_.get())) + ": " + what : what;
      if (parser_) XML_StopParser(parser_.get(), XML_FALSE);
    }
    return false;
  }

  void Text(std::string_view text) {
    if (!error_.empty()) return;
    if (text.find_first_not_of(" \t\r\n") != std::string_view::npos)
      Fail("text is not allowed inside <" + (path_.empty() ? std::string() : path_.back()) + ">");
  }

  bool Check(const std::string& element, const AttributeSet& attrs, std::initializer_list<const char*> allowed,
             std::initializer_list<const char*> required) {
    std::string unknown = attrs.Unknown(allowed);
    if (!unknown.empty()) return Fail("unknown attribute \"" + unknown + "\" on <" + element + ">");
    for (const char* r : required)
      if (attrs.Get(r).empty()) return Fail("<" + element + "> needs a non-empty \"" + r + "\"");
    return true;
  }

  bool Flag(const std::string& element, const AttributeSet& attrs, const char* name, int& out) {
    std::string v = attrs.Get(name, "0");
    if (v != "0" && v != "1") return Fail("\"" + std::string(name) + "\" on <" + element + "> must be 0 or 1");
    out = v == "1";
    return true;
  }

  void Start(const std::string& element, const AttributeSet& attrs) {
    // Pushed even after a fault: expat may still report the matching end.
    std::string parent = path_.empty() ? std::string() : path_.back();
    path_.push_back(element);
    if (!error_.empty()) return;
    if (parent.empty()) {
      if (element != kRoot) {
        Fail("the root element must be <" + std::string(kRoot) + ">, not <" + element + ">");
        return;
      }
      if (Check(element, attrs, {"version"}, {}) && attrs.Has("version") && attrs.Get("version") != "1")
        Fail("unsupported version \"" + attrs.Get("version") + "\" (this service reads version 1)");
      return;
    }
    if (parent == "FeatureExtension" && element == "Attribute") {
      if (!Check(element, attrs, {"name", "format"}, {"name"})) return;
      currentExtension_->AddAttribute(attrs.Get("name"), attrs.Get("format"));
      return;
    }
    if (parent != kRoot) {
      Fail("<" + element + "> is not allowed inside <" + parent + ">");
      return;
    }
    if (element == "FileCategory") {
      ZRBConfigFileCategory c;
      if (!Check(element, attrs, {"type", "pattern", "category", "link"}, {"type", "category"}) ||
          !Flag(element, attrs, "link", c.link))
        return;
      c.documentType = attrs.Get("type");
      c.namePattern = attrs.Get("pattern");
      c.category = attrs.Get("category");
      data_.AddFileCategory(std::move(c));
    } else if (element == "PartCategory") {
      int isDefault = 0;
      if (!Check(element, attrs, {"name", "display", "default"}, {"name"}) ||
          !Flag(element, attrs, "default", isDefault))
        return;
      std::string name = attrs.Get("name");
      if (!data_.AddPartCategory(name, attrs.Get("display", name.c_str()))) {
        Fail("part category \"" + name + "\" is configured twice");
        return;
      }
      if (isDefault) {
        if (!data_.DefaultPartCategory().empty()) {
          Fail("a second default part category \"" + name + "\" (the first is \"" + data_.DefaultPartCategory() +
               "\")");
          return;
        }
        data_.SetDefaultPartCategory(name);
      }
    } else if (element == "UserDefProperty") {
      if (Check(element, attrs, {"name"}, {"name"})) data_.AddUserDefProp(attrs.Get("name"));
    } else if (element == "FeatureExtension") {
      if (Check(element, attrs, {"container", "client", "type"}, {"container", "client", "type"}))
        currentExtension_ = &data_.AddFeatureExtension(attrs.Get("container"), attrs.Get("client"), attrs.Get("type"));
    } else if (element == "Behavior") {
      if (!Check(element, attrs, {"type", "behavior", "prefix"}, {"type", "behavior"})) return;
      std::string type = attrs.Get("type");
      if (type != "EmbeddedNodeBehavior" && type != "ProductNodeBehavior") {
        Fail("behavior type \"" + type + "\" is neither EmbeddedNodeBehavior nor ProductNodeBehavior");
        return;
      }
      data_.AddBehavior(type, attrs.Get("behavior"), attrs.Get("prefix"));
    } else {
      Fail("unknown element <" + element + ">");
    }
  }

  std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser_;
  std::vector<std::string> path_;
  ZRBFeatureExtension* currentExtension_ = nullptr;
  ZRBConfigData data_;
  std::string error_;
};

}  // namespace

std::optional<ZRBConfigData> ZRBConfigFileReader::ReadText(std::string_view xml, std::string& error) {
  ConfigParser parser;
  // Fed in slices so that an input beyond INT_MAX bytes is never truncated.
  constexpr size_t kSlice = 1 << 20;
  size_t offset = 0;
  do {
    size_t n = std::min(kSlice, xml.size() - offset);
    bool last = offset + n == xml.size();
    if (!parser.Feed(xml.data() + offset, n, last)) {
      error = parser.Error();
      return std::nullopt;
    }
    offset += n;
  } while (offset < xml.size());
  error.clear();
  return parser.TakeData();
}

std::optional<ZRBConfigData> ZRBConfigFileReader::ReadFile(const std::string& path, std::string& error) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    error = std::string("cannot open: ") + std::strerror(errno);
    return std::nullopt;
  }
  ConfigParser parser;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    size_t n = std::fread(buffer.data(), 1, buffer.size(), file.get());
    if (std::ferror(file.get())) {
      error = std::string("cannot read: ") + std::strerror(errno);
      return std::nullopt;
    }
    bool last = std::feof(file.get()) != 0;
    if (!parser.Feed(buffer.data(), n, last)) {
      error = parser.Error();
      return std::nullopt;
    }
    if (last) break;
  }
  error.clear();
  return parser.TakeData();
}
