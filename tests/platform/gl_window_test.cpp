// Tests of GLWindow's SDL back end on SDL's offscreen driver: the SDL calls it makes and
// what it asks of them (GL attributes, swap interval, display modes, window flags, the
// cursor), which SDL call failing is which failure of create or destroy and what SDL state
// is left after it, how SDL's key, window and quit events reach the window, its release
// order, and the GL set-up (gl_setup.cpp) on a real context. What the window core does
// with each step (the order of the steps, the texts and what is released before them, the
// fullscreen question, the key table, the active flag) is tested once, against a fake back
// end, in window_core_test.cpp; the translation of SDL keys in key_translate_test.cpp.
#include "platform/gl_window.h"

#include <SDL.h>
#include <SDL_opengl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "platform/message_box.h"
#include "platform/sdl/sdl_calls.h"
#include "tests/support/recording_boxes.h"

namespace cw {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using testing::error;
using testing::kQuestion;
using testing::RecordingBoxes;
using testing::Shown;

// The names of the release calls, in the order they were made.
std::vector<std::string> g_releases;

SdlCalls loggingCalls() {
    SdlCalls calls = sdlCalls();
    calls.quitVideo = [] {
        g_releases.push_back("quitVideo");
        sdlCalls().quitVideo();
    };
    calls.unloadGL = [] {
        g_releases.push_back("unloadGL");
        sdlCalls().unloadGL();
    };
    calls.destroyWindow = [](SDL_Window* window) {
        g_releases.push_back("destroyWindow");
        sdlCalls().destroyWindow(window);
    };
    calls.makeCurrent = [](SDL_Window* window, SDL_GLContext context) {
        if (context == nullptr) {
            g_releases.push_back("makeCurrent(none)");
        }
        return sdlCalls().makeCurrent(window, context);
    };
    calls.deleteContext = [](SDL_GLContext context) {
        g_releases.push_back("deleteContext");
        sdlCalls().deleteContext(context);
    };
    return calls;
}

class GLWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_releases.clear();
        window.setMessageBoxes(&boxes);
        window.system().setHeadlessAllowed(true);
    }

    void TearDown() override {
        window.destroy();
        window.system().setCalls(nullptr);
        window.setMessageBoxes(nullptr);
        window.system().setHeadlessAllowed(false);
    }

    bool createDefault(bool fullscreen = false) {
        return window.create("Cubewright", 640, 480, 16, fullscreen);
    }

    /// Asks for fullscreen on a display whose closest mode is what `closest` gives, with
    /// the user answering the fullscreen question with `answer`.
    bool createFullscreen(bool (*closest)(const SDL_DisplayMode*, SDL_DisplayMode*),
                          MessageAnswer answer) {
        calls.closestDisplayMode = closest;
        window.system().setCalls(&calls);
        boxes.answer = answer;
        return createDefault(true);
    }

    // Empties the queue of whatever SDL posted while the window was being made.
    void drainEvents() {
        for (int i = 0; i < 1000 && window.pumpEvent() != PumpResult::None; ++i) {
        }
    }

    static bool videoUp() { return SDL_WasInit(SDL_INIT_VIDEO) != 0; }

    GLWindow& window = GLWindow::instance();
    RecordingBoxes boxes;
    // Tests edit this table and hand it to the window; it outlives TearDown's destroy.
    SdlCalls calls = sdlCalls();
};

std::array<GLint, 4> viewport() {
    std::array<GLint, 4> box{};
    glGetIntegerv(GL_VIEWPORT, box.data());
    return box;
}

std::array<GLdouble, 16> matrix(GLenum which) {
    std::array<GLdouble, 16> m{};
    glGetDoublev(which, m.data());
    return m;
}

// gluPerspective(45, aspect, 0.1, 500) written out, column by column.
void expectPerspective(double aspect) {
    const double f = 1.0 / std::tan(45.0 / 2.0 * M_PI / 180.0);
    const double zNear = 0.1;
    const double zFar = 500.0;
    std::array<double, 16> expected{};
    expected[0] = f / aspect;
    expected[5] = f;
    expected[10] = (zFar + zNear) / (zNear - zFar);
    expected[11] = -1.0;
    expected[14] = 2.0 * zFar * zNear / (zNear - zFar);
    const auto actual = matrix(GL_PROJECTION_MATRIX);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-5 * std::max(1.0, std::fabs(expected[i])))
            << "projection element " << i;
    }
}

