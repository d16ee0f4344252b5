// Controls: twips geometry, colours, control arrays, option groups, pictures,
// check boxes, combo boxes, text boxes, sliders and key presses.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "platform/forms/forms.h"
#include "resources/bitmaps/pictures.h"
#include "tests/support/qt_app.h"
#include "tests/support/paint_watch.h"

namespace {

using namespace forms;

class ControlsTest : public ::testing::Test {
protected:
    // The form shown large on a dark ground, for controls to be compared
    // with the Qt widgets placed beside them.
    void ShowForComparison() {
        form.BackColor = 0x00336699;
        form.Width = 12000;
        form.Height = 4800;
        form.Show();
    }

    QApplication& app_ = forms_test::App();  // before the form
    Form form;
};

struct GeometryCase {
    float left, top, width, height;
    QRect pixels;
};

TEST_F(ControlsTest, KeepsTwipsExactlyAndDerivesPixels) {
    const std::vector<GeometryCase> cases = {
        {0, 0, 600, 570, QRect(0, 0, 40, 38)},
        {6000, 9720, 615, 615, QRect(400, 648, 41, 41)},
        {22.4f, 22.5f, 135, 110, QRect(1, 2, 9, 7)},      // 1.49 and 1.5 pixels
        {1740, 9980 - 1440.f, 90, 255, QRect(116, 569, 6, 17)},
        {2250.5f, 9375, 7.4f, 7.6f, QRect(150, 625, 0, 1)},
    };
    for (const auto& c : cases) {
        Label label(form);
        label.Left = c.left;
        label.Top = c.top;
        label.Width = c.width;
        label.Height = c.height;
        EXPECT_EQ(label.Left, c.left);
        EXPECT_EQ(label.Top, c.top);
        EXPECT_EQ(label.Width, c.width);
        EXPECT_EQ(label.Height, c.height);
        EXPECT_EQ(label.Widget()->geometry(), c.pixels) << c.left << "," << c.top;
    }
}

TEST_F(ControlsTest, SinglePrecisionTopComparesAsDoubleWithTheProgramsHeights) {
    Image note(form);
    const double pos = 420;
    note.Top = 9980 - pos;
    EXPECT_TRUE(note.Top == 9980 - pos);
    note.Top -= 60;
    EXPECT_FLOAT_EQ(note.Top, 9500.0f);
    // A value that single precision cannot hold stays the rounded single.
    note.Top = 0.1;
    EXPECT_FALSE(note.Top == 0.1);
    EXPECT_TRUE(note.Top == 0.1f);
}

TEST_F(ControlsTest, ChildrenOfAFrameArePlacedInsideIt) {
    Frame frame(form);
    frame.Move(2280, 720, 1215, 5655);
    OptionButton option(frame);
    option.Move(120, 240 + 360 * 2, 975, 255);
    EXPECT_EQ(option.Widget()->parentWidget(), frame.Widget());
    EXPECT_EQ(option.Widget()->pos(), QPoint(8, 64));
    EXPECT_EQ(option.Parent(), &frame);
}

TEST(ColorTest, ResolvesRgbAndSystemColours) {
    struct Case {
        OleColor value;
        QColor expected;
    };
    const std::vector<Case> cases = {
        {0x000000FF, QColor(255, 0, 0)},        {0x00FF0000, QColor(0, 0, 255)},
        {0x00800080, QColor(128, 0, 128)},      {0x00C00000, QColor(0, 0, 192)},
        {0x00004080, QColor(128, 64, 0)},       {RGB(1, 2, 3), QColor(1, 2, 3)},
        {vbButtonFace, QColor(212, 208, 200)},  {vbWindowText, QColor(0, 0, 0)},
        {vbTitleBarText, QColor(255, 255, 255)}, {vbInactiveBorder, QColor(212, 208, 200)},
        {vbWindowBackground, QColor(255, 255, 255)}, {vbButtonShadow, QColor(128, 128, 128)},
    };
    for (const auto& c : cases) EXPECT_EQ(ToQColor(c.value), c.expected) << std::hex << c.value;
    EXPECT_EQ(RGB(255, 0, 0), 0x000000FFu);
}

TEST_F(ControlsTest, GraphicalButtonsPaintTheirBackColourPlainOnesDoNot) {
    CommandButton key(form);
    key.Style = vbButtonGraphical;
    key.BackColor = vbWindowText;  // a free black key
    EXPECT_EQ(key.Widget()->palette().color(QPalette::Button), QColor(0, 0, 0));
    key.BackColor = 0x800080;
    EXPECT_EQ(key.Widget()->palette().color(QPalette::Button), QColor(128, 0, 128));
    EXPECT_EQ(key.BackColor, 0x800080u);

    CommandButton plain(form);
    plain.BackColor = 255;
    EXPECT_EQ(plain.BackColor, 255u);
    EXPECT_EQ(plain.Widget()->palette().color(QPalette::Button), QColor(212, 208, 200));

    Label label(form);
    label.ForeColor = 0x000000FF;
    EXPECT_EQ(label.Widget()->palette().color(QPalette::Active, QPalette::WindowText), QColor(255, 0, 0));
    label.BackStyle = 0;
    EXPECT_FALSE(label.Widget()->autoFillBackground());
}

TEST_F(ControlsTest, SparseControlArrayRaises340ForMissingElements) {
    ControlArray<Image> pom("imgDiskantPom");
    for (int n = 2; n <= 49; ++n)
        if (n % 3 != 0) pom.Load(n, form);
    EXPECT_EQ(pom.Count(), 32);
    EXPECT_EQ(pom.LBound(), 2);
    EXPECT_EQ(pom.UBound(), 49);
    EXPECT_EQ(pom(5).Index, 5);
    EXPECT_EQ(pom(5).Name, "imgDiskantPom");
    for (int missing : {0, 1, 3, 48, 50}) {
        try {
            pom(missing);
            ADD_FAILURE() << missing;
        } catch (const vb::RuntimeError& e) {
            EXPECT_EQ(e.Number(), 340);
            EXPECT_EQ(e.Description(), "Control array element '" + std::to_string(missing) + "' doesn't exist");
        }
    }
    std::vector<int> seen;
    for (Image& image : pom) seen.push_back(image.Index);
    ASSERT_EQ(seen.size(), 32u);
    EXPECT_EQ(seen.front(), 2);
    EXPECT_EQ(seen[1], 4);
    EXPECT_EQ(seen.back(), 49);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));

    try {
        pom.Load(5, form);
        ADD_FAILURE();
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 360);
    }
    pom.Unload(5);
    EXPECT_FALSE(pom.Exists(5));
    EXPECT_EQ(pom.Count(), 31);

    ControlArray<Label> empty("x");
    EXPECT_THROW(empty.UBound(), vb::RuntimeError);
}

