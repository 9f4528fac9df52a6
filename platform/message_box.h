// Modal message boxes: the window's failure texts and its one Yes/No question go through
// this interface. GLWindow calls it; tests put their own in its place.
#pragma once

namespace cw {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { Information, Exclamation, Stop };
enum class MessageAnswer { Ok, Yes, No };

/// Shows a caption and a text and waits for the user's answer.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    /// Returns Ok for an Ok box, and Yes or No for a Yes/No box.
    virtual MessageAnswer show(const char* caption, const char* text, MessageButtons buttons,
                               MessageIcon icon) = 0;
};

/// The program's own boxes, shown by the window system, one definition of `show` per back
/// end: MessageBoxA on Windows; SDL's boxes on Linux, where a box that cannot be shown (no
/// display, or one SDL cannot draw a box on) puts the caption and text on standard error
/// instead, so that a user who started the program from a terminal still sees why it
/// ended. On every system a question that could not be shown is answered No.
class SystemMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer show(const char* caption, const char* text, MessageButtons buttons,
                       MessageIcon icon) override;
};

} // namespace cw
