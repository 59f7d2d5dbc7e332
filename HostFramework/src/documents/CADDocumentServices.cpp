#include "CADDocumentServices.h"

#include <cstdlib>

#include "CADDocument.h"
#include "CADDocumentFiles.h"
#include "CADDocumentIdentity.h"
#include "CADDocumentImageBuilder.h"
#include "CADDocumentLoader.h"
#include "CADDocumentSession.h"
#include "CADDocumentState.h"
#include "CADDocumentWriter.h"
#include "CADFrmLayout.h"
#include "CADFrmWindow.h"

namespace {

CADDocumentSession& Session() { return CADDocumentSession::Get(); }

// "{a} {b}" gives a and b; a text without braces is one item.
CADListValCADUnicodeString SplitFormats(const std::string& text) {
  CADListValCADUnicodeString out;
  auto add = [&](std::string item) {
    CADUnicodeString s = CADUnicodeString(item).Strip();
    if (!s.IsEmpty() && !out.Locate(s)) out.Append(s);
  };
  if (text.find('{') == std::string::npos) {
    add(text);
    return out;
  }
  size_t open = text.find('{');
  while (open != std::string::npos) {
    size_t close = text.find('}', open + 1);
    if (close == std::string::npos) {
      add(text.substr(open + 1));
      break;
    }
    add(text.substr(open + 1, close - open - 1));
    open = text.find('{', close + 1);
  }
  return out;
}

HRESULT Write(CADDocument* document, const CADUnicodeString& path, int followLinks) {
  CADDocumentImage image = CADDocumentImageBuilder::Build(*document, path);
  std::string error;
  if (!CADDocumentFiles::WriteAtomically(path.str(), CADDocumentWriter::Write(image), followLinks != 0, error))
    return Session().Fail(error);
  return S_OK;
}

}  // namespace

void CADDocumentServices::LoadSession() {
  const char* formats = std::getenv("ZRB_REP_FORMATS");
  Session().representationFormats = formats ? SplitFormats(formats) : CADListValCADUnicodeString();
}

void CADDocumentServices::UnloadSession() { Session().Clear(); }

void CADDocumentServices::ResetSession() { Session().Reset(); }

HRESULT CADDocumentServices::GetIdentifierOfFile(const CADUnicodeString& path, CADUuid& identifier) {
  return CADDocumentIdentity::OfFile(path, identifier);
}

HRESULT CADDocumentServices::New(const CADUnicodeString& type, CADDocument*& document) {
  return CADDocumentLoader::CreateNew(type, CADUnicodeString(), document);
}

HRESULT CADDocumentServices::OpenDocument(const CADUnicodeString& path, CADDocument*& document, int readOnly) {
  return CADDocumentLoader::Open(path, readOnly, document);
}

HRESULT CADDocumentServices::Save(CADDocument* document, int followLinks) {
  if (!document || !document->IsInSession()) return Session().Fail("no document of the session to save");
  if (document->IsReadOnly()) return Session().Fail("'" + document->StorageName().str() + "' is read-only");
  HRESULT hr = Write(document, document->StorageName(), followLinks);
  if (FAILED(hr)) return hr;
  document->SetDirty(0);
  Session().Succeed();
  return S_OK;
}

HRESULT CADDocumentServices::SaveAs(CADDocument* document, const CADUnicodeString& path, int followLinks) {
  if (!document || !document->IsInSession()) return Session().Fail("no document of the session to save");
  if (path.IsEmpty()) return Session().Fail("no path to save to");
  if (document->IsReadOnly()) return Session().Fail("'" + document->StorageName().str() + "' is read-only");
  const CADUnicodeString target = CADDocumentLoader::Absolute(path);
  CADDocument* other = Session().Find(target);
  if (other && other != document) return Session().Fail("another document is open as '" + target.str() + "'");
  HRESULT hr = Write(document, target, followLinks);
  if (FAILED(hr)) return hr;
  document->State().storageName = target;
  document->SetDirty(0);
  Session().Succeed();
  return S_OK;
}

HRESULT CADDocumentServices::Remove(CADDocument* document) {
  if (!document || !document->IsInSession()) return Session().Fail("no document of the session to remove");
  CADVar<CADDocument> keep(document);
  CADFrmLayout& layout = CADFrmLayout::GetCurrentLayout();
  for (CADFrmWindow* window : layout.GetWindowsOf(document)) layout.DropWindow(window);
  Session().Take(document);
  Session().ReleaseContent(document);
  Session().Succeed();
  return S_OK;
}

CADDocument* CADDocumentServices::GetDocumentInSession(const CADUnicodeString& path) { return Session().Find(path); }

CADListValCADBaseUnknown_var CADDocumentServices::GetListOfDocuments() {
  CADListValCADBaseUnknown_var list;
  for (const auto& doc : Session().Documents()) list.Append(CADBaseUnknown_var(doc.get()));
  return list;
}

void CADDocumentServices::SetSearchPath(const CADListValCADUnicodeString& directories) {
  Session().searchPath = directories;
}

CADListValCADUnicodeString CADDocumentServices::GetSearchPath() { return Session().searchPath; }

void CADDocumentServices::SetRepresentationFormats(const CADListValCADUnicodeString& formats) {
  Session().representationFormats = formats;
}

CADListValCADUnicodeString CADDocumentServices::GetRepresentationFormats() { return Session().representationFormats; }

CADUnicodeString CADDocumentServices::GetTypeFromPath(const CADUnicodeString& path) {
  const std::string name = CADDocumentFiles::FileNameOf(path.str());
  auto dot = name.rfind('.');
  if (dot == std::string::npos || dot + 1 == name.size()) return CADUnicodeString();
  CADUnicodeString extension(name.substr(dot + 1));
  static const char* const kTypes[] = {"CADPart",     "CADProduct", "CADDrawing", "CADProcess",
                                       "CADAnalysis", "vis",        "model"};
  for (const char* t : kTypes)
    if (extension == t) return extension;
  if (Session().IsRepresentationFormat(extension)) return extension;
  return CADUnicodeString();
}

void CADDocumentServices::SetVisualizationModeLoading(int on) { Session().visualizationModeLoading = on != 0; }

int CADDocumentServices::GetVisualizationModeLoading() { return Session().visualizationModeLoading ? 1 : 0; }

void CADDocumentServices::SetNewDocumentDirectory(const CADUnicodeString& directory) {
  Session().newDocumentDirectory = CADDocumentLoader::Absolute(directory);
}

CADUnicodeString CADDocumentServices::GetLastError() { return CADUnicodeString(Session().LastError()); }
