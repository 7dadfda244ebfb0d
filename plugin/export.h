#pragma once
// Marks the plug-in's exported surface: the entry points the host looks up by name and the
// classes it drives. Everything else in the library stays hidden.
//
// Code built into the plug-in defines TANDREL_BUILDING_PLUGIN. A host that includes the plug-in's
// headers only calls through the virtual functions and the looked-up entry points, so it needs no
// import declarations.

#if defined(_WIN32)
#if defined(TANDREL_BUILDING_PLUGIN)
#define TANDREL_EXPORT __declspec(dllexport)
#else
#define TANDREL_EXPORT
#endif
#else
#define TANDREL_EXPORT __attribute__((visibility("default")))
#endif
