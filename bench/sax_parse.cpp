// Throughput of the host SAX layer on a property-manager-like document
// (thousands of small records), whole in memory and cut into small pieces.
#include <benchmark/benchmark.h>

#include <string>

#include "CADXMLSAX.h"

namespace {

class CountingHandler final : public CADIXMLSAXDocumentHandler {
 public:
  long elements = 0;
  long textBytes = 0;
  HRESULT StartElement(const CADUnicodeString&, const CADIXMLSAXAttributeList&) override {
    ++elements;
    return S_OK;
  }
  HRESULT Characters(const CADUnicodeString& text) override {
    textBytes += text.GetLength();
    return S_OK;
  }
};

std::string Document(int records) {
  std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZRBPropertyManager ProcessId = \"42\">\n  <FileList>\n";
  for (int i = 0; i < records; ++i) {
    doc += "    <File>\n      <FileFullPath>/xmap/part" + std::to_string(i) + ".CADPart</FileFullPath>\n";
    doc += "      <Property>\n        <Name>ZRB_OBID</Name>\n        <Value>obid &amp; " + std::to_string(i) +
           "</Value>\n      </Property>\n    </File>\n";
  }
  return doc + "  </FileList>\n</ZRBPropertyManager>\n";
}

void BM_SaxParse(benchmark::State& state) {
  std::string doc = Document(static_cast<int>(state.range(0)));
  CADIXMLSAXFactory_var factory;
  CreateCADIXMLSAXFactory(factory);
  CADIXMLSAXParser_var parser;
  factory->CreateParser(parser);
  auto handler = CADVar<CountingHandler>::Adopt(new CountingHandler);
  parser->SetDocumentHandler(handler);
  for (auto _ : state) {
    if (FAILED(parser->ParseText(doc, static_cast<size_t>(state.range(1))))) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(handler->elements);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(doc.size()));
}

}  // namespace

BENCHMARK(BM_SaxParse)->Args({1000, 0})->Args({10000, 0})->Args({10000, 4096})->Args({10000, 7});

BENCHMARK_MAIN();