void expectIdentity(GLenum which) {
    const auto m = matrix(which);
    for (std::size_t i = 0; i < 16; ++i) {
        EXPECT_EQ(m[i], i % 5 == 0 ? 1.0 : 0.0) << "element " << i;
    }
}

GLint integer(GLenum what) {
    GLint value = -1;
    glGetIntegerv(what, &value);
    return value;
}

std::array<GLubyte, 3> pixel(int x, int y) {
    std::array<GLubyte, 4> rgba{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return {rgba[0], rgba[1], rgba[2]};
}

void drawTriangle(bool counterClockwise) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_TRIANGLES);
    if (counterClockwise) {
        glVertex3f(-1.0f, -1.0f, -5.0f);
        glVertex3f(1.0f, -1.0f, -5.0f);
    } else {
        glVertex3f(1.0f, -1.0f, -5.0f);
        glVertex3f(-1.0f, -1.0f, -5.0f);
    }
    glVertex3f(0.0f, 1.0f, -5.0f);
    glEnd();
    glFinish();
}

// --- Creation and the state it leaves ---------------------------------------------------

TEST_F(GLWindowTest, CreateGivesCurrentContextWithTheInitialState) {
    ASSERT_TRUE(createDefault());
    EXPECT_TRUE(window.isCreated());
    ASSERT_NE(SDL_GL_GetCurrentContext(), nullptr);
    EXPECT_NE(window.system().windowId(), 0u);

    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
    expectPerspective(640.0 / 480.0);
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);
    expectIdentity(GL_MODELVIEW_MATRIX);

    EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
    std::array<GLfloat, 4> clear{};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear.data());
    EXPECT_EQ(clear, (std::array<GLfloat, 4>{0.0f, 0.0f, 0.0f, 0.5f}));
    GLdouble clearDepth = 0.0;
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &clearDepth);
    EXPECT_EQ(clearDepth, 1.0);

    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LINE_SMOOTH));
    EXPECT_EQ(integer(GL_CULL_FACE_MODE), GL_BACK);
    EXPECT_EQ(integer(GL_FRONT_FACE), GL_CCW);
    EXPECT_EQ(integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(integer(GL_BLEND_DST), GL_ZERO);
    EXPECT_EQ(integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
    EXPECT_EQ(integer(GL_LINE_SMOOTH_HINT), GL_NICEST);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(GLWindowTest, ContextIsDrawableAt640By480WithTheAskedPixelFormat) {
    ASSERT_TRUE(createDefault());
    int width = 0;
    int height = 0;
    SDL_GL_GetDrawableSize(SDL_GL_GetCurrentWindow(), &width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);

    int depth = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    EXPECT_EQ(depth, 16);

    // A front-facing triangle in the middle of the view is drawn in full colour (alpha 1
    // under the blend function); the same triangle wound the other way is culled.
    drawTriangle(true);
    EXPECT_EQ(pixel(320, 240), (std::array<GLubyte, 3>{255, 255, 255}));
    EXPECT_EQ(pixel(0, 0), (std::array<GLubyte, 3>{0, 0, 0}));
    EXPECT_EQ(pixel(639, 479), (std::array<GLubyte, 3>{0, 0, 0}));
    drawTriangle(false);
    EXPECT_EQ(pixel(320, 240), (std::array<GLubyte, 3>{0, 0, 0}));
    window.swapBuffers();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

std::vector<std::pair<SDL_GLattr, int>> g_attributes;

TEST_F(GLWindowTest, AsksForADoubleBufferedFormatAndNoProfileOrVersion) {
    g_attributes.clear();
    calls.setGLAttribute = [](SDL_GLattr attribute, int value) {
        g_attributes.emplace_back(attribute, value);
        return sdlCalls().setGLAttribute(attribute, value);
    };
    window.system().setCalls(&calls);
    ASSERT_TRUE(createDefault());
    using Attribute = std::pair<SDL_GLattr, int>;
    EXPECT_THAT(
        g_attributes,
        ::testing::IsSupersetOf({Attribute{SDL_GL_DOUBLEBUFFER, 1}, Attribute{SDL_GL_RED_SIZE, 5},
                                 Attribute{SDL_GL_GREEN_SIZE, 6}, Attribute{SDL_GL_BLUE_SIZE, 5},
                                 Attribute{SDL_GL_ALPHA_SIZE, 0}, Attribute{SDL_GL_DEPTH_SIZE, 16},
                                 Attribute{SDL_GL_STENCIL_SIZE, 0}}));
    for (const auto& [attribute, value] : g_attributes) {
        EXPECT_NE(attribute, SDL_GL_CONTEXT_PROFILE_MASK);
        EXPECT_NE(attribute, SDL_GL_CONTEXT_MAJOR_VERSION);
        EXPECT_NE(attribute, SDL_GL_CONTEXT_MINOR_VERSION);
    }
    // Immediate mode works, so the context is a compatibility one.
    glBegin(GL_POINTS);
    glVertex3f(0.0f, 0.0f, -1.0f);
    glEnd();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    g_attributes.clear();
    window.destroy();
    ASSERT_TRUE(window.create("Cubewright", 640, 480, 24, false));
    EXPECT_THAT(g_attributes, ::testing::IsSupersetOf({Attribute{SDL_GL_RED_SIZE, 8},
                                                       Attribute{SDL_GL_GREEN_SIZE, 8},
                                                       Attribute{SDL_GL_BLUE_SIZE, 8}}));
}

std::vector<int> g_swapIntervals;

TEST_F(GLWindowTest, VsyncIsSwitchedOffOnTheNewContext) {
    g_swapIntervals.clear();
    calls.setSwapInterval = [](int interval) {
        // Asked of the new context, once it is current.
        EXPECT_NE(SDL_GL_GetCurrentContext(), nullptr);
        g_swapIntervals.push_back(interval);
        return sdlCalls().setSwapInterval(interval);
    };
    window.system().setCalls(&calls);
    ASSERT_TRUE(createDefault());
    EXPECT_THAT(g_swapIntervals, ElementsAre(0));
}

TEST_F(GLWindowTest, ErrorTheDriverLeftBehindIsClearedAndCreateSucceeds) {
    calls.setSwapInterval = [](int) {
        glEnable(0xFFFFu);
        return 0;
    };
    window.system().setCalls(&calls);
    ASSERT_TRUE(createDefault());
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_TRUE(window.isCreated());
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
}

TEST_F(GLWindowTest, SwapIntervalFailureIsHarmless) {
    calls.setSwapInterval = [](int) { return -1; };
    window.system().setCalls(&calls);
    EXPECT_TRUE(createDefault());
    EXPECT_THAT(boxes.shown, IsEmpty());
}

// --- Resizing -----------------------------------------------------------------------------

TEST_F(GLWindowTest, ResizeSetsViewportAndProjectionIncludingZeroHeight) {
    ASSERT_TRUE(createDefault());
    glMatrixMode(GL_PROJECTION);
    glTranslatef(1.0f, 2.0f, 3.0f); // must not survive the resize

    window.resizeViewport(320, 200);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 320, 200}));
    expectPerspective(1.6);
    EXPECT_EQ(integer(GL_MATRIX_MODE), GL_MODELVIEW);

    window.resizeViewport(300, 0);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 300, 1}));
    expectPerspective(300.0);

    // Nonsense sizes are clamped rather than handed to GL, which would reject them.
    window.resizeViewport(-5, -7);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 0, 1}));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

