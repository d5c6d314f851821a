// OpenGL 1.1 declarations for the portable drawing code. On Windows the
// header wants two calling-convention macros that would otherwise pull in
// all of <windows.h>.
#pragma once

#if defined(_WIN32)
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#endif

#include <GL/gl.h>
