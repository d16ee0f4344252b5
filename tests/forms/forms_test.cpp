// Forms: load, show, hide and unload events in order, modal and modeless
// showing, sizes, topmost windows, menus, timers and dragging a control.
#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "tests/support/qt_app.h"

namespace {

using namespace forms;

// A form that records its events.
class LoggingForm : public Form {
public:
    std::vector<std::string> log;
    int cancelQuery = 0;
    int cancelUnload = 0;
    CommandButton cmdOK{*this};

protected:
    void Form_Load() override { log.push_back("Load"); }
    void Form_QueryUnload(int& Cancel, int UnloadMode) override {
        log.push_back("QueryUnload " + std::to_string(UnloadMode));
        Cancel = cancelQuery;
    }
    void Form_Unload(int& Cancel) override {
        log.push_back("Unload");
        Cancel = cancelUnload;
    }
    void Form_Resize() override { log.push_back("Resize"); }
};

class FormsTest : public ::testing::Test {
protected:
    void SetUp() override { forms_test::App(); }
    void TearDown() override {
        SetModalDriver(nullptr);
        SetDragDriver(nullptr);
    }
};

std::vector<std::string> Without(std::vector<std::string> log, const std::string& event) {
    std::erase(log, event);
    return log;
}

TEST_F(FormsTest, ModelessShowHideAndUnloadInOrder) {
    LoggingForm form;
    form.Unloaded = [&] { form.log.push_back("after unload"); };
    EXPECT_FALSE(form.IsLoaded());
    form.Show();
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_TRUE(form.Visible);
    EXPECT_TRUE(form.Widget()->isVisible());
    form.Hide();
    EXPECT_FALSE(form.Visible);
    EXPECT_FALSE(form.Widget()->isVisible());
    form.Show();  // loaded already: no second Load
    form.Unload();
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_FALSE(form.Widget()->isVisible());
    EXPECT_EQ(Without(form.log, "Resize"),
              (std::vector<std::string>{"Load", "QueryUnload 1", "Unload", "after unload"}));
    // Shown again after the unload: loaded anew.
    form.log.clear();
    form.Show();
    EXPECT_EQ(Without(form.log, "Resize"), std::vector<std::string>{"Load"});
    form.Unload();
}

TEST_F(FormsTest, CancelledUnloadKeepsTheFormShown) {
    LoggingForm form;
    form.Show();
    form.cancelQuery = 1;
    form.Unload();
    EXPECT_TRUE(form.IsLoaded());
    EXPECT_TRUE(form.Widget()->isVisible());
    form.cancelQuery = 0;
    form.cancelUnload = 1;
    form.Unload();
    EXPECT_TRUE(form.IsLoaded());
    form.cancelUnload = 0;
    // The close box unloads with UnloadMode 0.
    form.log.clear();
    form.Widget()->close();
    EXPECT_EQ(form.log, (std::vector<std::string>{"QueryUnload 0", "Unload"}));
    EXPECT_FALSE(form.IsLoaded());
    EXPECT_FALSE(form.Widget()->isVisible());
}

TEST_F(FormsTest, ModalShowReturnsWhenTheDriverUnloadsTheForm) {
    LoggingForm dialog;
    dialog.cmdOK.Click = [&] {
        dialog.log.push_back("OK");
        dialog.Unload();
    };
    std::vector<std::string> order;
    SetModalDriver([&](Form& f) {
        EXPECT_EQ(&f, &dialog);
        EXPECT_TRUE(dialog.IsModal());
        EXPECT_TRUE(dialog.Widget()->isVisible());
        order.push_back("driver");
        dialog.cmdOK.PerformClick();
    });
    dialog.Show(vbModal);
    order.push_back("after Show");
    EXPECT_EQ(order, (std::vector<std::string>{"driver", "after Show"}));
    EXPECT_EQ(Without(dialog.log, "Resize"), (std::vector<std::string>{"Load", "OK", "QueryUnload 1", "Unload"}));
    EXPECT_FALSE(dialog.IsModal());
}

TEST_F(FormsTest, ModalDriverThatLeavesTheFormOpenFailsLoudly) {
    LoggingForm dialog;
    SetModalDriver([](Form&) {});
    EXPECT_THROW(dialog.Show(vbModal), std::logic_error);
    EXPECT_FALSE(dialog.Widget()->isVisible());
}

TEST_F(FormsTest, ModalShowRunsAnEventLoopUntilTheFormIsHidden) {
    LoggingForm dialog;
    bool ticked = false;
    QTimer::singleShot(10, [&] {
        ticked = true;
        EXPECT_TRUE(dialog.Widget()->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), dialog.Widget());
        dialog.Hide();
    });
    dialog.Show(vbModal);
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(dialog.IsLoaded());  // hidden, not unloaded
    EXPECT_FALSE(dialog.Widget()->isVisible());
    EXPECT_EQ(Without(dialog.log, "Resize"), std::vector<std::string>{"Load"});
}