void pushWindowEvent(Uint8 what, std::uint32_t windowId, int data1 = 0, int data2 = 0) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = windowId;
    event.window.event = what;
    event.window.data1 = data1;
    event.window.data2 = data2;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

TEST_F(GLWindowTest, SizeChangeEventsResizeTheViewport) {
    ASSERT_TRUE(createDefault());
    drainEvents();

    pushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, window.system().windowId(), 400, 300);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 400, 300}));

    // An event left over from a window that no longer exists changes nothing.
    pushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED, window.system().windowId() + 100, 10, 10);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 400, 300}));
}

// --- Failures of create -------------------------------------------------------------------

struct InjectedFailure {
    const char* step;
    void (*inject)(SdlCalls& calls);
    int bits;
    const char* text;
};

void noChange(SdlCalls&) {}

const InjectedFailure kFailures[] = {
    {"InitVideo", [](SdlCalls& c) { c.initVideo = [] { return -1; }; }, 16,
     "Failed To Register The Window Class."},
    {"LoadGL", [](SdlCalls& c) { c.loadGL = [] { return -1; }; }, 16,
     "Can't Create A GL Device Context."},
    {"NoColourBits", noChange, 0, "Can't Find A Suitable PixelFormat."},
    {"SetAttribute", [](SdlCalls& c) { c.setGLAttribute = [](SDL_GLattr, int) { return -1; }; }, 16,
     "Can't Set The PixelFormat."},
    {"CreateWindow",
     [](SdlCalls& c) {
         c.createWindow = [](const char*, int, int, int, int, Uint32) -> SDL_Window* {
             return nullptr;
         };
     },
     16, "Window Creation Error."},
    {"CreateContext",
     [](SdlCalls& c) { c.createContext = [](SDL_Window*) -> SDL_GLContext { return nullptr; }; },
     16, "Can't Create A GL Rendering Context."},
    {"MakeCurrent",
     [](SdlCalls& c) {
         c.makeCurrent = [](SDL_Window* w, SDL_GLContext ctx) {
             return ctx != nullptr ? -1 : sdlCalls().makeCurrent(w, ctx);
         };
     },
     16, "Can't Activate The GL Rendering Context."},
};

