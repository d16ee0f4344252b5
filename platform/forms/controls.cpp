#include "platform/forms/controls.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QWheelEvent>

#include "platform/forms/form.h"
#include "platform/forms/internal/look_pictures.h"

namespace forms {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// VB shows "&x" as an underlined x and "&&" as "&"; a label shows no
// mnemonic underline of its own, so the marks are taken out of its text.
QString WithoutMnemonics(const std::string& caption) {
    const QString in = Q(caption);
    QString out;
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in[i] == '&') {
            if (i + 1 < in.size() && in[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += in[i];
    }
    return out;
}

// An entry field's colours: the back colour fills the field in every state,
// the fore colour is its text.
void ApplyFieldColors(QWidget* w, OleColor back, OleColor fore) {
    if (!w) return;
    QPalette pal = w->palette();
    SetPaletteColor(pal, QPalette::Base, back, true);
    SetPaletteColor(pal, QPalette::Text, fore, false);
    w->setPalette(pal);
}

// A painter on a picture starts as a painter on `w` would: its font, its
// text colour and its background.
void PaintLike(QPainter& p, const QWidget* w) {
    p.setFont(w->font());
    p.setPen(w->palette().color(w->foregroundRole()));
    p.setBrush(w->palette().brush(w->backgroundRole()));
    p.setLayoutDirection(w->layoutDirection());
}

LookPictures& Pictures() {
    static LookPictures pictures;
    return pictures;
}

// A push button drawn from the picture of its look: the piano keys change
// colour by the dozen every step, and the style strokes each of them with
// antialiased rounded frames and gradients. A button with an icon is painted
// as it is.
class ButtonWidget : public QPushButton {
protected:
    void paintEvent(QPaintEvent* e) override {
        QStyleOptionButton option;
        initStyleOption(&option);
        if (!option.icon.isNull()) return QPushButton::paintEvent(e);
        const qreal ratio = devicePixelRatio();
        LookKey key;
        key << 'B' << style() << ratio << static_cast<int>(option.state) << static_cast<int>(option.features)
            << option.rect.size() << option.text << font() << option.palette;
        const QPixmap& look = Pictures().Get(key, size(), ratio, [&](QPainter& p) {
            PaintLike(p, this);
            style()->drawControl(QStyle::CE_PushButton, &option, &p, this);
        });
        QPainter(this).drawPixmap(0, 0, look);
    }
};

// A frame drawn from the picture of its look: the strip's frames are
// repainted whenever a head inside them comes or goes, and the style looks
// its frame picture up by file name (and file time) on every paint. The
// picture holds the frame's own background and is copied, not blended; a
// frame without a background of one colour is drawn in place.
class FrameWidget : public QGroupBox {
protected:
    void paintEvent(QPaintEvent* e) override {
        const QBrush ground = palette().brush(backgroundRole());
        if (!autoFillBackground() || ground.style() != Qt::SolidPattern || !ground.isOpaque())
            return QGroupBox::paintEvent(e);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        const qreal ratio = devicePixelRatio();
        LookKey key;
        key << 'F' << style() << ratio << static_cast<int>(option.state) << static_cast<int>(option.subControls)
            << static_cast<int>(option.features) << static_cast<int>(option.textAlignment) << option.lineWidth
            << option.midLineWidth << option.rect.size() << option.text << font() << option.palette;
        const QPixmap& look = Pictures().Get(
            key, size(), ratio,
            [&](QPainter& p) {
                PaintLike(p, this);
                style()->drawComplexControl(QStyle::CC_GroupBox, &option, &p, this);
            },
            palette().color(backgroundRole()));
        QPainter(this).drawPixmap(0, 0, look);
    }
};

class ImageWidget : public QWidget {
public:
    ImageWidget(const Image* owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!owner_->Visible) return;
        QPainter p(this);
        const Picture& pic = owner_->Picture;
        if (!pic.IsEmpty()) {
            if (owner_->Stretch)
                p.drawPixmap(rect(), pic.Pixmap());
            else
                p.drawPixmap(0, 0, pic.Pixmap());
        }
        if (owner_->BorderStyle != 0) {
            p.setPen(Qt::black);
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }

private:
    const Image* owner_;
};

// A label without a background of its own stands on whatever lies behind it
// (the buttons of the keyboards, white, black or coloured): its text gets a
// thin rim of the contrasting colour so that it can be read on any of them.
// Such a label is drawn from a picture of each look: the tone names over the
// buttons are repainted whenever a button under them changes, and laying out
// the text nine times for the rim costs far more than drawing a picture. The
// empty labels over the buttons (where the clicks land) paint nothing.
class LabelWidget : public QLabel {
public:
    // A label without a text, a frame and a background of its own (the click
    // areas over the treble buttons) takes no part in painting: it gets no
    // paint events when a button under it changes, and Qt does not weigh it
    // against the region being repainted. It still takes the mouse.
    void StayOutOfPaintingIfBlank() {
        const bool blank = text().isEmpty() && frameShape() == QFrame::NoFrame && !autoFillBackground();
        if (blank == !updatesEnabled()) return;
        // What it showed last is painted over before it stops painting.
        if (blank) update();
        setUpdatesEnabled(!blank);
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        // Without a text and a frame there is nothing to paint (a background is Qt's).
        if (text().isEmpty() && frameShape() == QFrame::NoFrame) return;
        if (autoFillBackground() || text().isEmpty()) return QLabel::paintEvent(e);
        const qreal ratio = devicePixelRatio();
        LookKey key;
        key << 'L' << style() << ratio << size() << contentsRect() << text() << font() << palette()
            << static_cast<int>(alignment()) << wordWrap() << isEnabled();
        const QPixmap& look = Pictures().Get(key, size(), ratio, [&](QPainter& p) {
            PaintLike(p, this);
            PaintRimmed(p);
        });
        QPainter(this).drawPixmap(0, 0, look);
    }

private:
    void PaintRimmed(QPainter& p) const {
        const QColor ink = palette().color(QPalette::WindowText);
        const QColor rim = ink.lightness() < 128 ? QColor(255, 255, 255) : QColor(0, 0, 0);
        const int flags = static_cast<int>(alignment()) | (wordWrap() ? Qt::TextWordWrap : 0);
        const QRect area = contentsRect();
        p.setPen(rim);
        for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1), QPoint(-1, -1),
                               QPoint(1, 1), QPoint(-1, 1), QPoint(1, -1)})
            p.drawText(area.translated(d), flags, text());
        p.setPen(isEnabled() ? ink : palette().color(QPalette::Disabled, QPalette::WindowText));
        p.drawText(area, flags, text());
    }
};

