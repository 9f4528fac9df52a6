// The overlay font: its display lists on one GL context, filled by the glyph source the
// program hands it, and formatted text printed with them. Used by the scene's overlay.
#include "render/bitmap_font.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <memory>

namespace cw {
namespace {

std::unique_ptr<BitmapFont> gInstance;
GlyphSource gGlyphSource = nullptr;

} // namespace

void BitmapFont::setGlyphSource(GlyphSource source) {
    gGlyphSource = source;
}

BitmapFont& BitmapFont::instance(ContextToken context) {
    if (gInstance && gInstance->context_ != context) {
        // Built on another context: its lists are not ours to delete here.
        gInstance.reset();
    }
    if (!gInstance) {
        gInstance.reset(new BitmapFont(context));
    }
    return *gInstance;
}

void BitmapFont::release(ContextToken current) {
    if (!gInstance) {
        return;
    }
    if (current != kNoContext && current == gInstance->context_) {
        gInstance->deleteLists();
    }
    gInstance.reset();
}

BitmapFont::BitmapFont(ContextToken context) : context_(context) {
    if (gGlyphSource == nullptr) {
        return;
    }
    listBase_ = glGenLists(kGlyphCount);
    if (listBase_ != 0 && !gGlyphSource(listBase_, kFirstCode, kGlyphCount, kPixelHeight)) {
        // No usable font: give the names back and print nothing.
        glDeleteLists(listBase_, kGlyphCount);
        listBase_ = 0;
    }
}

// The destructor touches no GL: the context may already be gone. release() deletes the
// lists when it can.
BitmapFont::~BitmapFont() = default;

void BitmapFont::deleteLists() {
    if (listBase_ != 0) {
        glDeleteLists(listBase_, kGlyphCount);
        listBase_ = 0;
    }
}

void BitmapFont::print(const char* format, ...) {
    if (format == nullptr || listBase_ == 0) {
        return;
    }
    // vsnprintf never writes past the buffer; longer output is cut.
    char text[kMaxText + 1];
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (written <= 0) {
        return;
    }
    const int length = written < kMaxText ? written : kMaxText;

    // Each byte becomes its glyph's offset from the list base. Codes without a glyph are
    // left out rather than handed to glCallLists, where they would name lists outside the
    // font's range.
    GLubyte glyphs[kMaxText];
    GLsizei count = 0;
    for (int i = 0; i < length; ++i) {
        const auto code = static_cast<unsigned char>(text[i]);
        if (code >= kFirstCode && code < kFirstCode + kGlyphCount) {
            glyphs[count++] = static_cast<GLubyte>(code - kFirstCode);
        }
    }
    if (count == 0) {
        return;
    }
    glPushAttrib(GL_LIST_BIT);
    glListBase(listBase_);
    glCallLists(count, GL_UNSIGNED_BYTE, glyphs);
    glPopAttrib();
}

} // namespace cw