TEST_F(FormsTest, SharedInstanceStartsFromItsDesignAfterAnUnload) {
    FormInstance<LoggingForm> frm;
    frm->cmdOK.Caption = "Ok";
    frm->Show();
    frm->cmdOK.Caption = "changed";
    EXPECT_EQ(frm->cmdOK.Caption(), "changed");  // still the same instance while loaded
    frm->Unload();
    EXPECT_EQ(frm->cmdOK.Caption(), "");  // a fresh instance
    EXPECT_FALSE(frm->IsLoaded());
}

TEST_F(FormsTest, ScaleSizeAndResize) {
    LoggingForm form;
    form.Width = 4800;
    form.Height = 3600;
    EXPECT_EQ(form.ScaleWidth(), 4800.0f);
    EXPECT_EQ(form.ScaleHeight(), 3600.0f);
    Menu file(form);
    file.Caption = "Soubor";
    const float bar = PixelsToTwips(form.MenuBar()->sizeHint().height());
    EXPECT_GT(bar, 0.0f);
    EXPECT_EQ(form.ScaleHeight(), 3600.0f - bar);
    form.SetClientSize(6000, 3000);
    EXPECT_EQ(form.ScaleWidth(), 6000.0f);
    EXPECT_EQ(form.ScaleHeight(), 3000.0f);
    EXPECT_EQ(form.Widget()->size(), QSize(400, TwipsToPixels(3000 + bar)));

    form.Show();
    form.log.clear();
    form.Width = 7500;
    EXPECT_EQ(form.log, std::vector<std::string>{"Resize"});
    EXPECT_EQ(form.Width, 7500.0f);
    form.Unload();
}

