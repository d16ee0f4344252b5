#include "platform/msgbox/msgbox.h"

#include <cstdio>

namespace forms {

namespace {

// Without a window system (tools, early start) a box goes to standard error
// and is answered with its first button.
class ConsoleMessageBoxes : public MessageBoxService {
public:
    int Show(const std::string& prompt, int flags, const std::string& title) override {
        std::fprintf(stderr, "[%s] %s\n", title.c_str(), prompt.c_str());
        return FirstButtonOf(flags);
    }
    std::optional<std::string> Input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

ConsoleMessageBoxes g_console;
MessageBoxService* g_service = &g_console;

}  // namespace

int FirstButtonOf(int flags) {
    switch (ButtonsOf(flags)) {
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}

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

}  // namespace forms