class CreateFailureTest : public GLWindowTest,
                          public ::testing::WithParamInterface<InjectedFailure> {};

TEST_P(CreateFailureTest, ReportsItsTextReleasesEverythingAndCanBeRetried) {
    const InjectedFailure& failure = GetParam();
    failure.inject(calls);
    window.system().setCalls(&calls);

    EXPECT_FALSE(window.create("Cubewright", 640, 480, failure.bits, false));
    EXPECT_THAT(boxes.shown, ElementsAre(error(failure.text)));
    EXPECT_FALSE(window.isCreated());
    EXPECT_FALSE(videoUp()) << "the video subsystem was left initialised";

    // Nothing of SDL is left half-made: a second try with working calls succeeds.
    window.system().setCalls(nullptr);
    EXPECT_TRUE(createDefault());
    EXPECT_EQ(boxes.shown.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(EachStep, CreateFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& param) { return std::string(param.param.step); });

TEST_F(GLWindowTest, RefusesToRunInvisiblyUnlessHeadlessIsAllowed) {
    window.system().setHeadlessAllowed(false);
    ASSERT_STREQ(SDL_getenv("SDL_VIDEODRIVER"), "offscreen");
    EXPECT_FALSE(createDefault());
    EXPECT_THAT(boxes.shown, ElementsAre(error("Window Creation Error.")));
    EXPECT_FALSE(videoUp());

    // The same check with the driver's name as SDL would report other drivers.
    window.system().setCalls(&calls);
    for (const char* (*driver)() : {+[] { return "dummy"; }, +[] { return "DUMMY"; }}) {
        boxes.shown.clear();
        calls.videoDriver = driver;
        EXPECT_FALSE(createDefault()) << driver();
        EXPECT_THAT(boxes.shown, ElementsAre(error("Window Creation Error.")));
    }
    boxes.shown.clear();
    calls.videoDriver = [] { return "x11"; };
    EXPECT_TRUE(createDefault());
    EXPECT_THAT(boxes.shown, IsEmpty());
}

// --- Fullscreen ---------------------------------------------------------------------------

bool noDisplayMode(const SDL_DisplayMode*, SDL_DisplayMode*) {
    return false;
}

TEST_F(GLWindowTest, UnavailableFullscreenModeAnsweredYesGoesOnWindowed) {
    ASSERT_TRUE(createFullscreen(noDisplayMode, MessageAnswer::Yes));
    EXPECT_THAT(boxes.shown, ElementsAre(kQuestion));
    const Uint32 flags = SDL_GetWindowFlags(SDL_GL_GetCurrentWindow());
    EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_NE(flags & SDL_WINDOW_RESIZABLE, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(GLWindowTest, FullscreenModeOfTheWrongSizeIsNotTaken) {
    calls.closestDisplayMode = [](const SDL_DisplayMode*, SDL_DisplayMode* closest) {
        *closest = SDL_DisplayMode{SDL_PIXELFORMAT_RGB888, 800, 600, 60, nullptr};
        return true;
    };
    window.system().setCalls(&calls);
    boxes.answer = MessageAnswer::Yes;
    ASSERT_TRUE(createDefault(true));
    EXPECT_THAT(boxes.shown, ElementsAre(kQuestion));
}

// The display has 640x480, but only with 32 bits a pixel.
bool onlyTrueColourMode(const SDL_DisplayMode* wanted, SDL_DisplayMode* closest) {
    *closest = SDL_DisplayMode{SDL_PIXELFORMAT_RGB888, wanted->w, wanted->h, 60, nullptr};
    return true;
}

TEST_F(GLWindowTest, FullscreenModeOfTheWrongDepthIsOfferedAsWindowed) {
    ASSERT_TRUE(createFullscreen(onlyTrueColourMode, MessageAnswer::Yes));
    EXPECT_THAT(boxes.shown, ElementsAre(kQuestion));
    EXPECT_EQ(SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
}

TEST_F(GLWindowTest, AvailableFullscreenModeIsUsedWithoutAQuestion) {
    calls.closestDisplayMode = [](const SDL_DisplayMode* wanted, SDL_DisplayMode* closest) {
        *closest = *wanted;
        return true;
    };
    window.system().setCalls(&calls);
    ASSERT_TRUE(createDefault(true));
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_NE(SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & SDL_WINDOW_FULLSCREEN, 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);

    window.destroy();
    EXPECT_THAT(boxes.shown, IsEmpty());
    EXPECT_FALSE(videoUp());
}

// --- Keys and window events ---------------------------------------------------------------

void pushKey(Uint32 type, SDL_Scancode scancode, Uint8 repeat = 0, Uint16 modifiers = 0,
             SDL_Keycode keycode = SDLK_UNKNOWN) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = modifiers;
    event.key.keysym.sym = keycode;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

struct KeyCase {
    SDL_Scancode scancode;
    int code;
};

TEST_F(GLWindowTest, KeyEventsSetAndClearTheTranslatedEntry) {
    ASSERT_TRUE(createDefault());
    drainEvents();
    const KeyCase cases[] = {
        {SDL_SCANCODE_LEFT, 0x25}, {SDL_SCANCODE_KP_8, 0x68}, {SDL_SCANCODE_F1, 0x70},
        {SDL_SCANCODE_Q, 'Q'},     {SDL_SCANCODE_RETURN, -1},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.code);
        pushKey(SDL_KEYDOWN, c.scancode);
        ASSERT_EQ(window.pumpEvent(), PumpResult::Dispatched);
        KeyTable expected{};
        setKey(expected, c.code, true);
        ASSERT_EQ(window.keys(), expected);
        pushKey(SDL_KEYUP, c.scancode);
        ASSERT_EQ(window.pumpEvent(), PumpResult::Dispatched);
        ASSERT_EQ(window.keys(), KeyTable{});
    }
}

TEST_F(GLWindowTest, LettersAreTakenFromTheLayout) {
    ASSERT_TRUE(createDefault());
    drainEvents();
    // French: the key in the American Q place types "a"; its release clears the same entry.
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_Q, 0, KMOD_NONE, SDLK_a);
    ASSERT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_TRUE(window.keys()['A']);
    EXPECT_FALSE(window.keys()['Q']);
    pushKey(SDL_KEYUP, SDL_SCANCODE_Q, 0, KMOD_NONE, SDLK_a);
    ASSERT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_EQ(window.keys(), KeyTable{});
}

TEST_F(GLWindowTest, KeypadKeysDoNotDependOnNumLock) {
    ASSERT_TRUE(createDefault());
    drainEvents();
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_8, 0, KMOD_NUM);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_2, 0, KMOD_NONE);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_TRUE(window.keys()[0x68]);
    EXPECT_TRUE(window.keys()[0x62]);
}

