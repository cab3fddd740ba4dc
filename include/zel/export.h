#ifndef ZEL_EXPORT_H
#define ZEL_EXPORT_H

// ZEL_API marks what the zel library exports: the generator's public members, the
// job records' special members and the .cube reader. Everything else stays hidden.
#if defined(_WIN32) || defined(__CYGWIN__)
#if defined(ZEL_BUILDING_LIBRARY)
#define ZEL_API __declspec(dllexport)
#elif defined(ZEL_STATIC_INTERNAL)
#define ZEL_API
#else
#define ZEL_API __declspec(dllimport)
#endif
#else
#define ZEL_API __attribute__((visibility("default")))
#endif

#endif  // ZEL_EXPORT_H
