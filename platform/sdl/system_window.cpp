// GLWindow's system half on SDL2; see system_window.h. SDL's video subsystem stands for
// the window class, the loaded GL driver for the device context, and the GL attributes set
// before the window exists for the pixel format.
#include "platform/sdl/system_window.h"

#include <SDL.h>

#include "platform/gl_setup.h"
#include "platform/gl_window.h"
#include "platform/sdl/display_loss.h"
#include "platform/sdl/key_translate.h"
#include "platform/sdl/sdl_calls.h"

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

SystemWindow::SystemWindow() : m_calls(&sdlCalls()) {}

bool SystemWindow::registerClass() {
    // Every pending event is handed out before the pump reports an empty queue, so a
    // burst of events is drained before the next frame starts.
    SDL_SetHint(SDL_HINT_POLL_SENTINEL, "0");
    if (calls().initVideo() != 0) {
        return false;
    }
    m_videoReady = true;
    if (const char* driver = calls().videoDriver();
        driver != nullptr && SDL_strcasecmp(driver, "x11") == 0) {
        exitAtOnceOnDisplayLoss();
    }
    return true;
}

bool SystemWindow::unregisterClass() {
    if (m_videoReady) {
        calls().quitVideo();
        m_videoReady = false;
    }
    return true;
}

bool SystemWindow::switchDisplayMode(int width, int height, int bits) {
    // The fullscreen mode must match the client size and the colour depth exactly. SDL
    // hands back its closest mode, which may differ in either: it prefers the requested
    // depth but does not insist on it. The mode itself is set once the window exists.
    SDL_DisplayMode wanted{};
    wanted.format = bits <= 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode mode{};
    if (!calls().closestDisplayMode(&wanted, &mode) || mode.w != width || mode.h != height ||
        storedBitsPerPixel(mode.format) != bits) {
        return false;
    }
    m_modeFormat = mode.format;
    m_modeWidth = mode.w;
    m_modeHeight = mode.h;
    m_modeRefreshRate = mode.refresh_rate;
    return true;
}

void SystemWindow::restoreDisplayMode() {
    if (m_window != nullptr) {
        SDL_SetWindowFullscreen(m_window, 0);
    }
}

void SystemWindow::showCursor(bool shown) {
    if (m_videoReady) {
        SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE);
    }
}

OpenFailure SystemWindow::openWindow(const WindowRequest& request) {
    if (!m_headlessAllowed && isHeadlessDriver(calls().videoDriver())) {
        return OpenFailure::Window;
    }
    if (calls().loadGL() != 0) {
        return OpenFailure::DeviceContext;
    }
    m_glLibraryLoaded = true;

    // Double-buffered RGBA with a 16-bit depth buffer and no stencil, alpha or
    // accumulation bits. No profile or version is asked for: immediate mode needs the
    // compatibility context that SDL gives by default.
    if (request.bits <= 0) {
        return OpenFailure::ChoosePixelFormat;
    }
    const bool highColour = request.bits <= 16;
    const struct {
        SDL_GLattr attribute;
        int value;
    } pixelFormat[] = {
        {SDL_GL_DOUBLEBUFFER, 1},
        {SDL_GL_RED_SIZE, highColour ? 5 : 8},
        {SDL_GL_GREEN_SIZE, highColour ? 6 : 8},
        {SDL_GL_BLUE_SIZE, highColour ? 5 : 8},
        {SDL_GL_ALPHA_SIZE, 0},
        {SDL_GL_DEPTH_SIZE, kDepthBits},
        {SDL_GL_STENCIL_SIZE, 0},
        {SDL_GL_ACCUM_RED_SIZE, 0},
        {SDL_GL_ACCUM_GREEN_SIZE, 0},
        {SDL_GL_ACCUM_BLUE_SIZE, 0},
        {SDL_GL_ACCUM_ALPHA_SIZE, 0},
    };
    for (const auto& entry : pixelFormat) {
        if (calls().setGLAttribute(entry.attribute, entry.value) != 0) {
            return OpenFailure::SetPixelFormat;
        }
    }

    // Hidden until the context is current; shown once it is.
    const Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN |
                         (request.fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE);
    m_window = calls().createWindow(request.title, 0, 0, request.width, request.height, flags);
    if (m_window == nullptr) {
        return OpenFailure::Window;
    }
    if (request.fullscreen) {
        const SDL_DisplayMode mode{m_modeFormat, m_modeWidth, m_modeHeight, m_modeRefreshRate,
                                   nullptr};
        if (SDL_SetWindowDisplayMode(m_window, &mode) != 0) {
            return OpenFailure::Window;
        }
    }

    m_context = calls().createContext(m_window);
    if (m_context == nullptr) {
        return OpenFailure::CreateContext;
    }
    if (calls().makeCurrent(m_window, m_context) != 0) {
        return OpenFailure::MakeCurrent;
    }
    return OpenFailure::None;
}