TEST_F(GLWindowTest, AutoRepeatSetsAClearedEntryAgain) {
    ASSERT_TRUE(createDefault());
    drainEvents();
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_M);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    ASSERT_TRUE(window.keys()['M']);
    window.keys()['M'] = false; // what the main loop does after toggling auto-solve
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_M, 1);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_TRUE(window.keys()['M']);
}

TEST_F(GLWindowTest, PumpHandlesOneEventAtATime) {
    ASSERT_TRUE(createDefault());
    drainEvents();
    EXPECT_EQ(window.pumpEvent(), PumpResult::None);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_W);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_E);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_TRUE(window.keys()['W']);
    EXPECT_FALSE(window.keys()['E']);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_TRUE(window.keys()['E']);
    EXPECT_EQ(window.pumpEvent(), PumpResult::None);
}

TEST_F(GLWindowTest, MinimiseAndRestoreSetTheActiveFlagButFocusDoesNot) {
    ASSERT_TRUE(createDefault());
    drainEvents();
    const std::uint32_t id = window.system().windowId();

    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST, id);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_TRUE(window.isActive());

    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED, id);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_FALSE(window.isActive());

    pushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED, id);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_FALSE(window.isActive());

    pushWindowEvent(SDL_WINDOWEVENT_RESTORED, id);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_TRUE(window.isActive());

    pushWindowEvent(SDL_WINDOWEVENT_MINIMIZED, id);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    pushWindowEvent(SDL_WINDOWEVENT_MAXIMIZED, id);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_TRUE(window.isActive());
}

