// A helper the Windows end-to-end tests run under the same Wine as the program: asks
// Windows itself about the program's window, which the X side cannot tell (the X class is
// the .exe's name, not the window class).
//
//   window_probe find    prints "OpenGL Cubewright WIDTHxHEIGHT" (the client area) and
//                        exits 0, or exits 1 if no window of class "OpenGL" titled
//                        "Cubewright" exists
//   window_probe close   asks that window to close as its close button does; exits 1 if
//                        there is none
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_probe find|close\n");
        return 2;
    }
    const HWND window = FindWindowA("OpenGL", "Cubewright");
    if (window == nullptr) {
        std::fprintf(stderr, "window_probe: no window of class OpenGL titled Cubewright\n");
        return 1;
    }
    if (std::strcmp(argv[1], "find") == 0) {
        RECT client{};
        if (!GetClientRect(window, &client)) {
            return 1;
        }
        std::printf("OpenGL Cubewright %ldx%ld\n", client.right - client.left,
                    client.bottom - client.top);
        return 0;
    }
    if (std::strcmp(argv[1], "close") == 0) {
        // The close button sends this system command; the default handling turns it into
        // WM_CLOSE.
        return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
    }
    std::fprintf(stderr, "window_probe: unknown command %s\n", argv[1]);
    return 2;
}
