// Message and input boxes with VB's flags and return codes. Handler code calls
// MsgBox/InputBox; the service behind them is the Qt one in the program and a
// scripted double in tests.
#pragma once

#include <optional>
#include <string>

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

// The code of the first button of a button set (OK, Yes, Abort, Retry): the
// answer of a box that nobody answers.
int FirstButtonOf(int flags);

}  // namespace forms
