// The overlay's bitmap font: glyphs of codes 32 to 127 as display lists on one GL context,
// printed at the current raster position. The scene prints with it; the main loop and the
// window release it when the context goes away. Its glyphs come from the window system,
// through the source the program hands it.
#pragma once

#include <cstdint>

namespace cw {

/// Names one GL context for as long as it lives. The window gives every context it creates
/// a new non-zero number (a context's address is no good: a new context may reuse it).
using ContextToken = std::uint64_t;

/// Names no context: nothing is current, or the caller does not know what is.
inline constexpr ContextToken kNoContext = 0;

/// Fills the display lists base .. base + count - 1 with bitmap glyphs of the codes
/// firstCode .. firstCode + count - 1, `pixelHeight` pixels high, on the current context;
/// false when it cannot. Each list draws its glyph and moves the raster position by its
/// advance.
using GlyphSource = bool (*)(unsigned int base, int firstCode, int count, int pixelHeight);

class BitmapFont {
public:
    /// Glyphs are built for character codes kFirstCode .. kFirstCode + kGlyphCount - 1.
    static constexpr int kFirstCode = 32;
    static constexpr int kGlyphCount = 96;
    /// Glyph height in pixels.
    static constexpr int kPixelHeight = 18;
    /// The longest text print draws; longer output is cut to this.
    static constexpr int kMaxText = 255;

    /// Where fonts built from now on take their glyphs. Without a source a font has no
    /// glyphs and prints nothing.
    static void setGlyphSource(GlyphSource source);

    /// The font for the context that is current now, named by `context`: the instance
    /// already built on it, or a new one built now. An instance left over from another
    /// context is dropped without touching GL, since its lists are not this context's.
    static BitmapFont& instance(ContextToken context);

    /// Destroys the instance, if any. Its display lists are deleted only when `current`
    /// names the context that built them; otherwise they are left to die with that
    /// context. Calling it with no instance does nothing.
    static void release(ContextToken current = kNoContext);

    /// Formats with printf rules, cuts the result to kMaxText characters, and draws it at
    /// the current raster position in the current raster colour, each glyph moving the
    /// raster position by its advance. Characters outside 32..127 draw nothing and do not
    /// move. A null format, or a font with no glyphs, draws nothing.
    void print(const char* format, ...) __attribute__((format(printf, 2, 3)));

    /// The first of the font's display lists, 0 when no font could be loaded.
    unsigned int listBase() const { return listBase_; }

    /// The context the glyphs were built on.
    ContextToken context() const { return context_; }

    BitmapFont(const BitmapFont&) = delete;
    BitmapFont& operator=(const BitmapFont&) = delete;
    ~BitmapFont();

private:
    explicit BitmapFont(ContextToken context);
    void deleteLists();

    ContextToken context_;
    unsigned int listBase_ = 0;
};

} // namespace cw
