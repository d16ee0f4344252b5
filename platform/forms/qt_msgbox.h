// The message-box service of the running program, on Qt dialogs.
#pragma once

#include "platform/forms/msgbox.h"

namespace forms {

class QtMessageBoxes : public MessageBoxService {
public:
    int Show(const std::string& prompt, int flags, const std::string& title) override;
    std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
};

}  // namespace forms