TEST_F(ControlsTest, OptionButtonsAreGroupedByContainer) {
    Frame left(form), right(form);
    ControlArray<OptionButton> a("a"), b("b");
    std::vector<int> clicks;
    for (int i = 0; i < 3; ++i) {
        a.Load(i, left).Click = [&clicks, i] { clicks.push_back(i); };
        b.Load(i, right).Click = [&clicks, i] { clicks.push_back(10 + i); };
    }
    OptionButton onForm(form);
    onForm.Value = true;

    a(1).Value = true;
    b(2).Value = true;
    a(0).Value = true;
    EXPECT_FALSE(a(1).Value);
    EXPECT_TRUE(a(0).Value);
    EXPECT_TRUE(b(2).Value);
    EXPECT_TRUE(onForm.Value);
    EXPECT_EQ(clicks, (std::vector<int>{1, 12, 0}));
    EXPECT_TRUE(static_cast<QRadioButton*>(a(0).Widget())->isChecked());
    EXPECT_FALSE(static_cast<QRadioButton*>(a(1).Widget())->isChecked());

    // Setting the chosen one again raises nothing; the user's click chooses too.
    clicks.clear();
    a(0).Value = true;
    left.Move(0, 0, 3000, 3000);
    a(2).Move(120, 960, 975, 255);
    form.Show();
    QTest::mouseClick(a(2).Widget(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(a(2).Value);
    EXPECT_FALSE(a(0).Value);
    EXPECT_EQ(clicks, std::vector<int>{2});
    form.Hide();
}

TEST_F(ControlsTest, CheckBoxRaisesClickWhenItsValueChanges) {
    CheckBox box(form);
    int clicks = 0;
    box.Click = [&] { ++clicks; };
    box.Value = vbChecked;
    box.Value = vbChecked;
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(static_cast<QCheckBox*>(box.Widget())->isChecked());
    box.Value = vbUnchecked;
    EXPECT_EQ(clicks, 2);
    box.Move(0, 0, 1500, 255);
    form.Show();
    QTest::mouseClick(box.Widget(), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_EQ(box.Value, vbChecked);
    EXPECT_EQ(clicks, 3);
    form.Hide();
}

TEST_F(ControlsTest, PicturesAreSharedByIdentity) {
    Image source(form), target(form), other(form);
    QImage pixels(40, 38, QImage::Format_RGB32);
    pixels.fill(Qt::red);
    source.Picture = Picture::FromImage(pixels, 24);
    other.Picture = Picture::FromImage(pixels, 24);
    target.Picture = source.Picture;
    EXPECT_TRUE(target.Picture == source.Picture);
    EXPECT_FALSE(other.Picture == source.Picture);  // same pixels, another picture
    EXPECT_EQ(target.Picture().Handle(), source.Picture().Handle());
    EXPECT_NE(target.Picture().Handle(), 0);

    // An Image without Stretch takes the picture's size.
    EXPECT_EQ(target.Width, 600.0f);
    EXPECT_EQ(target.Height, 570.0f);

    target.Picture = LoadPicture();
    EXPECT_TRUE(target.Picture().IsEmpty());
    EXPECT_EQ(target.Picture().Handle(), 0);
    EXPECT_FALSE(target.Picture == source.Picture);

    Image stretched(form);
    stretched.Stretch = true;
    stretched.Move(0, 0, 240, 240);
    stretched.Picture = source.Picture;
    EXPECT_EQ(stretched.Width, 240.0f);
}

TEST_F(ControlsTest, ComboBoxListAndText) {
    ComboBox combo(form);
    int clicks = 0, changes = 0;
    combo.Click = [&] { ++clicks; };
    combo.Change = [&] { ++changes; };
    combo.AddItem("Calvira12");
    combo.AddItem("Transpozice");
    EXPECT_EQ(combo.ListCount(), 2);
    EXPECT_EQ(combo.ListIndex, -1);  // adding never chooses
    EXPECT_EQ(clicks, 0);
    combo.ListIndex = 1;
    EXPECT_EQ(combo.Text(), "Transpozice");
    EXPECT_EQ(clicks, 1);
    combo.AddItem("Alfa", 0);
    EXPECT_EQ(combo.ListIndex, 2);
    EXPECT_EQ(combo.List(0), "Alfa");
    combo.Text = "C:\\Korvel.htm";
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(static_cast<QComboBox*>(combo.Widget())->currentText(), "C:\\Korvel.htm");
    combo.Clear();
    EXPECT_EQ(combo.ListCount(), 0);
    EXPECT_EQ(combo.ListIndex, -1);
    EXPECT_EQ(combo.Text(), "");
}

// A combo box raises Click when the user chooses an item (in the opened list,
// or by moving the choice with a key or the wheel in the closed box), also
// when the item chosen is the one already chosen. Opening the list, leaving
// the text field or pressing Return in it choose nothing.
TEST_F(ControlsTest, ComboBoxRaisesClickOnlyWhenTheUserChooses) {
    TextBox elsewhere(form);
    auto leave = [&elsewhere] { elsewhere.SetFocus(); };
    struct Case {
        const char* what;
        int listIndexBefore;  // -1: only the text names an item, as after the sheets are listed
        std::function<void(ComboBox&, QComboBox&)> user;
        int clicks;
        int listIndex;
        std::string text;
    };
    auto chooseInList = [](int row) {
        return [row](ComboBox&, QComboBox& box) {
            box.showPopup();
            QAbstractItemView* list = box.view();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(row, 0)).center());
        };
    };
    auto key = [](Qt::Key k, Qt::KeyboardModifiers modifiers = {}) {
        return [k, modifiers](ComboBox&, QComboBox& box) { QTest::keyClick(&box, k, modifiers); };
    };
    auto wheelDown = [leave](bool focused) {
        return [focused, leave](ComboBox&, QComboBox& box) {
            if (!focused) leave();
            QWheelEvent wheel(QPointF(5, 5), box.mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton, {},
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(&box, &wheel);
        };
    };
    const std::vector<Case> cases = {
        {"opening the list", -1, [](ComboBox&, QComboBox& box) { box.showPopup(); box.hidePopup(); }, 0, -1,
         "Calvira12"},
        {"leaving the text field", -1, [leave](ComboBox&, QComboBox&) { leave(); }, 0, -1, "Calvira12"},
        {"Return in the text field", -1, key(Qt::Key_Return), 0, -1, "Calvira12"},
        {"typing an item's name and leaving", -1,
         [leave](ComboBox&, QComboBox& box) {
             box.lineEdit()->selectAll();
             QTest::keyClicks(&box, "g dur");
             leave();
         },
         0, -1, "g dur"},
        {"Escape in the opened list", -1,
         [](ComboBox&, QComboBox& box) {
             box.showPopup();
             QTest::keyClick(box.view(), Qt::Key_Escape);
         },
         0, -1, "Calvira12"},
        {"Alt+Down opens the list", 0, key(Qt::Key_Down, Qt::AltModifier), 0, 0, "Calvira12"},
        {"a click on an item of the opened list", -1, chooseInList(1), 1, 1, "G Dur"},
        {"a click on the item already chosen", 1, chooseInList(1), 1, 1, "G Dur"},
        {"Return on an item of the opened list", -1,
         [](ComboBox&, QComboBox& box) {
             box.showPopup();
             box.view()->setCurrentIndex(box.model()->index(2, 0));
             QTest::keyClick(box.view(), Qt::Key_Return);
         },
         1, 2, "F Dur"},
        {"Down in the closed box", 0, key(Qt::Key_Down), 1, 1, "G Dur"},
        {"the wheel over the box with the focus", 0, wheelDown(true), 1, 1, "G Dur"},
        {"the wheel over the box without the focus", 0, wheelDown(false), 0, 0, "Calvira12"},
    };
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
    for (const Case& c : cases) {
        ComboBox combo(form);
        combo.Move(0, 0, 1920, 315);
        for (const char* item : {"Calvira12", "G Dur", "F Dur"}) combo.AddItem(item);
        if (c.listIndexBefore >= 0) combo.ListIndex = c.listIndexBefore;
        combo.Text = "Calvira12";
        int clicks = 0;
        combo.Click = [&] { ++clicks; };
        auto& box = *static_cast<QComboBox*>(combo.Widget());
        form.Widget()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.Widget())) << c.what;
        box.lineEdit()->setFocus();
        ASSERT_TRUE(box.lineEdit()->hasFocus()) << c.what;
        c.user(combo, box);
        QCoreApplication::processEvents();
        EXPECT_EQ(clicks, c.clicks) << c.what;
        EXPECT_EQ(combo.ListIndex, c.listIndex) << c.what;
        EXPECT_EQ(combo.Text(), c.text) << c.what;
        EXPECT_EQ(box.lineEdit()->text().toStdString(), c.text) << c.what;
        box.hidePopup();
    }
    form.Hide();
}

