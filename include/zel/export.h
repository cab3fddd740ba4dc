#ifndef ZEL_EXPORT_H
#define ZEL_EXPORT_H

/* ZEL_API marks what the zel library exports: the generator's public members, the job
 * records' special members, the .cube reader and the C interface. Everything else stays
 * hidden. This header is also read by C compilers (zel_c.h), down to C89. */
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

#endif /* ZEL_EXPORT_H */
