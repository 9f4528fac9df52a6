// Draws the program's first frame as it would be with the clock reading SECONDS at start,
// into an offscreen context on SDL's offscreen driver, and writes it as a binary PPM. The
// browser test tests/web/compare_test.js holds it beside the page's frame for the same
// clock: the same cubes, drawn by the desktop's GL.
//
//   cubewright-first-frame SECONDS OUTPUT.ppm
#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/world.h"
#include "app/world_scene.h"
#include "cube/random.h"
#include "platform/glyph_source.h"
#include "render/bitmap_font.h"
#include "tests/render/gl_context.h"

namespace {

class OffscreenTarget final : public cw::FrameTarget {
public:
    explicit OffscreenTarget(cw::ContextToken token) : token_(token) {}
    cw::ContextToken contextToken() const override { return token_; }
    void swapBuffers() override { glFinish(); }

private:
    cw::ContextToken token_;
};

} // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const unsigned long seconds = argc == 3 ? std::strtoul(argv[1], &end, 10) : 0;
    if (argc != 3 || end == argv[1] || *end != '\0') {
        std::fputs("usage: cubewright-first-frame SECONDS OUTPUT.ppm\n", stderr);
        return 2;
    }
    const auto clock = static_cast<std::uint32_t>(seconds);

    // What the program's start-up does when the clock reads `clock` throughout: each cube
    // is built seeding the generator from the clock (the main cube first), then the entry
    // point seeds it again and prepares the background cubes.
    static cw::World world;
    cw::srand(clock);
    world.mainCube.reset();
    cw::srand(clock);
    world.prepareBackground();

    cw::test::GLContext context;
    if (!context.ok()) {
        return 1;
    }
    cw::test::GLContext::setWindowState();
    cw::BitmapFont::setGlyphSource(&cw::buildGlyphs);
    OffscreenTarget target(context.token());
    cw::WorldRenderer renderer;
    world.stepCubes();
    renderer.draw(world, target);

    std::vector<unsigned char> pixels(
        static_cast<std::size_t>(cw::test::kWidth * cw::test::kHeight * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, cw::test::kWidth, cw::test::kHeight, GL_RGB, GL_UNSIGNED_BYTE,
                 pixels.data());
    std::FILE* out = std::fopen(argv[2], "wb");
    if (out == nullptr) {
        std::perror(argv[2]);
        return 1;
    }
    std::fprintf(out, "P6\n%d %d\n255\n", cw::test::kWidth, cw::test::kHeight);
    // PPM rows go top down; GL's come bottom up.
    const auto row = static_cast<std::size_t>(cw::test::kWidth * 3);
    for (int y = cw::test::kHeight - 1; y >= 0; --y) {
        std::fwrite(pixels.data() + static_cast<std::size_t>(y) * row, 1, row, out);
    }
    cw::BitmapFont::release(context.token());
    return std::fclose(out) == 0 ? 0 : 1;
}
