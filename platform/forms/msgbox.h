// Message and input boxes with VB's flags and return codes. Handler code calls
// MsgBox/InputBox; the service behind them is the Qt one in the program and a
// scripted double in tests.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace forms {

// Buttons
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
// Icons
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
// Default button
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;
// Return codes
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// The program's title: shown by a box that names no title of its own.
inline constexpr const char* kProgramTitle = "Belmora";

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows one box and returns the code of the button pressed. `title` is
    // already the one shown (the program's title when the caller gave none).
    virtual int Show(const std::string& prompt, int flags, const std::string& title) = 0;
    // An input box; nullopt when the user cancels.
    virtual std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) = 0;
};

// Installs the service that the boxes go through; returns the previous one.
MessageBoxService* SetMessageBoxService(MessageBoxService* service);
MessageBoxService* CurrentMessageBoxService();

int MsgBox(const std::string& prompt, int flags = vbOKOnly, const std::string& title = {});
// VB's InputBox: the text typed, or "" when cancelled.
std::string InputBox(const std::string& prompt, const std::string& title = {}, const std::string& defaultText = {});

// The icon part of the flags (vbCritical, vbQuestion, ...) and the button part.
inline int IconOf(int flags) { return flags & 0x70; }
inline int ButtonsOf(int flags) { return flags & 0x0F; }
inline int DefaultButtonOf(int flags) { return flags & 0xF00; }

// Test double: records every box and answers from a script. A box that the
// script does not answer gets the first button's code (OK, Yes, Abort, Retry).
class ScriptedMessageBoxes : public MessageBoxService {
public:
    struct Box {
        std::string prompt;
        int flags = 0;
        std::string title;
        int icon() const { return IconOf(flags); }
        int buttons() const { return ButtonsOf(flags); }
        bool operator==(const Box&) const = default;
    };

    ScriptedMessageBoxes();   // installs itself
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

}  // namespace forms
