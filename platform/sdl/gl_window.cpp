// GLWindow on SDL2; see gl_window.h. create keeps the classic order of setting up a GL
// window: SDL's video subsystem stands for the window class, the loaded GL driver for the
// device context, and the GL attributes set before the window exists for the pixel format.
#include "platform/sdl/gl_window.h"

#include <SDL.h>

#include "platform/gl_setup.h"
#include "platform/sdl/display_loss.h"
#include "platform/sdl/key_translate.h"
#include "platform/sdl/sdl_calls.h"
#include "platform/window_messages.h"

namespace cw {

namespace {

// SDL falls back to these when there is no display; a window there would never be seen.
bool isHeadlessDriver(const char* driver) {
    return driver == nullptr || SDL_strcasecmp(driver, "offscreen") == 0 ||
           SDL_strcasecmp(driver, "dummy") == 0;
}

// A mode's colour depth as a display-mode switch counts it: the bits each pixel takes in
// memory, so 5-6-5 colour is 16 bits and 8-8-8 colour in four bytes is 32.
int storedBitsPerPixel(Uint32 format) {
    return static_cast<int>(SDL_BYTESPERPIXEL(format)) * 8;
}

} // namespace

GLWindow& GLWindow::instance() {
    static GLWindow window;
    return window;
}

GLWindow::GLWindow() : m_calls(&sdlCalls()) {}

GLWindow::~GLWindow() {
    destroy();
    if (m_exitHook != nullptr) {
        m_exitHook();
    }
}

bool GLWindow::create(const char* title, int width, int height, int bits, bool fullscreen) {
    // A window still open would otherwise be leaked; callers normally destroy first.
    destroy();
    // Key-up events of the old window are lost with it, so start with no key held.
    m_keys.fill(false);

    m_fullscreen = fullscreen;

    // Every pending event is handed out before the pump reports an empty queue, so a
    // burst of events is drained before the next frame starts.
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
    if (calls().initVideo() != 0) {
        m_messages.error("Failed To Register The Window Class.");
        return false;
    }
    m_videoReady = true;
    if (const char* driver = calls().videoDriver();
        driver != nullptr && SDL_strcasecmp(driver, "x11") == 0) {
        exitAtOnceOnDisplayLoss();
    }

    // The fullscreen mode must match the client size and the colour depth exactly. SDL
    // hands back its closest mode, which may differ in either: it prefers the requested
    // depth but does not insist on it.
    SDL_DisplayMode mode{};
    if (m_fullscreen) {
        SDL_DisplayMode wanted{};
        wanted.format = bits <= 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
        wanted.w = width;
        wanted.h = height;
        const bool found = calls().closestDisplayMode(&wanted, &mode) && mode.w == width &&
                           mode.h == height && storedBitsPerPixel(mode.format) == bits;
        if (!found) {
            if (m_messages.askWindowedInstead()) {
                m_fullscreen = false;
            } else {
                destroy();
                m_messages.programWillClose();
                return false;
            }
        }
    }

    if (m_fullscreen) {
        SDL_ShowCursor(SDL_DISABLE);
    }

    if (!m_headlessAllowed && isHeadlessDriver(calls().videoDriver())) {
        return fail("Window Creation Error.");
    }

    if (calls().loadGL() != 0) {
        return fail("Can't Create A GL Device Context.");
    }
    m_glLibraryLoaded = true;

    // Double-buffered RGBA with a 16-bit depth buffer and no stencil, alpha or
    // accumulation bits. No profile or version is asked for: immediate mode needs the
    // compatibility context that SDL gives by default.
    if (bits <= 0) {
        return fail("Can't Find A Suitable PixelFormat.");
    }
    const int red = bits <= 16 ? 5 : 8;
    const int green = bits <= 16 ? 6 : 8;
    const int blue = bits <= 16 ? 5 : 8;
    const struct {
        SDL_GLattr attribute;
        int value;
    } pixelFormat[] = {
        {SDL_GL_DOUBLEBUFFER, 1},    {SDL_GL_RED_SIZE, red},       {SDL_GL_GREEN_SIZE, green},
        {SDL_GL_BLUE_SIZE, blue},    {SDL_GL_ALPHA_SIZE, 0},       {SDL_GL_DEPTH_SIZE, kDepthBits},
        {SDL_GL_STENCIL_SIZE, 0},    {SDL_GL_ACCUM_RED_SIZE, 0},   {SDL_GL_ACCUM_GREEN_SIZE, 0},
        {SDL_GL_ACCUM_BLUE_SIZE, 0}, {SDL_GL_ACCUM_ALPHA_SIZE, 0},
    };
    for (const auto& entry : pixelFormat) {
        if (calls().setGLAttribute(entry.attribute, entry.value) != 0) {
            return fail("Can't Set The PixelFormat.");
        }
    }

    // Hidden until the context is current; shown once it is.
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN |
                         (m_fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE);
    m_hWnd = calls().createWindow(title, 0, 0, width, height, flags);
    if (m_hWnd == nullptr) {
        return fail("Window Creation Error.");
    }
    if (m_fullscreen && SDL_SetWindowDisplayMode(m_hWnd, &mode) != 0) {
        return fail("Window Creation Error.");
    }

    m_hRC = calls().createContext(m_hWnd);
    if (m_hRC == nullptr) {
        return fail("Can't Create A GL Rendering Context.");
    }
    if (calls().makeCurrent(m_hWnd, m_hRC) != 0) {
        return fail("Can't Activate The GL Rendering Context.");
    }
    // The main loop paces its frames itself; vsync would halve the rate under that
    // pacing. Some drivers cannot change it, which is harmless.
    calls().setSwapInterval(0);

    SDL_ShowWindow(m_hWnd);
    SDL_RaiseWindow(m_hWnd);
    SDL_DisableScreenSaver();
    m_active = true;

    resizeViewport(width, height);
    if (!initGLState()) {
        return fail("Initialization Failed.");
    }
    return true;
}

void GLWindow::destroy() {
    if (m_fullscreen) {
        // Back to the desktop mode and cursor before anything is released.
        if (m_hWnd != nullptr) {
            SDL_SetWindowFullscreen(m_hWnd, 0);
        }
        if (m_videoReady) {
            SDL_ShowCursor(SDL_ENABLE);
        }
    }
    if (m_hRC != nullptr) {
        if (calls().makeCurrent(m_hWnd, nullptr) != 0) {
            m_messages.shutdownError("Release Of DC And RC Failed.");
        }
        calls().deleteContext(m_hRC);
        m_hRC = nullptr;
    }
    if (m_hWnd != nullptr) {
        calls().destroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    if (m_glLibraryLoaded) {
        calls().unloadGL();
        m_glLibraryLoaded = false;
    }
    if (m_videoReady) {
        calls().quitVideo();
        m_videoReady = false;
    }
}

PumpResult GLWindow::pumpEvent() {
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return PumpResult::None;
    }
    if (event.type == SDL_QUIT) {
        return PumpResult::Quit;
    }
    windowProc(event);
    return PumpResult::Dispatched;
}

void GLWindow::windowProc(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        // Auto-repeat arrives as further key-downs, which set the entry again after a
        // one-shot command has cleared it. Unused keys give -1, which setKey ignores.
        setKey(m_keys, keyCodeFromKey(event.key.keysym.scancode, event.key.keysym.sym),
               event.type == SDL_KEYDOWN);
        break;
    case SDL_WINDOWEVENT:
        // Events still queued for a window that has been destroyed are dropped.
        if (m_hWnd == nullptr || event.window.windowID != SDL_GetWindowID(m_hWnd)) {
            break;
        }
        switch (event.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            m_active = false;
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            m_active = true;
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            resizeViewport(event.window.data1, event.window.data2);
            break;
        case SDL_WINDOWEVENT_CLOSE: {
            // The main loop ends on the quit event, as it does on SIGTERM.
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
            break;
        }
        default:
            break;
        }
        break;
    default:
        break;
    }
}

void GLWindow::resizeViewport(int width, int height) {
    setViewportAndProjection(width, height);
}

bool GLWindow::initGLState() {
    return setInitialGLState();
}

void GLWindow::swapBuffers() {
    if (m_hWnd != nullptr) {
        SDL_GL_SwapWindow(m_hWnd);
    }
}

std::uint32_t GLWindow::windowId() const {
    return m_hWnd != nullptr ? SDL_GetWindowID(m_hWnd) : 0;
}

std::uint32_t GLWindow::ticks() {
    return SDL_GetTicks();
}

void GLWindow::sleep(std::uint32_t milliseconds) {
    SDL_Delay(milliseconds);
}

void GLWindow::setMessageBoxes(MessageBoxes* boxes) {
    m_messages.setBoxes(boxes);
}

void GLWindow::setSdlCalls(const SdlCalls* calls) {
    m_calls = calls != nullptr ? calls : &sdlCalls();
}

bool GLWindow::fail(const char* text) {
    destroy();
    m_messages.error(text);
    return false;
}

} // namespace cw
