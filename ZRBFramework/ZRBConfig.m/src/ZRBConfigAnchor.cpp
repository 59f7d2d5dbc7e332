// Placeholder until the configuration service lands.
extern "C" const char* ZRBConfigLibraryName() { return "ZRBConfig"; }
