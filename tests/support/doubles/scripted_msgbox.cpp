#include "tests/support/doubles/scripted_msgbox.h"

namespace forms {

ScriptedMessageBoxes::ScriptedMessageBoxes() { previous_ = SetMessageBoxService(this); }

ScriptedMessageBoxes::~ScriptedMessageBoxes() { SetMessageBoxService(previous_); }

std::vector<ScriptedMessageBoxes::Box> ScriptedMessageBoxes::TakeBoxes() {
    std::vector<Box> taken;
    taken.swap(boxes_);
    return taken;
}

int ScriptedMessageBoxes::Show(const std::string& prompt, int flags, const std::string& title) {
    boxes_.push_back({prompt, flags, title});
    if (answers_.empty()) return FirstButtonOf(flags);
    const int code = answers_.front();
    answers_.pop_front();
    return code;
}

std::optional<std::string> ScriptedMessageBoxes::Input(const std::string& prompt, const std::string& title,
                                                       const std::string&) {
    boxes_.push_back({prompt, -1, title});
    if (inputs_.empty()) return std::nullopt;
    auto text = std::move(inputs_.front());
    inputs_.pop_front();
    return text;
}

}  // namespace forms