TEST_F(GLWindowTest, CloseRequestAndQuitEndTheLoop) {
    ASSERT_TRUE(createDefault());
    drainEvents();
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE, window.system().windowId());
    EXPECT_EQ(window.pumpEvent(), PumpResult::Dispatched);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Quit);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 1);
    EXPECT_EQ(window.pumpEvent(), PumpResult::Quit);
}

// --- Tear-down ----------------------------------------------------------------------------

TEST_F(GLWindowTest, DestroyReleasesInReverseOrder) {
    calls = loggingCalls();
    window.system().setCalls(&calls);
    ASSERT_TRUE(createDefault());
    window.destroy();
    EXPECT_THAT(g_releases, ElementsAre("makeCurrent(none)", "deleteContext", "destroyWindow",
                                        "unloadGL", "quitVideo"));
    EXPECT_FALSE(window.isCreated());
    EXPECT_FALSE(videoUp());
    EXPECT_EQ(SDL_GL_GetCurrentContext(), nullptr);
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST_F(GLWindowTest, ReleaseFailureIsReportedAndDestroyGoesOn) {
    calls = loggingCalls();
    calls.makeCurrent = [](SDL_Window* w, SDL_GLContext ctx) {
        return ctx == nullptr ? -1 : sdlCalls().makeCurrent(w, ctx);
    };
    window.system().setCalls(&calls);
    ASSERT_TRUE(createDefault());
    window.destroy();
    EXPECT_THAT(boxes.shown, ElementsAre(Shown{"SHUTDOWN ERROR", "Release Of DC And RC Failed.",
                                               MessageButtons::Ok, MessageIcon::Information}));
    EXPECT_THAT(g_releases, ElementsAre("deleteContext", "destroyWindow", "unloadGL", "quitVideo"));
    EXPECT_FALSE(window.isCreated());
    EXPECT_FALSE(videoUp());
}

TEST_F(GLWindowTest, DestroyThenCreateGivesAFreshWorkingContext) {
    ASSERT_TRUE(createDefault());
    EXPECT_EQ(glGenLists(5), 1u);
    glDisable(GL_BLEND);
    window.resizeViewport(10, 10);

    window.destroy();
    ASSERT_TRUE(createDefault());
    ASSERT_NE(SDL_GL_GetCurrentContext(), nullptr);
    // Display list names start again: nothing of the old context survives.
    EXPECT_EQ(glGenLists(1), 1u);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(viewport(), (std::array<GLint, 4>{0, 0, 640, 480}));
    drawTriangle(true);
    EXPECT_EQ(pixel(320, 240), (std::array<GLubyte, 3>{255, 255, 255}));
    EXPECT_THAT(boxes.shown, IsEmpty());
}

TEST(GLWindowTicks, AdvanceAcrossASleep) {
    const std::uint32_t before = GLWindow::ticks();
    GLWindow::sleep(20);
    EXPECT_GE(GLWindow::ticks() - before, 20u);
}

} // namespace
} // namespace cw