TEST_F(FormsTest, TopmostOnAndOffKeepsPositionAndVisibility) {
    LoggingForm form;
    form.Left = 1500;
    form.Top = 1500;
    form.Show();
    const QRect before = form.Widget()->geometry();
    EXPECT_FALSE(form.IsTopmost());
    EXPECT_EQ(SetWindowPos(form.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), 1);
    EXPECT_TRUE(form.IsTopmost());
    EXPECT_TRUE(form.Widget()->isVisible());
    EXPECT_EQ(form.Widget()->geometry(), before);
    EXPECT_EQ(form.Left, 1500.0f);
    EXPECT_EQ(SetWindowPos(form.hWnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE), 1);
    EXPECT_FALSE(form.IsTopmost());
    EXPECT_TRUE(form.Widget()->isVisible());
    form.Unload();

    // Before the form is shown (Form_Load makes the main window topmost).
    LoggingForm hidden;
    SetWindowPos(hidden.hWnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(hidden.IsTopmost());
    EXPECT_FALSE(hidden.Widget()->isVisible());

    EXPECT_EQ(SetWindowPos(0, HWND_TOPMOST, 0, 0, 0, 0, 3), 0);
}

// An item captioned "-" is drawn as the separator line of a menu, not as text.
TEST_F(FormsTest, AMenuItemCaptionedWithADashIsASeparatorLine) {
    Form form;
    Menu file(form);
    file.Caption = "Soubor";
    Menu path(file), bar(file), end(file);
    path.Caption = "Nastavit cestu";
    bar.Caption = "-";
    end.Caption = "Konec";
    QMenu plain;
    plain.addAction("Nastavit cestu");
    plain.addSeparator();
    plain.addAction("Konec");
    const QSize size = file.Action()->menu()->sizeHint();
    ASSERT_EQ(size, plain.sizeHint());
    file.Action()->menu()->resize(size);
    plain.resize(size);
    EXPECT_EQ(file.Action()->menu()->grab().toImage(), plain.grab().toImage());
}

TEST_F(FormsTest, MenuItemsKeepTheirOwnCheckedState) {
    Form form;
    Menu settings(form);
    settings.Caption = "Nastavení";
    Menu names(settings), numbering(settings), bar(settings), rotate(settings);
    names.Caption = "Názvy na knoflíkách";
    numbering.Caption = "Pomocné číslování";
    numbering.Shortcut = "Ctrl+P";
    bar.Caption = "-";
    rotate.Caption = "Otočit hmatník";
    rotate.Enabled = false;
    int clicks = 0;
    names.Click = [&] {
        ++clicks;
        names.Checked = !names.Checked;
    };
    rotate.Click = [&] { ++clicks; };

    names.Checked = true;
    EXPECT_TRUE(names.Action()->isChecked());
    names.Action()->trigger();  // the user chooses it: the handler toggles
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(names.Checked);
    EXPECT_FALSE(names.Action()->isChecked());

    EXPECT_FALSE(rotate.PerformClick());
    rotate.Action()->trigger();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(rotate.Action()->isEnabled());

    EXPECT_TRUE(bar.Action()->isSeparator());
    EXPECT_EQ(numbering.Action()->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(settings.Items().size(), 4u);
    EXPECT_EQ(form.MenuBar()->actions().size(), 1);

    // An item of a disabled menu cannot be chosen.
    settings.Enabled = false;
    EXPECT_FALSE(names.PerformClick());
    settings.Enabled = true;
    EXPECT_TRUE(names.PerformClick());
    EXPECT_EQ(clicks, 2);
}

TEST_F(FormsTest, TimerTicksWhileEnabled) {
    Timer timer;
    int ticks = 0;
    QEventLoop loop;
    timer.OnTimer = [&] {
        if (++ticks == 3) {
            timer.Enabled = false;
            loop.quit();
        }
    };
    timer.Enabled = false;
    timer.Interval = 5;
    QTimer::singleShot(20, [&] { EXPECT_EQ(ticks, 0); timer.Enabled = true; });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(2000);
    loop.exec();
    EXPECT_EQ(ticks, 3);

    // Stopped, and an interval of 0 never ticks.
    Timer zero;
    int zeroTicks = 0;
    zero.OnTimer = [&] { ++zeroTicks; };
    zero.Interval = 0;
    zero.Enabled = true;
    QTest::qWait(30);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(zeroTicks, 0);
}

TEST_F(FormsTest, DragDriverMovesThePictureInsideTheMouseDownHandler) {
    Form form;
    PictureBox note(form);
    note.Move(1440, 8520, 135, 110);
    float seenTop = 0;
    note.MouseDown = [&](int, int, float, float) {
        ReleaseCapture();
        SendMessage(note.hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
        seenTop = note.Top;  // the handler goes on with the dropped position
    };
    SetDragDriver([](Control& c) {
        c.Left = 2000;
        c.Top = 9375;
    });
    form.Show();
    QTest::mousePress(note.Widget(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(seenTop, 9375.0f);
    EXPECT_EQ(note.Left, 2000.0f);
    // Other messages do nothing.
    SetDragDriver([](Control& c) { c.Top = 0; });
    SendMessage(note.hWnd(), 0x201, 0, 0);
    EXPECT_EQ(note.Top, 9375.0f);
    form.Hide();
}

TEST_F(FormsTest, DragFollowsTheMouseUntilTheButtonIsReleased) {
    Form form;
    form.Width = 6000;
    form.Height = 6000;
    PictureBox flat(form);
    flat.Move(810, 1200, 90, 255);
    float droppedTop = -1;
    flat.MouseDown = [&](int, int, float, float) {
        ReleaseCapture();
        SendMessage(flat.hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
        droppedTop = flat.Top;
    };
    form.Show();
    QWidget* w = flat.Widget();
    const QPoint start = w->mapToGlobal(QPoint(2, 2));
    QTimer::singleShot(5, [&] {
        const QPoint to = start + QPoint(20, 30);
        QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(to), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(w, &release);
    });
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    EXPECT_EQ(flat.Left, 810.0f + 20 * 15);
    EXPECT_EQ(flat.Top, 1200.0f + 30 * 15);
    EXPECT_EQ(droppedTop, flat.Top);
    // Without a pressed button nothing moves and nothing waits.
    DragControl(flat);
    EXPECT_EQ(flat.Top, 1200.0f + 30 * 15);
    form.Hide();
}

}  // namespace

namespace {

// A dialog designed narrower than its title: the window grows so that the
// window manager can show the whole title.
TEST(FormTitleTest, TheWindowIsWideEnoughForItsWholeTitle) {
    forms_test::App();
    Form dialog;
    dialog.SetClientSize(3750, 3000);
    dialog.Caption = "Znáte-li tóninu, vyberte a potvrďte Ok !";
    dialog.Show();
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GT(dialog.Widget()->width(), QFontMetrics(bold).horizontalAdvance("Znáte-li tóninu, vyberte a potvrďte Ok !"));
    EXPECT_EQ(TwipsToPixels(dialog.Width), dialog.Widget()->width());
    dialog.Hide();
}

}  // namespace
