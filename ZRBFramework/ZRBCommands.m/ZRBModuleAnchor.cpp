// Gives the module libraries one translation unit of their own, so that they
// can be declared while their subsystems are still empty.
extern "C" const char* ZRBCommandsModuleName() { return "ZRBCommands"; }