class PictureWidget : public QFrame {
public:
    PictureWidget(const PictureBox* owner) : owner_(owner) {}

protected:
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        const Picture& pic = owner_->Picture;
        if (pic.IsEmpty()) return;
        QPainter p(this);
        p.setClipRect(contentsRect());
        p.drawPixmap(contentsRect().topLeft(), pic.Pixmap());
    }

private:
    const PictureBox* owner_;
};

// The text field of a combo box. Qt's combo box announces an item as
// activated also when its text field loses the focus (as it does when the
// list opens) or takes Return while its text names an item; the classic
// control raises no Click for either. The field says when it is acting on
// such an event itself, so that the activation is known not to be a choice.
class ComboField : public QLineEdit {
public:
    bool Acting() const { return acting_; }

protected:
    void focusOutEvent(QFocusEvent* e) override {
        acting_ = true;
        QLineEdit::focusOutEvent(e);
        acting_ = false;
    }
    void keyPressEvent(QKeyEvent* e) override {
        acting_ = true;
        QLineEdit::keyPressEvent(e);
        acting_ = false;
    }

private:
    bool acting_ = false;
};

class ComboWidget : public QComboBox {
public:
    void SetEditable(bool editable) {
        setEditable(editable);
        if (editable && !dynamic_cast<ComboField*>(lineEdit())) setLineEdit(new ComboField);
    }
    // Whether the item activated now is the user's choice: a click or Return
    // on an item of the opened list, a key or the wheel moving the choice in
    // the closed box.
    bool Chosen() const {
        auto* field = dynamic_cast<ComboField*>(lineEdit());
        return !(field && field->Acting());
    }

protected:
    // The wheel turns the control that has the keyboard focus.
    void wheelEvent(QWheelEvent* e) override {
        if (!hasFocus() && !(lineEdit() && lineEdit()->hasFocus())) return e->ignore();
        QComboBox::wheelEvent(e);
    }
};

}  // namespace

// ---------------------------------------------------------------- CommandButton

CommandButton::CommandButton(Container& parent) : Control(parent) {
    auto* button = new ButtonWidget;
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    QObject::connect(button, &QPushButton::clicked, [this] {
        if (Click) Click();
    });
    Attach(button);
}

