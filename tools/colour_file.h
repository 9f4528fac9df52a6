// The sticker colours cubewright-solve --colours reads: 54 lines, one sticker each, as
// "#rrggbb" or "R G B" (0 to 255), in the order of a facelet string; blank lines are
// skipped. Also how the tool names a sticker in doubt. Used by the tool and its tests.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cube/colour_reader.h"

namespace cw::tools {

/// Reads a colour file's text. On bad input returns a one-line message naming the line.
std::variant<StickerColours, std::string> parseColourFile(std::string_view text);

/// Stickers by their face and place, as the messages write them: "U1" is the first
/// sticker of U (its row-by-row place, 1 to 9), "F5" the front centre.
std::string stickerNames(const std::vector<int>& positions);

} // namespace cw::tools
