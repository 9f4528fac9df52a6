// Draws the program's icon, a solved cube at its fixed tilt, with the program's own cube
// renderer in an invisible OpenGL context, and writes it as a PAM image with alpha.
// scripts/make-icons runs it once per icon size and turns the images into PNGs.
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cube/cube.h"
#include "cube/facelet_string.h"
#include "render/cube_renderer.h"

namespace {

// The viewing set-up of the program's window (45 degrees, near 0.1, far 500), square.
constexpr double kFieldOfView = 45.0;
constexpr double kNear = 0.1;
constexpr double kFar = 500.0;
// Close enough that the tilted cube fills the square with a small margin.
constexpr float kDistance = 8.0f;
// The tilted cube reaches further down and right than up and left; this moves its outline
// to the middle of the square.
constexpr float kShiftX = -0.45f;
constexpr float kShiftY = 0.45f;

int usage() {
    std::fputs("usage: cubewright-render-icon SIZE OUTLINE-WIDTH OUTPUT.pam\n"
               "  Draws a SIZE x SIZE image of a solved cube with outlines OUTLINE-WIDTH\n"
               "  pixels wide.\n",
               stderr);
    return 2;
}

bool parsePositive(const char* text, int limit, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || parsed < 1 || parsed > limit) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

// A PAM file keeps the alpha channel that PPM would drop; rows go top-down.
bool writePam(const std::string& path, int size, const std::vector<unsigned char>& bottomUp) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    std::fprintf(file, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
                 size, size);
    const auto rowBytes = static_cast<std::size_t>(size) * 4;
    bool ok = true;
    for (int row = size - 1; row >= 0 && ok; --row) {
        ok = std::fwrite(bottomUp.data() + static_cast<std::size_t>(row) * rowBytes, 1, rowBytes,
                         file) == rowBytes;
    }
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    int size = 0;
    int outlineWidth = 0;
    if (argc != 4 || !parsePositive(argv[1], 4096, size) ||
        !parsePositive(argv[2], 64, outlineWidth)) {
        return usage();
    }
    const std::string output = argv[3];

    // The offscreen driver gives a real Mesa context with no display server.
    if (SDL_VideoInit("offscreen") != 0) {
        std::fprintf(stderr, "cubewright-render-icon: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_Window* window = SDL_CreateWindow("Cubewright icon", 0, 0, size, size,
                                          SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window != nullptr ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        std::fprintf(stderr, "cubewright-render-icon: %s\n", SDL_GetError());
        SDL_VideoQuit();
        return 1;
    }
    int alphaBits = 0;
    SDL_GL_GetAttribute(SDL_GL_ALPHA_SIZE, &alphaBits);
    if (alphaBits < 8) {
        // Without destination alpha the background would come out opaque.
        std::fprintf(stderr, "cubewright-render-icon: no alpha channel (%d bits)\n", alphaBits);
        SDL_GL_DeleteContext(context);
        SDL_DestroyWindow(window);
        SDL_VideoQuit();
        return 1;
    }

    // The window's depth and culling state, with blending off as for the main cube, and a
    // clear colour whose alpha is 0 so that everything but the cube is transparent.
    glViewport(0, 0, size, size);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, 1.0, kNear, kFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glLineWidth(static_cast<float>(outlineWidth));
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    cw::Cube cube;
    cw::loadFaceletString(cube, cw::kSolvedFaceletString);
    glTranslatef(kShiftX, kShiftY, -kDistance);
    cw::draw(cube);
    glFinish();

    std::vector<unsigned char> pixels(static_cast<std::size_t>(size) *
                                      static_cast<std::size_t>(size) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size, size, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    const bool drawnOk = glGetError() == GL_NO_ERROR;

    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_VideoQuit();

    if (!drawnOk) {
        std::fputs("cubewright-render-icon: reading the image back failed\n", stderr);
        return 1;
    }
    if (!writePam(output, size, pixels)) {
        std::fprintf(stderr, "cubewright-render-icon: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
