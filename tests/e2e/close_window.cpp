// Asks an X window to close the way a window manager's close button does: a WM_PROTOCOLS
// client message carrying WM_DELETE_WINDOW. The end-to-end close test runs it on the
// program's window; xdotool can only destroy a window or kill its client, which a close
// button never does.
//
//   cubewright-e2e-close WINDOW_ID
#include <X11/Xlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: cubewright-e2e-close WINDOW_ID\n", stderr);
        return 2;
    }
    char* end = nullptr;
    errno = 0;
    const unsigned long id = std::strtoul(argv[1], &end, 0);
    if (end == argv[1] || *end != '\0' || errno != 0 || id == 0) {
        std::fprintf(stderr, "cubewright-e2e-close: not a window id: %s\n", argv[1]);
        return 2;
    }

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("cubewright-e2e-close: cannot open the display\n", stderr);
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, id, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    if (sent == 0) {
        std::fputs("cubewright-e2e-close: the close request could not be sent\n", stderr);
        return 1;
    }
    return 0;
}