TEST_F(ControlsTest, KeyPressSeesTheKeyAndMaySwallowIt) {
    TextBox text(form);
    std::vector<int> keys;
    text.KeyPress = [&](int& key) {
        keys.push_back(key);
        if (key == 'x') key = 0;
    };
    int changes = 0;
    text.Change = [&] { ++changes; };
    form.Show();
    QTest::keyClicks(text.Widget(), "axb");
    QTest::keyClick(text.Widget(), Qt::Key_Return);
    EXPECT_EQ(keys, (std::vector<int>{'a', 'x', 'b', 13}));
    EXPECT_EQ(text.Text(), "ab");
    EXPECT_EQ(changes, 2);
    text.Text = "C:\\";
    EXPECT_EQ(changes, 3);

    ComboBox combo(form);
    std::vector<int> comboKeys;
    combo.KeyPress = [&](int& key) { comboKeys.push_back(key); };
    QTest::keyClick(combo.Widget(), Qt::Key_Return);
    EXPECT_EQ(comboKeys, std::vector<int>{13});
    form.Hide();
}

TEST_F(ControlsTest, SliderRaisesChangeAndKeepsItsRange) {
    Slider slider(form);
    slider.Min = -5;
    slider.Max = 5;
    std::vector<int> values;
    slider.Change = [&] { values.push_back(slider.Value); };
    slider.Value = 5;
    slider.Value = 5;
    slider.Value = -7;  // outside the range: held at Min
    static_cast<QSlider*>(slider.Widget())->setValue(2);  // the user
    EXPECT_EQ(values, (std::vector<int>{5, -5, 2}));
    EXPECT_EQ(slider.Value, 2);
}

