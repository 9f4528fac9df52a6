// The program's window and its OpenGL context: GLWindow, from the back end this build
// uses (Win32 and WGL on Windows, SDL2 elsewhere). Both give the main loop the same
// operations; see their headers.
#pragma once

#ifdef _WIN32
#include "platform/win32/gl_window.h"
#elif defined(__EMSCRIPTEN__)
#include "platform/web/gl_window.h"
#else
#include "platform/sdl/gl_window.h"
#endif