void CommandButton::ApplyOwn(int id) {
    auto* button = static_cast<QPushButton*>(Widget());
    if (id == kCaption) ChangeLook([&] { button->setText(Q(Caption)); });
    if (id == kStyle) ChangeLook([this] { ApplyColors(); });
    // The default button shows that Return presses it.
    if (id == kDefault) ChangeLook([&] { button->setDefault(Default); });
    if ((id == kDefault && Default) || (id == kCancel && Cancel)) {
        Form* form = ParentForm();
        if (!form) return;
        ForEachControl(*form, [&](Control& control) {
            auto* other = dynamic_cast<CommandButton*>(&control);
            if (!other || other == this) return;
            if (id == kDefault) other->Default = false;
            if (id == kCancel) other->Cancel = false;
        });
    }
}

std::string CommandButton::Look() const {
    return Control::Look() + ' ' + std::to_string(Style) + (Default ? " default " : " ") + Caption();
}

void CommandButton::ApplyColors() {
    QWidget* w = Widget();
    if (!w) return;
    QPalette pal = w->palette();
    SetPaletteColor(pal, QPalette::Button, Style == vbButtonGraphical ? BackColor() : vbButtonFace, true);
    SetPaletteColor(pal, QPalette::ButtonText, ForeColor, false);
    SetPaletteColor(pal, QPalette::Window, vbButtonFace, true);
    w->setPalette(pal);
}

// ---------------------------------------------------------------- Label

Label::Label(Container& parent) : Control(parent) {
    auto* label = new LabelWidget;
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Attach(label);
}

