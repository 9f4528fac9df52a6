// The calls the web back end makes into its page (platform/web/page.js): message boxes
// and the full-screen switch, which wait for the browser, the page's clock and visibility,
// the overlay font's glyphs, and the note that the program has ended. Used by the web
// GLWindow, its message boxes and glyph source, and the browser's entry point.
#pragma once

#include <cstdint>

#include "platform/message_box.h"
#include "platform/web/gl_compat.h"

namespace cw::page {

/// Shows a modal dialog in the page and waits for its answer. The program waits with it:
/// no frame runs and no key reaches it meanwhile.
MessageAnswer messageBox(const char* caption, const char* text, MessageButtons buttons,
                         MessageIcon icon);

/// Asks the browser to show the canvas on the whole screen and waits for its answer;
/// false when it refuses (no user gesture, or full screen not allowed).
bool enterFullscreen();
/// Back to the canvas in the page, if it fills the screen.
void leaveFullscreen();

/// Hides the pointer over the canvas, or shows it again.
void showCursor(bool shown);
/// Gives the canvas the keyboard.
void focusCanvas();

/// False while the page is hidden (another tab in front, the browser minimised).
bool isVisible();

/// The page's clock: milliseconds since the page was opened, wrapping after about 49 days.
std::uint32_t milliseconds();

/// The glyphs of character codes `first` .. `first + count - 1`, drawn by the browser in
/// the page's bold monospace face `pixelHeight` pixels high, in a grid of equal cells.
webgl::GlyphTexture rasteriseGlyphs(int first, int count, int pixelHeight);

/// Hands the page the program's frames and inputs: from now on every display refresh
/// calls cw_frame, and the canvas's keys, the page's visibility and the browser leaving
/// full screen reach the program (see web_entry.h).
void startFrames();

/// The program has ended: the page says so and offers to start it again.
void ended();

} // namespace cw::page