void SystemWindow::disableVsync() {
    // Some drivers cannot change it (Xvfb's refuses), which is harmless.
    calls().setSwapInterval(0);
}

void SystemWindow::showWindow() {
    SDL_ShowWindow(m_window);
    SDL_RaiseWindow(m_window);
    SDL_DisableScreenSaver();
}

CloseFailures SystemWindow::closeWindow() {
    CloseFailures failures;
    if (m_context != nullptr) {
        failures.releaseCurrent = calls().makeCurrent(m_window, nullptr) != 0;
        calls().deleteContext(m_context);
        m_context = nullptr;
    }
    if (m_window != nullptr) {
        calls().destroyWindow(m_window);
        m_window = nullptr;
    }
    if (m_glLibraryLoaded) {
        calls().unloadGL();
        m_glLibraryLoaded = false;
    }
    return failures;
}

PumpResult SystemWindow::pumpEvent(GLWindow& window) {
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return PumpResult::None;
    }
    if (event.type == SDL_QUIT) {
        return PumpResult::Quit;
    }
    handleEvent(event, window);
    return PumpResult::Dispatched;
}

void SystemWindow::handleEvent(const SDL_Event& event, GLWindow& window) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        // Auto-repeat arrives as further key-downs, which set the entry again after a
        // one-shot command has cleared it. Unused keys give -1, which is ignored.
        window.keyEvent(keyCodeFromKey(event.key.keysym.scancode, event.key.keysym.sym),
                        event.type == SDL_KEYDOWN);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        // The left button, or a finger (SDL turns touches into left-button events). SDL
        // keeps the mouse while the button is held, so the release comes even outside the
        // window, with its position there.
        if (event.button.button == SDL_BUTTON_LEFT && isCurrentWindow(event.button.windowID)) {
            window.pointerEvent(event.type == SDL_MOUSEBUTTONDOWN ? PointerEvent::Kind::Press
                                                                  : PointerEvent::Kind::Release,
                                event.button.x, event.button.y);
        }
        break;
    case SDL_MOUSEMOTION:
        if ((event.motion.state & SDL_BUTTON_LMASK) != 0 &&
            isCurrentWindow(event.motion.windowID)) {
            window.pointerEvent(PointerEvent::Kind::Move, event.motion.x, event.motion.y);
        }
        break;
    case SDL_WINDOWEVENT:
        // Events still queued for a window that has been destroyed are dropped.
        if (!isCurrentWindow(event.window.windowID)) {
            break;
        }
        switch (event.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            window.setActive(false);
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            window.setActive(true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // Another window took the pointer: a drag ends where it is.
            window.pointerEvent(PointerEvent::Kind::Cancel, 0, 0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            window.resizeViewport(event.window.data1, event.window.data2);
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

bool SystemWindow::isCurrentWindow(std::uint32_t windowId) const {
    return m_window != nullptr && windowId == SDL_GetWindowID(m_window);
}

void SystemWindow::swapBuffers() {
    if (m_window != nullptr) {
        SDL_GL_SwapWindow(m_window);
    }
}

std::uint32_t SystemWindow::ticks() {
    return SDL_GetTicks();
}

void SystemWindow::sleep(std::uint32_t milliseconds) {
    SDL_Delay(milliseconds);
}

std::uint32_t SystemWindow::windowId() const {
    return m_window != nullptr ? SDL_GetWindowID(m_window) : 0;
}

void SystemWindow::setCalls(const SdlCalls* calls) {
    m_calls = calls != nullptr ? calls : &sdlCalls();
}

} // namespace cw
