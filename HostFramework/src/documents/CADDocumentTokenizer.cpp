#include "CADDocumentTokenizer.h"

bool CADDocumentTokenizer::Split(std::string_view line, std::vector<std::string>& tokens, std::string& error) {
  tokens.clear();
  size_t i = 0;
  const size_t n = line.size();
  while (i < n) {
    const char c = line[i];
    if (c == ' ' || c == '\t') {
      ++i;
      continue;
    }
    std::string token;
    if (c == '"') {
      ++i;
      bool closed = false;
      while (i < n) {
        char q = line[i++];
        if (q == '"') {
          closed = true;
          break;
        }
        if (q == '\\') {
          if (i >= n) break;
          char e = line[i++];
          switch (e) {
            case '"':
              token += '"';
              break;
            case '\\':
              token += '\\';
              break;
            case 'n':
              token += '\n';
              break;
            case 'r':
              token += '\r';
              break;
            case 't':
              token += '\t';
              break;
            default:
              error = std::string("unknown escape \\") + e;
              return false;
          }
          continue;
        }
        token += q;
      }
      if (!closed) {
        error = "unterminated quoted text";
        return false;
      }
      if (i < n && line[i] != ' ' && line[i] != '\t') {
        error = "text right after a closing quote";
        return false;
      }
    } else {
      while (i < n && line[i] != ' ' && line[i] != '\t') {
        const unsigned char b = static_cast<unsigned char>(line[i]);
        if (b < 0x20 || b == 0x7f || line[i] == '"') {
          error = "unexpected character in a word";
          return false;
        }
        token += line[i++];
      }
    }
    tokens.push_back(std::move(token));
  }
  return true;
}

std::string CADDocumentTokenizer::Quote(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  out += '"';
  for (char c : value) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  out += '"';
  return out;
}
