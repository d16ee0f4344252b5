// The message-box double of the tests: records every box a command shows and
// answers from a script.
#pragma once

#include <deque>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/msgbox/msgbox.h"

namespace forms {

// Installs itself while it lives. A box that the script does not answer gets
// the first button's code (OK, Yes, Abort, Retry); an input box that the script
// does not answer is cancelled.
class ScriptedMessageBoxes : public MessageBoxService {
public:
    struct Box {
        std::string prompt;
        int flags = 0;  // -1 for an input box
        std::string title;
        int icon() const { return IconOf(flags); }
        int buttons() const { return ButtonsOf(flags); }
        bool operator==(const Box&) const = default;
    };

    ScriptedMessageBoxes();
    ~ScriptedMessageBoxes() override;  // puts the previous service back

    void Answer(int code) { answers_.push_back(code); }
    void AnswerInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }

    const std::vector<Box>& boxes() const { return boxes_; }
    std::vector<Box> TakeBoxes();
    void Clear() { boxes_.clear(); }

    int Show(const std::string& prompt, int flags, const std::string& title) override;
    std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;

private:
    std::vector<Box> boxes_;
    std::deque<int> answers_;
    std::deque<std::optional<std::string>> inputs_;
    MessageBoxService* previous_ = nullptr;
};

// Readable boxes in failure messages.
inline void PrintTo(const ScriptedMessageBoxes::Box& box, std::ostream* os) {
    *os << "{\"" << box.prompt << "\", " << box.flags << ", \"" << box.title << "\"}";
}

}  // namespace forms