// A thumb being dragged raises Change once, where it is let go; a key or a
// click beside the thumb changes the value at once.
TEST_F(ControlsTest, SliderRaisesChangeWhenTheDraggedThumbIsLetGo) {
    Slider slider(form);
    slider.Min = -5;
    slider.Max = 5;
    std::vector<int> values;
    slider.Change = [&] { values.push_back(slider.Value); };
    auto* thumb = static_cast<QSlider*>(slider.Widget());
    thumb->setSliderDown(true);  // as the mouse pressed on the thumb drives it
    for (int position : {1, 2, 4}) thumb->setSliderPosition(position);
    EXPECT_TRUE(values.empty());
    thumb->setSliderDown(false);
    EXPECT_EQ(values, std::vector<int>{4});
    EXPECT_EQ(slider.Value, 4);

    QTest::keyClick(thumb, Qt::Key_Left);
    thumb->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(values, (std::vector<int>{4, 3, -2}));
}

TEST_F(ControlsTest, MouseEventsCarryButtonShiftAndTwips) {
    Image image(form);
    image.Move(0, 0, 600, 600);
    std::vector<std::string> events;
    image.MouseDown = [&](int button, int shift, float x, float y) {
        events.push_back("down " + std::to_string(button) + " " + std::to_string(shift) + " " +
                         std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
    };
    image.MouseUp = [&](int button, int, float, float) { events.push_back("up " + std::to_string(button)); };
    image.Click = [&] { events.push_back("click"); };
    form.Show();
    QTest::mouseClick(image.Widget(), Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(4, 10));
    EXPECT_EQ(events, (std::vector<std::string>{"down 2 3 60 150", "up 2", "click"}));

    // A disabled control raises nothing.
    events.clear();
    image.Enabled = false;
    QTest::mouseClick(image.Widget(), Qt::LeftButton, {}, QPoint(4, 10));
    EXPECT_TRUE(events.empty());
    form.Hide();
}

// A double-click through the window system raises the classic events once
// each (MouseDown, MouseUp, Click, DblClick, MouseUp): the second press
// raises no MouseDown and its release no Click, so a handler that toggles on
// Click toggles once before DblClick runs.
TEST_F(ControlsTest, DoubleClickRaisesTheClassicEventsInOrder) {
    Label label(form);
    label.Move(600, 600, 615, 615);
    std::vector<std::string> events;
    label.MouseDown = [&](int, int, float, float) { events.push_back("down"); };
    label.MouseUp = [&](int, int, float, float) { events.push_back("up"); };
    label.Click = [&] { events.push_back("click"); };
    label.DblClick = [&] { events.push_back("dblclick"); };
    form.Show();
    QWindow* window = form.Widget()->windowHandle();
    ASSERT_NE(window, nullptr);
    const QPoint inside = label.Widget()->mapTo(form.Widget()->window(), QPoint(10, 10));
    QTest::mouseDClick(window, Qt::LeftButton, {}, inside);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up", "click", "dblclick", "up"}));

    // A single click afterwards is a whole click again.
    events.clear();
    QTest::mouseClick(window, Qt::LeftButton, {}, inside, 1000);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up", "click"}));
    form.Hide();
}

TEST_F(ControlsTest, ButtonClickAndVisibility) {
    CommandButton button(form);
    button.Caption = "Automat";
    button.Move(0, 0, 1200, 375);
    int clicks = 0;
    button.Click = [&] { ++clicks; };
    form.Show();
    QTest::mouseClick(button.Widget(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(static_cast<QPushButton*>(button.Widget())->text(), "Automat");
    button.Visible = false;
    EXPECT_FALSE(button.Widget()->isVisible());
    button.Visible = true;
    EXPECT_TRUE(button.Widget()->isVisible());
    form.Hide();
    // A control's Visible is its own: the hidden form does not change it.
    EXPECT_TRUE(button.Visible);
}

}  // namespace

namespace {

// How many pixels of `area` of the form's client are lighter than mid-grey.
int LightPixels(Form& f, const QRect& area) {
    const QImage shot = f.ClientWidget()->grab(area).toImage();
    int light = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) light += qGray(shot.pixel(x, y)) > 128 ? 1 : 0;
    return light;
}

}  // namespace

// A sign or note head painted over a staff line keeps the line in sight: its
// white is not painted, in an image as in a picture box.
TEST_F(ControlsTest, StaffSignsLetWhatIsBehindThemShowThrough) {
    form.BackColor = 0;  // black behind, so any white painted would show
    form.Show();
    Image flat(form);
    flat.Picture = resources::LoadResPicture(122);
    PictureBox sharp(form);
    sharp.BorderStyle = 0;
    sharp.BackColor = 0x00FFFFFF;
    sharp.Move(600, 0, 90, 300);
    sharp.Picture = resources::LoadResPicture(131);
    Image head(form);
    head.Move(0, 600);
    head.Picture = resources::LoadResPicture(124);
    for (const Control* c : std::initializer_list<const Control*>{&flat, &sharp, &head}) {
        EXPECT_EQ(LightPixels(form, c->Widget()->geometry()), 0) << c->Widget()->geometry().x();
    }
    // A picture without see-through parts still fills its box.
    sharp.Picture = resources::LoadResPicture(129);
    EXPECT_GT(LightPixels(form, sharp.Widget()->geometry()), 0);
}

// The finger digit on a black button: the label without a background of its
// own gives its dark text a light rim, so it can be read on any button.
TEST_F(ControlsTest, TextOfALabelWithoutBackgroundCanBeReadOnDarkButtons) {
    form.BackColor = 0;
    form.Show();
    Label finger(form);
    finger.Move(0, 0, 615, 615);
    finger.BackStyle = 0;
    finger.Alignment = vbCenter;
    finger.FontSize = 12;
    finger.FontBold = true;
    finger.Caption = "3";
    EXPECT_GT(LightPixels(form, finger.Widget()->geometry()), 10);
    finger.Caption = "";
    EXPECT_EQ(LightPixels(form, finger.Widget()->geometry()), 0);
}

// The program writes the same values again and again (every step releases
// every key): a write that changes nothing does not reach the owner, so the
// widget is not touched; properties that act on every write still hear of it.
TEST(PropertyTest, TheOwnerHearsOfChangesOnlyUnlessEveryWriteActs) {
    struct Owner : PropertyOwner {
        std::vector<int> heard;
        void PropertyChanged(int id) override { heard.push_back(id); }
    } owner;
    Property<float> top(&owner, 1, 9980.f);
    Property<std::string> caption(&owner, 2);
    Property<bool> enabled(&owner, 3, true, Notify::Always);
    for (int i = 0; i < 3; ++i) {
        top = 9980.f;
        caption = std::string();
        enabled = true;
    }
    EXPECT_EQ(owner.heard, (std::vector<int>{3, 3, 3}));
    owner.heard.clear();
    top -= 60;
    caption = "c1";
    caption = "c1";
    EXPECT_EQ(owner.heard, (std::vector<int>{1, 2}));
    EXPECT_EQ(top, 9920.f);
}

// A hidden picture is neither seen nor in the way of the mouse: what lies
// under it is drawn and gets the clicks, as when it is shown it covers them.
TEST_F(ControlsTest, AHiddenPictureIsNotDrawnAndLetsTheMouseThrough) {
    form.BackColor = 0;
    form.Show();
    CommandButton below(form);
    below.Move(0, 0, 900, 900);
    Image head(form);
    head.Picture = resources::LoadResPicture(129);  // a button picture: light, without see-through parts
    head.Move(0, 0);
    const QPoint centre = head.Widget()->geometry().center();
    EXPECT_EQ(form.ClientWidget()->childAt(centre), head.Widget());

    head.Visible = false;
    EXPECT_FALSE(head.Visible);
    EXPECT_EQ(form.ClientWidget()->childAt(centre), below.Widget());
    below.Visible = false;
    EXPECT_EQ(LightPixels(form, head.Widget()->geometry()), 0);

    head.Visible = true;
    EXPECT_EQ(form.ClientWidget()->childAt(centre), head.Widget());
    EXPECT_GT(LightPixels(form, head.Widget()->geometry()), 0);
}

namespace {

using testsupport::PaintWatch;
using testsupport::Settle;

}  // namespace

// Hidden pictures stay out of the painting: what lies under one repaints
// without it, and moving one repaints nothing (the staff's heads and signs
// are hidden and moved by the dozen every step). Where it stood, nothing of
// it shows.
TEST_F(ControlsTest, HiddenPicturesTakeNoPartInPainting) {
    form.BackColor = 0;
    form.Show();
    Label under(form);
    under.Move(0, 0, 900, 900);
    under.BackColor = 0;
    Image head(form);
    head.Picture = resources::LoadResPicture(129);  // light, without see-through parts
    head.Move(0, 0);
    const QRect stood = head.Widget()->geometry();
    head.Visible = false;
    Settle();

    PaintWatch headPaints(head.Widget());
    PaintWatch clientPaints(form.ClientWidget());
    under.Caption = "c1";
    Settle();
    EXPECT_EQ(headPaints.paints, 0);
    EXPECT_EQ(LightPixels(form, stood), 0);

    clientPaints.paints = 0;
    under.Visible = false;  // nothing in front of the client but the hidden picture
    Settle();
    clientPaints.paints = 0;
    for (float top : {300.f, 600.f, 0.f}) head.Top = top;
    Settle();
    EXPECT_EQ(clientPaints.paints, 0);
    EXPECT_EQ(headPaints.paints, 0);

    head.Visible = true;
    Settle();
    EXPECT_GT(headPaints.paints, 0);
    EXPECT_EQ(head.Widget()->geometry(), stood);
    EXPECT_GT(LightPixels(form, stood), 0);
}

// The colour the screen shows at the centre of `w` (the window's backing
// store, not a fresh rendering of the widget).
QRgb OnScreen(QWidget* w) {
    const QPoint centre = w->mapTo(w->window(), w->rect().center());
    return w->window()->windowHandle()->screen()->grabWindow(w->window()->winId()).toImage().pixel(centre);
}

// A control whose look is changed and changed back before the screen is
// painted (a key set free and pressed again in one step) is not repainted;
// a change that stays is painted, and the screen shows it.
TEST_F(ControlsTest, ALookChangedAndChangedBackIsNotRepainted) {
    form.Show();
    CommandButton key(form);
    key.Move(0, 0, 1500, 300);
    key.Style = vbButtonGraphical;
    key.BackColor = 0x0000FF;
    Label name(form);
    name.Move(0, 600, 1500, 300);
    name.BackColor = 0x00FF00;
    name.Caption = "n";
    Image button(form);
    button.Move(0, 1200);
    // Pictures of one size: a picture of another size moves what lies around it.
    QImage plain(20, 20, QImage::Format_RGB32);
    plain.fill(Qt::white);
    const Picture free = Picture::FromImage(plain, 24);
    plain.fill(Qt::darkRed);
    const Picture pressed = Picture::FromImage(plain, 24);
    button.Picture = free;
    Settle();

    struct Case {
        const char* what;
        Control* control;
        std::function<void(bool)> change;  // true: away from the look, false: back
        bool showsAtCentre;                 // the change shows in the control's middle pixel
    };
    const std::vector<Case> cases = {
        {"button colour", &key, [&](bool away) { key.BackColor = away ? 0xFF0000 : 0x0000FF; }, true},
        {"button caption", &key, [&](bool away) { key.Caption = away ? "c" : ""; }, false},
        {"button enabled", &key, [&](bool away) { key.Enabled = !away; }, false},
        {"label caption", &name, [&](bool away) { name.Caption = away ? "c1" : "n"; }, false},
        {"label colour", &name, [&](bool away) { name.BackColor = away ? 0xFF0000 : 0x00FF00; }, true},
        {"label see-through", &name, [&](bool away) { name.BackStyle = away ? 0 : 1; }, true},
        {"picture", &button, [&](bool away) { button.Picture = away ? pressed : free; }, true},
    };
    for (const Case& c : cases) {
        PaintWatch paints(c.control->Widget());
        c.change(true);
        c.change(false);
        Settle();
        EXPECT_EQ(paints.paints, 0) << c.what;

        const QRgb before = OnScreen(c.control->Widget());
        c.change(true);
        Settle();
        EXPECT_GT(paints.paints, 0) << c.what;
        const QRgb away = OnScreen(c.control->Widget());
        c.change(false);
        Settle();
        EXPECT_EQ(OnScreen(c.control->Widget()), before) << c.what;
        if (c.showsAtCentre) {
            EXPECT_NE(away, before) << c.what;
        }
    }
    // Back to its look after the screen showed another: painted again.
    PaintWatch keyPaints(key.Widget());
    const QRgb shown = OnScreen(key.Widget());
    key.BackColor = 0xFF0000;
    Settle();
    keyPaints.paints = 0;
    key.BackColor = 0x0000FF;
    Settle();
    EXPECT_GT(keyPaints.paints, 0);
    EXPECT_EQ(OnScreen(key.Widget()), shown);
}

// A picture hidden and shown again at its place before the screen is painted
// (a strip rebuilt with a head where it stood) is not repainted, nor is what
// lies around it; hidden for good, it is gone from the screen.
TEST_F(ControlsTest, APictureHiddenAndShownAgainAtItsPlaceIsNotRepainted) {
    form.BackColor = 0;
    form.Show();
    Image head(form);
    head.Picture = resources::LoadResPicture(129);  // light, without see-through parts
    head.Move(300, 300);
    const QRect stood = head.Widget()->geometry();
    Settle();

    PaintWatch headPaints(head.Widget());
    PaintWatch clientPaints(form.ClientWidget());
    head.Visible = false;
    head.Top = 9980;  // parked while hidden, as the staff's heads are
    head.Top = 300;
    head.Visible = true;
    Settle();
    EXPECT_EQ(headPaints.paints, 0);
    EXPECT_EQ(clientPaints.paints, 0);
    EXPECT_EQ(head.Widget()->geometry(), stood);
    EXPECT_GT(LightPixels(form, stood), 0);

    head.Visible = false;
    Settle();
    EXPECT_GT(clientPaints.paints, 0);
    EXPECT_EQ(head.Widget()->size(), QSize(0, 0));
    // The screen, not a fresh rendering, is dark where it stood.
    QWidget* window = form.ClientWidget()->window();
    const QImage screen = window->windowHandle()->screen()->grabWindow(window->winId()).toImage();
    EXPECT_EQ(qGray(screen.pixel(form.ClientWidget()->mapTo(window, stood.center()))), 0);
}

// A see-through label without a text (the click areas over the treble
// buttons) takes no part in painting: a picture under it changes without the
// label being painted. It still takes the clicks where it stands, and once it
// has a text, a frame or a background it paints again; its old text is gone
// from the screen when it loses it.
TEST_F(ControlsTest, BlankSeeThroughLabelsStayOutOfPaintingButTakeClicks) {
    form.BackColor = 0;
    Image button(form);
    button.Picture = resources::LoadResPicture(129);
    button.Move(0, 0);
    Label area(form);
    area.BackStyle = 0;
    area.Move(0, 0, button.Width, button.Height);
    int clicks = 0;
    area.Click = [&] { ++clicks; };
    form.Show();
    Settle();

    PaintWatch areaPaints(area.Widget());
    button.Picture = Picture();
    Settle();
    button.Picture = resources::LoadResPicture(129);
    Settle();
    EXPECT_EQ(areaPaints.paints, 0);
    QWindow* window = form.Widget()->windowHandle();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(window, Qt::LeftButton, {}, area.Widget()->mapTo(form.Widget(), QPoint(5, 5)));
    EXPECT_EQ(clicks, 1);

    // A text, a frame or a background of its own: painted again when asked to.
    const std::vector<std::function<void(bool)>> looks = {
        [&](bool on) { area.Caption = on ? "c1" : ""; },
        [&](bool on) { area.BorderStyle = on ? 1 : 0; },
        [&](bool on) { area.BackStyle = on ? 1 : 0; },
    };
    for (std::size_t i = 0; i < looks.size(); ++i) {
        for (bool on : {true, false}) {
            looks[i](on);
            Settle();
            areaPaints.paints = 0;
            area.Widget()->update();
            Settle();
            if (on) EXPECT_GT(areaPaints.paints, 0) << i;
            else EXPECT_EQ(areaPaints.paints, 0) << i;
        }
    }
    // Its text, once taken away, leaves nothing behind over a dark ground.
    button.Visible = false;
    area.Caption = "c1";
    Settle();
    EXPECT_GT(LightPixels(form, area.Widget()->geometry()), 0);
    area.Caption = "";
    Settle();
    EXPECT_EQ(LightPixels(form, area.Widget()->geometry()), 0);
}

// Buttons are drawn from pictures of their looks: each looks exactly as the
// style paints a push button, plain or coloured, enabled or not, pressed or
// not, the first time and from its picture again.
TEST_F(ControlsTest, ButtonsLookAsTheStylePaintsThem) {
    struct Case {
        const char* caption;
        int style;
        OleColor back;
        bool enabled;
        bool down;
    };
    const Case cases[] = {
        {"Další", vbButtonStandard, vbButtonFace, true, false}, {"", vbButtonGraphical, 0x00000000, true, false},
        {"", vbButtonGraphical, 0x00FFFFFF, true, false},        {"c1", vbButtonGraphical, 0x00C000C0, true, false},
        {"c1", vbButtonGraphical, 0x00C000C0, true, true},       {"Zpět", vbButtonStandard, vbButtonFace, false, false},
        {"?", vbButtonGraphical, 0x00FF8080, false, false},
    };
    ShowForComparison();
    std::vector<std::unique_ptr<CommandButton>> buttons;
    std::vector<std::unique_ptr<QPushButton>> plain;
    float top = 600;  // away from where the mouse may rest
    for (const Case& c : cases) {
        auto& b = *buttons.emplace_back(std::make_unique<CommandButton>(form));
        b.Move(600, top, 1380, 375);
        b.Caption = c.caption;
        b.Style = c.style;
        b.BackColor = c.back;
        b.Enabled = c.enabled;
        // The same button as Qt paints it, beside it.
        auto& q = *plain.emplace_back(std::make_unique<QPushButton>(QString::fromUtf8(c.caption), form.ClientWidget()));
        q.setAutoDefault(false);
        q.setFocusPolicy(Qt::TabFocus);
        q.setPalette(b.Widget()->palette());
        q.setFont(b.Widget()->font());
        q.setEnabled(c.enabled);
        static_cast<QPushButton*>(b.Widget())->setDown(c.down);
        q.setDown(c.down);
        q.setGeometry(b.Widget()->geometry().translated(200, 0));
        q.show();
        top += 450;
    }
    auto compare = [&](std::size_t i, const char* what) {
        const QRect at = buttons[i]->Widget()->geometry();
        const QImage ours = form.ClientWidget()->grab(at).toImage();
        const QImage qt = form.ClientWidget()->grab(at.translated(200, 0)).toImage();
        EXPECT_EQ(ours, qt) << cases[i].caption << " " << cases[i].back << " " << what;
    };
    if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    Settle();
    for (const char* round : {"first", "again"})
        for (std::size_t i = 0; i < buttons.size(); ++i) compare(i, round);
    // With the keyboard focus (each button in turn).
    buttons[0]->Widget()->setFocus(Qt::TabFocusReason);
    const QImage ours = form.ClientWidget()->grab(buttons[0]->Widget()->geometry()).toImage();
    plain[0]->setFocus(Qt::TabFocusReason);
    const QImage qt = form.ClientWidget()->grab(plain[0]->geometry()).toImage();
    EXPECT_EQ(ours, qt) << "focused";
}

namespace {

// The pixels of two pictures of one size that differ by more than one step
// of a colour channel: the soft edges of a frame drawn onto its picture come
// out a step apart from those blended in place.
int Unlike(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 1 || std::abs(qGreen(p) - qGreen(q)) > 1 || std::abs(qBlue(p) - qBlue(q)) > 1)
                ++n;
        }
    return n;
}

}  // namespace

