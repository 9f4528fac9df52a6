// Reading cubewright-solve's colour files. The text comes from a file or standard input, so
// any bytes are taken and a fault is named by its line.
#include "tools/colour_file.h"

#include <charconv>
#include <cstddef>
#include <optional>

#include "cube/facelet_places.h"
#include "cube/notation.h"

namespace cw::tools {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The value of a colour's line, "#rrggbb" or "R G B", or nothing when it is neither.
std::optional<Rgb> parseColour(std::string_view text) {
    if (text.size() == 7 && text.front() == '#') {
        unsigned value = 0;
        const char* end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data() + 1, end, value, 16);
        if (error != std::errc{} || stop != end) {
            return std::nullopt;
        }
        return Rgb{static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                   static_cast<std::uint8_t>(value)};
    }
    std::array<std::uint8_t, 3> channel{};
    std::size_t at = 0;
    for (std::size_t k = 0; k < channel.size(); ++k) {
        while (at < text.size() && isBlank(text[at])) {
            ++at;
        }
        unsigned value = 0;
        const char* begin = text.data() + at;
        const auto [stop, error] = std::from_chars(begin, text.data() + text.size(), value);
        if (error != std::errc{} || stop == begin || value > 255 ||
            (k + 1 < channel.size() && (stop == text.data() + text.size() || !isBlank(*stop)))) {
            return std::nullopt;
        }
        channel[k] = static_cast<std::uint8_t>(value);
        at = static_cast<std::size_t>(stop - text.data());
    }
    if (at != text.size()) {
        return std::nullopt;
    }
    return Rgb{channel[0], channel[1], channel[2]};
}

} // namespace

std::variant<StickerColours, std::string> parseColourFile(std::string_view text) {
    StickerColours colours{};
    std::size_t count = 0;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNumber;
        while (!line.empty() && isBlank(line.front())) {
            line.remove_prefix(1);
        }
        while (!line.empty() && isBlank(line.back())) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        const std::optional<Rgb> colour = parseColour(line);
        if (!colour) {
            return "line " + std::to_string(lineNumber) + " of the colours is \"" +
                   notation::printable(line, 40) +
                   "\"; each line needs #rrggbb or three numbers R G B from 0 to 255";
        }
        if (count == colours.size()) {
            return std::string("the colours go on past 54 stickers (line ") +
                   std::to_string(lineNumber) + "); give one a line, 54 in all";
        }
        colours[count++] = *colour;
    }
    if (count != colours.size()) {
        return "the colours give " + std::to_string(count) + " stickers; they need 54, one a line";
    }
    return colours;
}

std::string stickerNames(const std::vector<int>& positions) {
    std::string names;
    for (const int position : positions) {
        if (!names.empty()) {
            names += ' ';
        }
        names += facelet_places::sideLetter(position / 9);
        names += static_cast<char>('1' + position % 9);
    }
    return names;
}

} // namespace cw::tools
