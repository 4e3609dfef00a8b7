// Common definitions of the engine interface shared by zvengine.dll and its
// hosts (the player, plug-ins, tests). Plain C so that plug-ins built with
// any compiler can use it.
#pragma once
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define ZV_EXTERN_C extern "C"
#else
#define ZV_EXTERN_C
#endif

// Every engine export: C linkage, stdcall. The export table holds the plain
// names (no @N decoration) on both architectures.
#define ZVAPI __stdcall
#define ZVEXPORT ZV_EXTERN_C

// Booleans cross the interface as 32-bit integers: the engine returns -1 for
// true and 0 for false, and takes any non-zero value as true.
typedef int32_t ZvBool;
#define ZV_TRUE (-1)
#define ZV_FALSE 0

// Checks a record layout where it is defined. The layouts are given for the
// 32-bit build; ZV_LAYOUT_32 checks only there (pointer-sized fields widen on
// x86_64), ZV_LAYOUT checks on both.
#ifdef __cplusplus
#define ZV_STATIC_ASSERT static_assert
#else
#define ZV_STATIC_ASSERT _Static_assert
#endif
#define ZV_LAYOUT(expr) ZV_STATIC_ASSERT(expr, #expr)
// The check that does not apply still expands to a declaration, so the
// trailing semicolon stays valid for pedantic compilers of outside plug-ins.
#define ZV_LAYOUT_SKIPPED ZV_STATIC_ASSERT(1, "other architecture")
#if defined(_WIN64)
#define ZV_LAYOUT_32(expr) ZV_LAYOUT_SKIPPED
#define ZV_LAYOUT_64(expr) ZV_STATIC_ASSERT(expr, #expr)
#else
#define ZV_LAYOUT_32(expr) ZV_STATIC_ASSERT(expr, #expr)
#define ZV_LAYOUT_64(expr) ZV_LAYOUT_SKIPPED
#endif
