// Writes the sample session's documents into a directory.
#include <cstdio>

#include "CADSampleSession.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: samplesession <existing directory>\n");
    return 2;
  }
  CADUnicodeString error;
  if (FAILED(CADSampleSession::Write(argv[1], error))) {
    std::fprintf(stderr, "samplesession: %s\n", error.c_str());
    return 1;
  }
  for (const CADUnicodeString& name : CADSampleSession::FileNames()) std::printf("%s/%s\n", argv[1], name.c_str());
  return 0;
}
