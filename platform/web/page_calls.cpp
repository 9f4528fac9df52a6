// The web back end's calls into its page; see page_calls.h. Each is a few lines of
// JavaScript that hand over to `cubewrightPage` (page.js); the ones that wait for the
// browser suspend the program until the page's promise settles.
#include "platform/web/page_calls.h"

#include <emscripten.h>

namespace cw::page {
namespace {

// clang-format off
EM_ASYNC_JS(int, jsMessageBox, (const char* caption, const char* text, int yesNo, int icon), {
    return await cubewrightPage.messageBox(UTF8ToString(caption), UTF8ToString(text), yesNo !== 0, icon);
});

EM_ASYNC_JS(int, jsEnterFullscreen, (), {
    return await cubewrightPage.enterFullscreen() ? 1 : 0;
});

EM_JS(void, jsLeaveFullscreen, (), {
    cubewrightPage.leaveFullscreen();
});

EM_JS(void, jsShowCursor, (int shown), {
    cubewrightPage.showCursor(shown !== 0);
});

EM_JS(void, jsFocusCanvas, (), {
    cubewrightPage.focusCanvas();
});

EM_JS(int, jsIsVisible, (), {
    return cubewrightPage.isVisible() ? 1 : 0;
});

// Draws the glyphs and keeps them until jsCopyGlyphs; fills metrics with cell width,
// cell height, descent, columns and rows.
EM_JS(void, jsRasteriseGlyphs, (int first, int count, int pixelHeight, int* metrics), {
    const grid = cubewrightPage.rasteriseGlyphs(first, count, pixelHeight);
    Module.cubewrightGlyphs = grid.alpha;
    HEAP32.set([grid.cellWidth, grid.cellHeight, grid.descent, grid.columns, grid.rows], metrics >> 2);
});

EM_JS(void, jsCopyGlyphs, (unsigned char* into), {
    HEAPU8.set(Module.cubewrightGlyphs, into);
    delete Module.cubewrightGlyphs;
});

EM_JS(void, jsStartFrames, (), {
    cubewrightPage.start({
        frame: Module._cw_frame,
        key: Module._cw_key,
        pointer: Module._cw_pointer,
        releaseKeys: Module._cw_release_keys,
        visible: Module._cw_visible,
        fullscreenLeft: Module._cw_fullscreen_left,
    });
});

EM_JS(void, jsEnded, (), {
    cubewrightPage.ended();
});
// clang-format on

} // namespace

MessageAnswer messageBox(const char* caption, const char* text, MessageButtons buttons,
                         MessageIcon icon) {
    const bool yesNo = buttons == MessageButtons::YesNo;
    const int answer = jsMessageBox(caption, text, yesNo ? 1 : 0, static_cast<int>(icon));
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    return answer == 1 ? MessageAnswer::Yes : MessageAnswer::No;
}

bool enterFullscreen() {
    return jsEnterFullscreen() != 0;
}

void leaveFullscreen() {
    jsLeaveFullscreen();
}

void showCursor(bool shown) {
    jsShowCursor(shown ? 1 : 0);
}

void focusCanvas() {
    jsFocusCanvas();
}

bool isVisible() {
    return jsIsVisible() != 0;
}

std::uint32_t milliseconds() {
    // Whole milliseconds, taken modulo 2^32 as the desktop's tick counts are.
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(emscripten_get_now()));
}

webgl::GlyphTexture rasteriseGlyphs(int first, int count, int pixelHeight) {
    int metrics[5] = {};
    jsRasteriseGlyphs(first, count, pixelHeight, metrics);
    webgl::GlyphTexture grid;
    grid.cellWidth = metrics[0];
    grid.cellHeight = metrics[1];
    grid.descent = metrics[2];
    grid.columns = metrics[3];
    grid.rows = metrics[4];
    grid.alpha.resize(static_cast<std::size_t>(grid.columns * grid.cellWidth) *
                      static_cast<std::size_t>(grid.rows * grid.cellHeight));
    jsCopyGlyphs(grid.alpha.data());
    return grid;
}

void startFrames() {
    jsStartFrames();
}

void ended() {
    jsEnded();
}

} // namespace cw::page
