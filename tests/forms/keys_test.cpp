// Keys in forms: Return and keypad Enter press the focused button, elsewhere
// the form's Default button; Escape presses its Cancel button or closes a
// dialog as its close box does, never the main form; option buttons of one
// container are one stop for Tab, with the arrow keys going within the group.
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "tests/support/qt_app.h"

namespace {

using namespace forms;
using Log = std::vector<std::string>;

// A dialog with two buttons, a text box and a check box, which logs what
// its buttons and its close box do.
class Dialog : public Form {
public:
    CommandButton cmdA{*this};
    CommandButton cmdB{*this};
    TextBox txt{*this};
    CheckBox chk{*this};
    Log log;

    Dialog() {
        Caption = "Dialog";
        cmdA.Move(120, 120, 1200, 375);
        cmdB.Move(120, 600, 1200, 375);
        txt.Move(1500, 120, 1500, 285);
        chk.Move(1500, 600, 1500, 255);
        cmdA.Click = [this] { log.push_back("A"); };
        cmdB.Click = [this] { log.push_back("B"); };
    }

protected:
    void Form_QueryUnload(int&, int UnloadMode) override { log.push_back("close " + std::to_string(UnloadMode)); }
};

// The widget of `form` that has the keyboard focus; the window itself when none has.
QWidget* Focused(Form& form) {
    QWidget* w = form.Widget()->focusWidget();
    return w ? w : form.Widget();
}

void Press(Form& form, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(Focused(form), key, modifiers);
}

// A key held down: the keyboard repeats it.
void Repeat(Form& form, Qt::Key key) {
    QKeyEvent held(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(Focused(form), &held);
}

class KeysTest : public ::testing::Test {
protected:
    void SetUp() override { forms_test::App(); }
    void TearDown() override { SetMainForm(nullptr); }
};

struct EnterKey {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};
const EnterKey kEnterKeys[] = {{Qt::Key_Return, Qt::NoModifier}, {Qt::Key_Enter, Qt::KeypadModifier}};

TEST_F(KeysTest, ReturnPressesTheFocusedButtonOnce) {
    for (const EnterKey& k : kEnterKeys) {
        Dialog d;
        d.cmdB.Default = true;
        d.Show();
        d.cmdA.SetFocus();
        Press(d, k.key, k.modifiers);
        EXPECT_EQ(d.log, Log{"A"}) << k.key;
        Repeat(d, k.key);  // held down: no second press
        Press(d, k.key, Qt::ControlModifier);  // not a key of the form's
        EXPECT_EQ(d.log, Log{"A"}) << k.key;
        Press(d, Qt::Key_Space);  // the button's own key still presses it
        EXPECT_EQ(d.log, (Log{"A", "A"})) << k.key;
        d.Hide();
    }
}

TEST_F(KeysTest, ReturnElsewherePressesTheDefaultButtonIfThereIsOne) {
    struct Case {
        const char* what;
        Control* (*focused)(Dialog&);  // nullptr: no control has the focus
    };
    const Case cases[] = {{"text box", [](Dialog& d) -> Control* { return &d.txt; }},
                          {"check box", [](Dialog& d) -> Control* { return &d.chk; }},
                          {"no control", nullptr}};
    for (const Case& c : cases) {
        for (const EnterKey& k : kEnterKeys) {
            Dialog d;
            d.cmdA.Default = true;
            d.cmdB.Default = true;  // one Default per form: A is no longer one
            EXPECT_FALSE(d.cmdA.Default);
            d.Show();
            auto focus = [&] {
                if (c.focused)
                    c.focused(d)->SetFocus();
                else if (QWidget* w = d.Widget()->focusWidget())
                    w->clearFocus();
            };
            focus();
            Press(d, k.key, k.modifiers);
            EXPECT_EQ(d.log, Log{"B"}) << c.what;
            d.cmdB.Enabled = false;  // a disabled Default button is not pressed
            focus();
            Press(d, k.key, k.modifiers);
            d.cmdB.Enabled = true;
            d.cmdB.Default = false;  // nor is any other without one
            focus();
            Press(d, k.key, k.modifiers);
            EXPECT_EQ(d.log, Log{"B"}) << c.what;
            d.Hide();
        }
    }
    // Return taken by the control's own KeyPress goes no further.
    Dialog d;
    d.cmdB.Default = true;
    d.txt.KeyPress = [](int& key) {
        if (key == 13) key = 0;
    };
    d.Show();
    d.txt.SetFocus();
    Press(d, Qt::Key_Return);
    EXPECT_TRUE(d.log.empty());
    d.Hide();
}

TEST_F(KeysTest, EscapePressesCancelOrClosesADialogButNeverTheMainForm) {
    struct Case {
        const char* what;
        bool cancelButton;
        bool mainForm;
        Log log;
        bool loadedAfter;
    };
    const Case cases[] = {
        {"dialog with a Cancel button", true, false, {"A"}, true},
        {"dialog without one", false, false, {"close " + std::to_string(vbFormControlMenu)}, false},
        {"main form", false, true, {}, true},
    };
    for (const Case& c : cases) {
        Dialog d;
        d.cmdA.Cancel = c.cancelButton;
        if (c.mainForm) SetMainForm(&d);
        d.Show();
        d.txt.SetFocus();
        Press(d, Qt::Key_Escape);
        EXPECT_EQ(d.log, c.log) << c.what;
        EXPECT_EQ(d.IsLoaded(), c.loadedAfter) << c.what;
        EXPECT_EQ(d.Widget()->isVisible(), c.loadedAfter) << c.what;
        SetMainForm(nullptr);
        d.Hide();
    }
}

// Two option groups: four options in a frame between two buttons, and two on the form.
TEST_F(KeysTest, AnOptionGroupIsOneTabStopAndTheArrowsMoveWithinIt) {
    Form form;
    form.SetClientSize(6000, 4000);
    CommandButton before(form);
    before.Move(120, 120, 1200, 375);
    Frame frame(form);
    frame.Move(120, 600, 2400, 2000);
    ControlArray<OptionButton> opt("opt");
    for (int i = 0; i < 4; ++i) opt.Load(i, frame).Move(120, 240.0f + 360.0f * static_cast<float>(i), 1800, 255);
    CommandButton after(form);
    after.Move(3000, 120, 1200, 375);
    std::vector<int> clicks;
    for (int i = 0; i < 4; ++i) opt(i).Click = [&clicks, i] { clicks.push_back(i); };
    form.Show();

    auto focused = [&]() -> QWidget* { return form.Widget()->focusWidget(); };
    auto chosen = [&] {
        std::vector<int> on;
        for (int i = 0; i < 4; ++i)
            if (opt(i).Value) on.push_back(i);
        return on;
    };

    // None chosen: Tab stops at the first option, then leaves the group.
    before.SetFocus();
    Press(form, Qt::Key_Tab);
    EXPECT_EQ(focused(), opt(0).Widget());
    Press(form, Qt::Key_Tab);
    EXPECT_EQ(focused(), after.Widget());
    Press(form, Qt::Key_Backtab);
    EXPECT_EQ(focused(), opt(0).Widget());
    EXPECT_TRUE(chosen().empty());  // reaching it by Tab chooses nothing

    // The arrows go round the group and choose the option they reach.
    struct Step {
        Qt::Key key;
        int reached;
    };
    const Step steps[] = {{Qt::Key_Down, 1}, {Qt::Key_Right, 2}, {Qt::Key_Down, 3}, {Qt::Key_Down, 0},
                          {Qt::Key_Up, 3},   {Qt::Key_Left, 2}};
    for (const Step& s : steps) {
        Press(form, s.key);
        EXPECT_EQ(focused(), opt(s.reached).Widget()) << s.key;
        EXPECT_EQ(chosen(), std::vector<int>{s.reached}) << s.key;
    }
    EXPECT_EQ(clicks, (std::vector<int>{1, 2, 3, 0, 3, 2}));

    // The chosen option is the group's stop, from either side.
    Press(form, Qt::Key_Tab);
    EXPECT_EQ(focused(), after.Widget());
    Press(form, Qt::Key_Backtab);
    EXPECT_EQ(focused(), opt(2).Widget());
    after.SetFocus();
    opt(1).Value = true;  // chosen by the program
    Press(form, Qt::Key_Backtab);
    EXPECT_EQ(focused(), opt(1).Widget());

    // An option that cannot be chosen is passed over, and is no stop.
    opt(0).Enabled = false;
    Press(form, Qt::Key_Up);
    EXPECT_EQ(focused(), opt(3).Widget());
    Press(form, Qt::Key_Down);
    EXPECT_EQ(focused(), opt(1).Widget());
    opt(1).Value = false;
    before.SetFocus();
    Press(form, Qt::Key_Tab);
    EXPECT_EQ(focused(), opt(1).Widget());
    form.Hide();
}

}  // namespace
