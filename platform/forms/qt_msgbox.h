// The message-box service of the running program, on Qt dialogs.
//
// A box belongs to the program's current form (CurrentForm): it opens as that
// form's dialog, above it (also above a topmost form), and takes the keyboard
// focus, whichever window was active when it was raised (a workbook window,
// say), and keeps it while it is up. Its text is wrapped to a readable width and the box grows to hold all
// of it and its whole title; nothing is cut off.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <QDialog>

#include "platform/msgbox/msgbox.h"

class QLabel;
class QPushButton;

namespace forms {

class QtMessageBoxes : public MessageBoxService {
public:
    int Show(const std::string& prompt, int flags, const std::string& title) override;
    std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
};

// The message box itself: icon, text and VB's button set.
class MessageDialog : public QDialog {
public:
    MessageDialog(const std::string& prompt, int flags, const std::string& title, QWidget* parent);

    int Flags() const { return flags_; }
    QString Text() const;
    QLabel* TextLabel() const { return text_; }
    // The buttons in their order, with the code each answers.
    const std::vector<std::pair<QPushButton*, int>>& Buttons() const { return buttons_; }
    // The code of the button pressed; Cancel (or the only button) when the box
    // was closed with Escape or its close box.
    int Result() const { return result_; }

    void reject() override;

private:
    int flags_;
    QLabel* text_ = nullptr;
    std::vector<std::pair<QPushButton*, int>> buttons_;
    int result_ = 0;
};

// The widest text line a box shows before it wraps, in pixels.
inline constexpr int kBoxTextWidth = 640;

}  // namespace forms