void Label::ApplyOwn(int id) {
    auto* label = static_cast<QLabel*>(Widget());
    switch (id) {
    case kCaption: ChangeLook([&] { label->setText(WithoutMnemonics(Caption)); }); break;
    case kAlignment: {
        Qt::Alignment h = Alignment == vbRightJustify ? Qt::AlignRight
                          : Alignment == vbCenter     ? Qt::AlignHCenter
                                                      : Qt::AlignLeft;
        label->setAlignment(h | Qt::AlignTop);
        break;
    }
    case kBackStyle: ChangeLook([this] { ApplyColors(); }); break;
    case kBorderStyle:
        label->setFrameStyle(BorderStyle != 0 ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
        break;
    case kWordWrap: label->setWordWrap(WordWrap); break;
    default: break;
    }
    StayOutOfPaintingIfBlank();
}

// Run outside ChangeLook: it switches the widget's updates itself.
void Label::StayOutOfPaintingIfBlank() {
    auto* label = static_cast<LabelWidget*>(Widget());
    if (!label) return;
    const bool painting = label->updatesEnabled();
    label->StayOutOfPaintingIfBlank();
    if (label->updatesEnabled() != painting) ForgetShownLook();
}

void Label::ApplyColors() {
    Control::ApplyColors();
    if (!Widget()) return;
    Widget()->setAutoFillBackground(BackStyle != 0);
}

std::string Label::Look() const {
    return Control::Look() + ' ' + std::to_string(BackStyle) + ' ' + Caption();
}

// ---------------------------------------------------------------- Image

Image::Image(Container& parent) : Control(parent) { Attach(new ImageWidget(this)); }

void Image::ApplyOwn(int id) {
    if (id == kPicture && !Stretch && !Picture().IsEmpty()) {
        Width.Assign(PixelsToTwips(Picture().Width()));
        Height.Assign(PixelsToTwips(Picture().Height()));
        ApplyGeometry();
    }
    CheckLookLater();
}

std::string Image::Look() const {
    return std::to_string(Picture().Handle()) + (Stretch ? " s " : " n ") + std::to_string(BorderStyle);
}

// ---------------------------------------------------------------- PictureBox

PictureBox::PictureBox(Container& parent) : Control(parent) {
    auto* frame = new PictureWidget(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Attach(frame);
}

QPoint PictureBox::ClientOrigin() const {
    auto* frame = static_cast<QFrame*>(Widget());
    return frame ? frame->contentsRect().topLeft() : QPoint();
}

void PictureBox::ApplyOwn(int id) {
    auto* frame = static_cast<QFrame*>(Widget());
    if (id == kPicture) ApplyColors();
    if (id == kBorderStyle) {
        frame->setFrameStyle(BorderStyle != 0 ? (QFrame::Panel | QFrame::Sunken) : QFrame::NoFrame);
        for (Control* child : Controls()) child->Move(child->Left, child->Top);
    }
    frame->update();
}

void PictureBox::ApplyColors() {
    Control::ApplyColors();
    // A picture with see-through parts shows what lies behind the box there.
    if (Widget()) Widget()->setAutoFillBackground(!Picture().HasTransparency());
}

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(Container& parent) : Control(parent) {
    auto* box = new QCheckBox;
    QObject::connect(box, &QCheckBox::clicked, [this] { Value = Value == vbChecked ? vbUnchecked : vbChecked; });
    Attach(box);
}

void CheckBox::ApplyOwn(int id) {
    auto* box = static_cast<QCheckBox*>(Widget());
    if (id == kCaption) box->setText(Q(Caption));
    if (id != kValue) return;
    // The widget always shows the property, whoever changed it.
    box->setTristate(Value == vbGrayed);
    box->setCheckState(Value == vbChecked ? Qt::Checked : Value == vbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
    if (Value == shown_) return;
    shown_ = Value;
    if (Click) Click();
}

// ---------------------------------------------------------------- OptionButton

OptionButton::OptionButton(Container& parent) : Control(parent) {
    auto* radio = new QRadioButton;
    radio->setAutoExclusive(false);
    QObject::connect(radio, &QRadioButton::clicked, [this] { Value = true; });
    Attach(radio);
    PlaceTabStop();
}

std::vector<OptionButton*> OptionButton::Reachable() const {
    std::vector<OptionButton*> group;
    if (!Parent()) return group;
    for (Control* sibling : Parent()->Controls()) {
        auto* option = dynamic_cast<OptionButton*>(sibling);
        QWidget* w = option ? option->Widget() : nullptr;
        if (w && w->isEnabled() && w->isVisibleTo(w->window())) group.push_back(option);
    }
    return group;
}

void OptionButton::PlaceTabStop() {
    const std::vector<OptionButton*> group = Reachable();
    OptionButton* stop = group.empty() ? nullptr : group.front();
    for (OptionButton* option : group)
        if (option->Value) stop = option;
    if (!Parent()) return;
    for (Control* sibling : Parent()->Controls())
        if (auto* option = dynamic_cast<OptionButton*>(sibling); option && option->Widget())
            option->Widget()->setFocusPolicy(option == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

void OptionButton::AvailabilityChanged() { PlaceTabStop(); }

bool OptionButton::ActOnKey(const QKeyEvent& key) {
    if ((key.modifiers() & ~Qt::KeyboardModifiers(Qt::KeypadModifier)) != Qt::NoModifier) return false;
    int step = 0;
    switch (key.key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: step = -1; break;
    case Qt::Key_Down:
    case Qt::Key_Right: step = 1; break;
    default: return false;
    }
    const std::vector<OptionButton*> group = Reachable();
    const auto at = std::find(group.begin(), group.end(), this);
    if (at == group.end() || group.size() < 2) return true;
    const auto n = static_cast<std::ptrdiff_t>(group.size());
    OptionButton* next = group[static_cast<std::size_t>(((at - group.begin()) + step + n) % n)];
    next->Widget()->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    next->Value = true;
    return true;
}

void OptionButton::ApplyOwn(int id) {
    auto* radio = static_cast<QRadioButton*>(Widget());
    if (id == kCaption) radio->setText(Q(Caption));
    if (id != kValue) return;
    radio->setChecked(Value);
    if (Value == shown_) return;
    shown_ = Value;
    PlaceTabStop();
    if (!Value) return;
    if (Parent()) {
        for (Control* sibling : Parent()->Controls()) {
            auto* option = dynamic_cast<OptionButton*>(sibling);
            if (option && option != this && option->Value) option->Value = false;
        }
    }
    if (Click) Click();
}

// ---------------------------------------------------------------- Frame

Frame::Frame(Container& parent) : Control(parent) { Attach(new FrameWidget); }

void Frame::ApplyOwn(int id) {
    if (id == kCaption) static_cast<QGroupBox*>(Widget())->setTitle(WithoutMnemonics(Caption));
}

// ---------------------------------------------------------------- ComboBox

ComboBox::ComboBox(Container& parent) : Control(parent) {
    BackColor.Assign(vbWindowBackground);
    ForeColor.Assign(vbWindowText);
    auto* box = new ComboWidget;
    box->SetEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    QObject::connect(box, &QComboBox::activated, [this, box](int index) {
        if (box->Chosen())
            Choose(index);
        else
            ShowChoice();  // not a choice: the widget shows the properties again
    });
    Attach(box);
    WireLineEdit();
}

QComboBox* ComboBox::combo() const { return static_cast<QComboBox*>(Widget()); }

void ComboBox::WireLineEdit() {
    QLineEdit* edit = combo()->lineEdit();
    if (!edit) return;
    RouteEventsFrom(edit);
    QObject::connect(edit, &QLineEdit::textEdited, [this](const QString& text) {
        Text.Assign(text.toStdString());
        if (Change) Change();
    });
}

void ComboBox::ApplyOwn(int id) {
    QComboBox* box = combo();
    switch (id) {
    case kStyle:
        static_cast<ComboWidget*>(box)->SetEditable(Style != vbComboDropdownList);
        if (box->isEditable()) {
            box->setInsertPolicy(QComboBox::NoInsert);
            WireLineEdit();
        }
        break;
    case kText:
        if (box->isEditable()) {
            box->setEditText(Q(Text));
            if (Change) Change();
        } else {
            // A list shows only its items: the text chooses the item it names.
            ListIndex = box->findText(Q(Text), Qt::MatchFixedString);
        }
        break;
    case kListIndex:
        if (ListIndex < -1 || ListIndex >= box->count()) ListIndex.Assign(-1);
        if (ListIndex >= 0) Text.Assign(box->itemText(ListIndex).toStdString());
        ShowChoice();
        if (Click) Click();
        break;
    default: break;
    }
}

void ComboBox::ShowChoice() {
    QComboBox* box = combo();
    box->setCurrentIndex(ListIndex);
    if (box->isEditable()) box->setEditText(Q(Text));
}

void ComboBox::Choose(int index) {
    if (index != ListIndex) {
        ListIndex = index;
        return;
    }
    // The item already chosen, chosen again: Click all the same.
    Text.Assign(combo()->itemText(index).toStdString());
    ShowChoice();
    if (Click) Click();
}

void ComboBox::ApplyColors() { ApplyFieldColors(Widget(), BackColor, ForeColor); }

void ComboBox::AddItem(const std::string& item, int index) {
    QComboBox* box = combo();
    const int at = index < 0 || index > box->count() ? box->count() : index;
    box->insertItem(at, Q(item));
    if (ListIndex >= at) ListIndex.Assign(ListIndex + 1);
    // Adding an item never chooses one.
    box->setCurrentIndex(ListIndex);
    if (box->isEditable()) box->setEditText(Q(Text));
}

void ComboBox::RemoveItem(int index) {
    QComboBox* box = combo();
    if (index < 0 || index >= box->count()) return;
    box->removeItem(index);
    if (ListIndex == index)
        ListIndex.Assign(-1);
    else if (ListIndex > index)
        ListIndex.Assign(ListIndex - 1);
    box->setCurrentIndex(ListIndex);
    if (box->isEditable()) box->setEditText(Q(Text));
}

void ComboBox::Clear() {
    combo()->clear();
    ListIndex.Assign(-1);
    Text.Assign("");
    if (combo()->isEditable()) combo()->setEditText(QString());
}

int ComboBox::ListCount() const { return combo()->count(); }

std::string ComboBox::List(int index) const {
    if (index < 0 || index >= combo()->count()) return {};
    return combo()->itemText(index).toStdString();
}

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(Container& parent) : Control(parent) {
    BackColor.Assign(vbWindowBackground);
    ForeColor.Assign(vbWindowText);
    auto* edit = new QLineEdit;
    QObject::connect(edit, &QLineEdit::textEdited, [this](const QString& text) {
        Text.Assign(text.toStdString());
        if (Change) Change();
    });
    Attach(edit);
}

QLineEdit* TextBox::edit() const { return static_cast<QLineEdit*>(Widget()); }

void TextBox::ApplyOwn(int id) {
    if (id == kLocked) edit()->setReadOnly(Locked);
    if (id != kText) return;
    const QString text = Q(Text);
    if (edit()->text() == text) return;
    edit()->setText(text);
    if (Change) Change();
}

void TextBox::ApplyColors() { ApplyFieldColors(Widget(), BackColor, ForeColor); }

// ---------------------------------------------------------------- Slider

Slider::Slider(Container& parent) : Control(parent) {
    auto* slider = new QSlider(Qt::Horizontal);
    // A dragged thumb changes the value once, where it is let go.
    slider->setTracking(false);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setRange(Min, Max);
    slider->setSingleStep(SmallChange);
    slider->setPageStep(LargeChange);
    QObject::connect(slider, &QSlider::valueChanged, [this](int value) {
        if (applying_ || value == Value) return;
        Value.Assign(value);
        if (Change) Change();
    });
    Attach(slider);
}

QSlider* Slider::slider() const { return static_cast<QSlider*>(Widget()); }

void Slider::ApplyOwn(int id) {
    QSlider* s = slider();
    applying_ = true;
    if (id == kSteps) {
        s->setSingleStep(SmallChange);
        s->setPageStep(LargeChange);
    }
    const int before = s->value();
    if (id == kRange) s->setRange(Min, std::max<int>(Min, Max));
    const int wanted = std::clamp<int>(Value, s->minimum(), s->maximum());
    Value.Assign(wanted);
    s->setValue(wanted);
    applying_ = false;
    if (wanted != before && Change) Change();
}

}  // namespace forms
