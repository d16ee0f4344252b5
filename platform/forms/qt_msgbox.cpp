#include "platform/forms/qt_msgbox.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

#include "platform/forms/font.h"
#include "platform/forms/form.h"
#include "platform/forms/window_focus.h"

namespace forms {

namespace {

QString BoxText(const std::string& s) {
    // Boxes are given CR LF line breaks; Qt wants a plain line feed.
    return QString::fromStdString(s).replace("\r\n", "\n").replace('\r', '\n');
}

QStyle::StandardPixmap IconFor(int flags) {
    switch (IconOf(flags)) {
    case vbCritical: return QStyle::SP_MessageBoxCritical;
    case vbQuestion: return QStyle::SP_MessageBoxQuestion;
    case vbExclamation: return QStyle::SP_MessageBoxWarning;
    default: return QStyle::SP_MessageBoxInformation;
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

// The widest a box may grow on the screen it opens on.
int ScreenLimit(const QWidget* parent) {
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    return screen ? std::max(320, screen->availableGeometry().width() - 80) : 1200;
}

// Title bars show the title with the window manager's buttons beside it; the
// box is made wide enough that the whole title fits.
int TitleWidth(const QString& title) { return QFontMetrics(TitleBarFont()).horizontalAdvance(title) + 140; }

// A word wider than a line cannot be wrapped at a blank; it gets break
// opportunities (zero-width spaces) so that it wraps instead of being cut.
QString BreakLongWords(const QString& text, const QFontMetrics& metrics, int width) {
    QString out;
    QString word;
    auto flush = [&] {
        if (metrics.horizontalAdvance(word) > width) {
            QString piece;
            for (QChar c : word) {
                piece += c;
                if (metrics.horizontalAdvance(piece) > width - metrics.maxWidth()) {
                    out += piece + QChar(0x200B);
                    piece.clear();
                }
            }
            out += piece;
        } else {
            out += word;
        }
        word.clear();
    };
    for (QChar c : text) {
        if (c == ' ' || c == '\n') {
            flush();
            out += c;
        } else {
            word += c;
        }
    }
    flush();
    return out;
}

// Puts a dialog in front of the current form; being modal, it keeps the
// keyboard focus while it is up (WatchWindowFocus). A box raised while no
// form is shown has no window to stand in front of: it stands above every
// window, or a topmost window (of this program, or of a second copy of it)
// could cover it and leave it unanswerable.
void StandAboveCurrentForm(QDialog& dialog) {
    WatchWindowFocus();
    Form* form = CurrentForm();
    if (!form || form->IsTopmost()) dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
}

QWidget* CurrentFormWidget() {
    Form* form = CurrentForm();
    return form ? form->Widget() : nullptr;
}

}  // namespace

MessageDialog::MessageDialog(const std::string& prompt, int flags, const std::string& title, QWidget* parent)
    : QDialog(parent), flags_(flags) {
    // A title and a close box, as a message box has; nothing to minimise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(BoxText(title));
    setModal(true);
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setHorizontalSpacing(16);
    grid->setContentsMargins(16, 16, 16, 12);

    int column = 0;
    if (IconOf(flags) != 0) {
        auto* icon = new QLabel(this);
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        icon->setPixmap(style()->standardIcon(IconFor(flags), nullptr, this).pixmap(size, size));
        icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
        grid->addWidget(icon, 0, column++, Qt::AlignTop);
    }

    text_ = new QLabel(this);
    text_->setObjectName("text");
    text_->setTextFormat(Qt::PlainText);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const QString shown = BoxText(prompt);
    const QFontMetrics metrics(text_->font());
    int longest = 0;
    for (const QString& line : shown.split('\n')) longest = std::max(longest, metrics.horizontalAdvance(line));
    const int iconRoom = column > 0 ? 64 : 0;
    const int limit = std::min(kBoxTextWidth, ScreenLimit(parent) - iconRoom - 48);
    const int width = std::clamp(std::max(longest + 2, TitleWidth(windowTitle()) - iconRoom - 32), 120,
                                 std::max(limit, 120));
    text_->setText(BreakLongWords(shown, metrics, width));
    text_->setWordWrap(true);
    text_->setFixedWidth(width);
    grid->addWidget(text_, 0, column);

    auto* box = new QDialogButtonBox(this);
    box->setCenterButtons(true);
    const auto made = ButtonsFor(flags);
    for (const auto& [caption, code] : made) {
        auto* button = new QPushButton(QString::fromUtf8(caption), this);
        box->addButton(button, QDialogButtonBox::ActionRole);
        buttons_.emplace_back(button, code);
        const int answer = code;
        connect(button, &QPushButton::clicked, this, [this, answer] {
            result_ = answer;
            done(answer);
        });
    }
    grid->addWidget(box, 1, 0, 1, column + 1);

    const std::size_t def = static_cast<std::size_t>(DefaultButtonOf(flags) / 256);
    QPushButton* focused = buttons_[def < buttons_.size() ? def : 0].first;
    focused->setDefault(true);
    focused->setFocus();
    result_ = buttons_.front().second;
}

QString MessageDialog::Text() const { return text_->text().remove(QChar(0x200B)); }

void MessageDialog::reject() {
    // Escape and the close box answer Cancel where there is one; a box with
    // only OK closes with OK; a box that asks (Yes/No, Abort/Retry/Ignore)
    // needs one of its buttons.
    for (const auto& [button, code] : buttons_)
        if (code == vbCancel) {
            result_ = code;
            return done(code);
        }
    if (buttons_.size() == 1) {
        result_ = buttons_.front().second;
        done(result_);
    }
}

int QtMessageBoxes::Show(const std::string& prompt, int flags, const std::string& title) {
    MessageDialog box(prompt, flags, title, CurrentFormWidget());
    StandAboveCurrentForm(box);
    box.exec();
    return box.Result();
}

std::optional<std::string> QtMessageBoxes::Input(const std::string& prompt, const std::string& title,
                                                 const std::string& defaultText) {
    QInputDialog dialog(CurrentFormWidget());
    dialog.setWindowTitle(BoxText(title));
    dialog.setLabelText(BoxText(prompt));
    dialog.setTextValue(QString::fromStdString(defaultText));
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Storno"));
    dialog.setMinimumWidth(std::min(TitleWidth(dialog.windowTitle()), ScreenLimit(dialog.parentWidget())));
    StandAboveCurrentForm(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue().toStdString();
}

}  // namespace forms