// A frame, drawn from a picture of its look, looks as Qt paints a group box:
// with and without a caption, on the window's colour and on white.
TEST_F(ControlsTest, FramesLookAsQtPaintsThem) {
    struct Case {
        const char* caption;
        OleColor back;
        float width, height;
    };
    const Case cases[] = {{"", vbWindowBackground, 375, 2295}, {"Noty", vbButtonFace, 1215, 1200},
                          {"Čtení", 0x00FFFFFF, 2000, 900}};
    ShowForComparison();
    std::vector<std::unique_ptr<Frame>> frames;
    std::vector<std::unique_ptr<QGroupBox>> plain;
    float left = 300;
    for (const Case& c : cases) {
        auto& f = *frames.emplace_back(std::make_unique<Frame>(form));
        f.Move(left, 300, c.width, c.height);
        f.Caption = c.caption;
        f.BackColor = c.back;
        auto& q = *plain.emplace_back(std::make_unique<QGroupBox>(QString::fromUtf8(c.caption), form.ClientWidget()));
        q.setPalette(f.Widget()->palette());
        q.setAutoFillBackground(f.Widget()->autoFillBackground());
        q.setFont(f.Widget()->font());
        q.setGeometry(f.Widget()->geometry().translated(0, 200));
        q.show();
        left += c.width + 300;
    }
    Settle();
    for (const char* round : {"first", "again"})
        for (std::size_t i = 0; i < frames.size(); ++i) {
            const QRect at = frames[i]->Widget()->geometry();
            EXPECT_EQ(Unlike(form.ClientWidget()->grab(at).toImage(), form.ClientWidget()->grab(at.translated(0, 200)).toImage()), 0)
                << cases[i].caption << " " << round;
            frames[i]->Widget()->update();
            Settle();
        }
}

