// A message-box sink for the window tests of both back ends: records every box shown and
// answers the fullscreen question as told; with the boxes the window is expected to show.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace cw::testing {

struct Shown {
    std::string caption;
    std::string text;
    MessageButtons buttons;
    MessageIcon icon;

    bool operator==(const Shown&) const = default;
};

inline void PrintTo(const Shown& box, std::ostream* out) {
    *out << box.caption << ": \"" << box.text << "\"";
}

class RecordingBoxes : public MessageBoxes {
public:
    MessageAnswer show(const char* caption, const char* text, MessageButtons buttons,
                       MessageIcon icon) override {
        shown.push_back({caption, text, buttons, icon});
        return buttons == MessageButtons::YesNo ? answer : MessageAnswer::Ok;
    }

    std::vector<Shown> shown;
    MessageAnswer answer = MessageAnswer::Yes;
};

/// A failure of create as the window reports it.
inline Shown error(const char* text) {
    return {"ERROR", text, MessageButtons::Ok, MessageIcon::Exclamation};
}

/// A failure of destroy as the window reports it.
inline Shown shutdownError(const char* text) {
    return {"SHUTDOWN ERROR", text, MessageButtons::Ok, MessageIcon::Information};
}

/// The question asked when the fullscreen mode is not available.
inline const Shown kQuestion = {"Cubewright",
                                "The Requested Fullscreen Mode Is Not Supported By\nYour Video "
                                "Card. Use Windowed Mode Instead?",
                                MessageButtons::YesNo, MessageIcon::Exclamation};

} // namespace cw::testing
