#include "platform/forms/qt_msgbox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <utility>
#include <vector>

namespace forms {

namespace {

QString Text(const std::string& s) {
    // Boxes are given CR LF line breaks; Qt wants a plain line feed.
    return QString::fromStdString(s).replace("\r\n", "\n").replace('\r', '\n');
}

QMessageBox::Icon IconFor(int flags) {
    switch (IconOf(flags)) {
    case vbCritical: return QMessageBox::Critical;
    case vbQuestion: return QMessageBox::Question;
    case vbExclamation: return QMessageBox::Warning;
    case vbInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// The buttons of each VB button set, in order, with their captions and codes.
std::vector<std::pair<const char*, int>> ButtonsFor(int flags) {
    switch (ButtonsOf(flags)) {
    case vbOKCancel: return {{"OK", vbOK}, {"Storno", vbCancel}};
    case vbAbortRetryIgnore: return {{"Přerušit", vbAbort}, {"Opakovat", vbRetry}, {"Ignorovat", vbIgnore}};
    case vbYesNoCancel: return {{"Ano", vbYes}, {"Ne", vbNo}, {"Storno", vbCancel}};
    case vbYesNo: return {{"Ano", vbYes}, {"Ne", vbNo}};
    case vbRetryCancel: return {{"Opakovat", vbRetry}, {"Storno", vbCancel}};
    default: return {{"OK", vbOK}};
    }
}

}  // namespace

int QtMessageBoxes::Show(const std::string& prompt, int flags, const std::string& title) {
    QMessageBox box(IconFor(flags), Text(title), Text(prompt), QMessageBox::NoButton,
                    QApplication::activeWindow());
    // Qt wraps a box's text at a narrow width; the program's messages are
    // written line by line, so a line is kept whole up to a sensible width.
    if (auto* label = box.findChild<QLabel*>("qt_msgbox_label")) {
        int longest = 0;
        const QFontMetrics metrics(label->font());
        for (const QString& line : Text(prompt).split('\n'))
            longest = std::max(longest, metrics.horizontalAdvance(line));
        label->setMinimumWidth(std::min(longest + 8, 760));
    }
    const auto buttons = ButtonsFor(flags);
    std::vector<std::pair<QAbstractButton*, int>> made;
    for (const auto& [caption, code] : buttons) {
        const bool cancels = code == vbCancel || (buttons.size() == 1);
        made.emplace_back(box.addButton(QString::fromUtf8(caption),
                                        cancels ? QMessageBox::RejectRole : QMessageBox::AcceptRole),
                          code);
    }
    const std::size_t def = static_cast<std::size_t>(DefaultButtonOf(flags) / 256);
    if (def < made.size()) box.setDefaultButton(static_cast<QPushButton*>(made[def].first));
    box.exec();
    for (const auto& [button, code] : made)
        if (box.clickedButton() == button) return code;
    // Closed with Escape or the window's close button: VB answers Cancel where
    // there is one, else the only button.
    for (const auto& [button, code] : made)
        if (code == vbCancel) return code;
    return made.front().second;
}

std::optional<std::string> QtMessageBoxes::Input(const std::string& prompt, const std::string& title,
                                                 const std::string& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), Text(title), Text(prompt),
                                               QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

}  // namespace forms
