// Measures every text a form shows against the room its control gives it,
// in the font and style the control is drawn with: button captions, label
// captions (word-wrapped ones by the lines their height holds), option and
// check box captions beside their indicators, and frame titles.
#pragma once

#include <string>
#include <vector>

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include "platform/forms/controls.h"
#include "platform/forms/form.h"

namespace text_fit {

// One text in its control: how many pixels it needs and how many it has,
// across (`lines` false) or down (`lines` true, word-wrapped labels and the
// height of one line).
struct Measure {
    std::string control;
    std::string text;
    bool lines = false;
    int need = 0;
    int room = 0;
    bool Fits() const { return need <= room; }
};

inline std::string Describe(const forms::Control& c) {
    return c.Name + (c.Index >= 0 ? "(" + std::to_string(c.Index) + ")" : std::string());
}

// A caption beside a box or a circle, or on a button, is to keep a pixel of
// air at either end: text that reaches the button's bevel or the end of the
// option's background reads as cut.
inline constexpr int kAir = 2;

inline void MeasureControl(const forms::Control& c, std::vector<Measure>& out) {
    QWidget* w = c.Widget();
    if (!w) return;
    const QFontMetrics fm(w->font());
    auto add = [&](const QString& text, bool lines, int need, int room) {
        out.push_back({Describe(c), text.toStdString(), lines, need, room});
    };
    // A caption on a button or beside a box or circle: the room the style
    // gives its text.
    auto caption = [&](QAbstractButton* b, QStyle::SubElement area) {
        if (b->text().isEmpty() || !b->icon().isNull()) return;
        QStyleOptionButton option;
        option.initFrom(b);
        option.text = b->text();
        const QRect room = w->style()->subElementRect(area, &option, b);
        add(b->text(), false, fm.horizontalAdvance(b->text()) + kAir, room.width());
        add(b->text(), true, fm.height(), room.height());
    };
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        caption(button, QStyle::SE_PushButtonContents);
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        caption(radio, QStyle::SE_RadioButtonContents);
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
        caption(check, QStyle::SE_CheckBoxContents);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty()) return;
        const QRect area = label->contentsRect();
        if (label->wordWrap()) {
            // A word longer than the line is not broken: it runs past the edge.
            const QRect used = fm.boundingRect(QRect(0, 0, area.width(), 1 << 20),
                                               static_cast<int>(label->alignment()) | Qt::TextWordWrap, label->text());
            add(label->text(), false, used.width(), area.width());
            add(label->text(), true, used.height(), area.height());
        } else {
            add(label->text(), false, fm.horizontalAdvance(label->text()), area.width());
            add(label->text(), true, fm.height(), area.height());
        }
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        if (group->title().isEmpty()) return;
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.textAlignment = group->alignment();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.lineWidth = 1;
        const QRect title = w->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        add(group->title(), false, title.right() + 1, group->width());
    }
}

// Every text of `container` and of the containers within it.
inline void MeasureAll(const forms::Container& container, std::vector<Measure>& out) {
    for (const forms::Control* c : container.Controls()) {
        MeasureControl(*c, out);
        if (auto* inner = dynamic_cast<const forms::Container*>(c)) MeasureAll(*inner, out);
    }
}

inline std::vector<Measure> MeasureForm(const forms::Form& form) {
    std::vector<Measure> out;
    MeasureAll(form, out);
    return out;
}

}  // namespace text_fit