// An opaque label looks exactly as Qt paints a label (plain, framed, centred,
// wrapped, disabled); a label without a background, drawn from a picture of
// its look, looks the same wherever and whenever it is drawn, with its rim.
TEST_F(ControlsTest, LabelsLookAsQtPaintsThem) {
    struct Case {
        const char* caption;
        int alignment;
        int border;
        bool enabled;
        float width;
    };
    const Case cases[] = {
        {"Tlak", vbLeftJustify, 0, true, 1380},         {"c1 e1 g1", vbCenter, 1, true, 1380},
        {"C dur  G dur  D dur  A dur", vbRightJustify, 0, true, 900},  // wraps
        {"<--- Tempo --->", vbCenter, 0, false, 1380},
    };
    ShowForComparison();
    std::vector<std::unique_ptr<Label>> labels;
    std::vector<std::unique_ptr<QLabel>> plain;
    float top = 600;
    for (const Case& c : cases) {
        auto& l = *labels.emplace_back(std::make_unique<Label>(form));
        l.Move(600, top, c.width, 435);
        l.Alignment = c.alignment;
        l.BorderStyle = c.border;
        l.BackColor = 0x00FFFFFF;
        l.Caption = c.caption;
        l.Enabled = c.enabled;
        auto& q = *plain.emplace_back(std::make_unique<QLabel>(QString::fromUtf8(c.caption), form.ClientWidget()));
        q.setTextFormat(Qt::PlainText);
        q.setWordWrap(true);
        q.setAlignment(static_cast<QLabel*>(l.Widget())->alignment());
        q.setFrameStyle(static_cast<QLabel*>(l.Widget())->frameStyle());
        q.setPalette(l.Widget()->palette());
        q.setAutoFillBackground(true);
        q.setFont(l.Widget()->font());
        q.setEnabled(c.enabled);
        q.setGeometry(l.Widget()->geometry().translated(200, 0));
        q.show();
        top += 600;
    }
    // The same rimmed label twice over a dark ground: one painted first, one from the picture.
    Label rim1(form), rim2(form);
    for (Label* r : {&rim1, &rim2}) {
        r->BackStyle = 0;
        r->Alignment = vbCenter;
        r->FontBold = true;
        r->Caption = "3";
    }
    rim1.Move(9000, 600, 615, 615);
    rim2.Move(9000, 1800, 615, 615);
    Settle();
    for (const char* round : {"first", "again"}) {
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const QRect at = labels[i]->Widget()->geometry();
            EXPECT_EQ(form.ClientWidget()->grab(at).toImage(), form.ClientWidget()->grab(at.translated(200, 0)).toImage())
                << cases[i].caption << " " << round;
        }
        EXPECT_EQ(form.ClientWidget()->grab(rim1.Widget()->geometry()).toImage(),
                  form.ClientWidget()->grab(rim2.Widget()->geometry()).toImage())
            << round;
        rim1.Widget()->update();
    }
    EXPECT_GT(LightPixels(form, rim1.Widget()->geometry()), 10);
}
