#pragma once
// Finding a module that this process has already loaded, and the functions it exports.
//
// The plug-in reaches its host only through functions that the host executable exports by name.
// On Windows these two services are the kernel's GetModuleHandleA and GetProcAddress; elsewhere a
// small layer over the dynamic loader keeps the same contract, so that the plug-in code reads the
// same on every platform.

namespace platform {

// A module already loaded in this process. It holds no reference on the module: it stays valid
// as long as whoever loaded the module keeps it loaded, and it is never released.
using ModuleHandle = void*;

// Address of an exported function; the caller casts it to the function's real signature.
using ExportedFunction = void (*)();

// The loaded module whose file name is `fileName` (for instance "Quorvis.exe"), or null when the
// process has no such module. Never loads a module and takes no reference on it. The process's
// main program counts as a loaded module. Names are compared without regard to letter case.
// Where programs carry no ".exe" suffix, a name matches with or without it, so "Quorvis.exe"
// finds the program `quorvis`.
ModuleHandle findLoadedModule(const char* fileName) noexcept;

// The address of the function that `module` itself exports under exactly `name`, or null when it
// exports none. Functions of other modules (the module's own dependencies included) are never
// returned. A null module finds nothing.
ExportedFunction findExportedFunction(ModuleHandle module, const char* name) noexcept;

}  // namespace platform
