#include "platform/forms/msgbox.h"

#include <cstdio>

namespace forms {

namespace {

// Without a window system (tools, early start) a box goes to standard error
// and is answered with its first button.
class ConsoleMessageBoxes : public MessageBoxService {
public:
    int Show(const std::string& prompt, int flags, const std::string& title) override {
        std::fprintf(stderr, "[%s] %s\n", title.c_str(), prompt.c_str());
        return FirstButton(flags);
    }
    std::optional<std::string> Input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
    static int FirstButton(int flags) {
        switch (ButtonsOf(flags)) {
        case vbAbortRetryIgnore: return vbAbort;
        case vbYesNoCancel:
        case vbYesNo: return vbYes;
        case vbRetryCancel: return vbRetry;
        default: return vbOK;
        }
    }
};

ConsoleMessageBoxes g_console;
MessageBoxService* g_service = &g_console;

}  // namespace

MessageBoxService* SetMessageBoxService(MessageBoxService* service) {
    MessageBoxService* previous = g_service;
    g_service = service ? service : &g_console;
    return previous;
}

MessageBoxService* CurrentMessageBoxService() { return g_service; }

int MsgBox(const std::string& prompt, int flags, const std::string& title) {
    return g_service->Show(prompt, flags, title.empty() ? kProgramTitle : title);
}

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    return g_service->Input(prompt, title.empty() ? kProgramTitle : title, defaultText).value_or(std::string());
}

ScriptedMessageBoxes::ScriptedMessageBoxes() { previous_ = SetMessageBoxService(this); }

ScriptedMessageBoxes::~ScriptedMessageBoxes() { SetMessageBoxService(previous_); }

std::vector<ScriptedMessageBoxes::Box> ScriptedMessageBoxes::TakeBoxes() {
    std::vector<Box> taken;
    taken.swap(boxes_);
    return taken;
}

int ScriptedMessageBoxes::Show(const std::string& prompt, int flags, const std::string& title) {
    boxes_.push_back({prompt, flags, title});
    if (answers_.empty()) return ConsoleMessageBoxes::FirstButton(flags);
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
