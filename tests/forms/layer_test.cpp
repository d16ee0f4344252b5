// Layers: controls whose widgets lie in a see-through widget of their own
// stand, stack, click and show exactly as they would on the form itself.
#include <QMainWindow>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/forms.h"
#include "tests/support/qt_app.h"
#include "resources/bitmaps/pictures.h"

namespace {

using namespace forms;

// Where a control's widget stands in the form's client area, in pixels.
QRect OnForm(Form& form, const Control& c) {
    const QWidget* w = c.Widget();
    return {w->mapTo(form.ClientWidget(), QPoint(0, 0)), w->size()};
}

QRect Pixels(float left, float top, float width, float height) {
    return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

qsizetype StackIndex(Form& form, const QWidget* w) { return form.ClientWidget()->children().indexOf(w); }

// A label made before the layer, three keys and a caption over the middle
// one gathered into it, and a button made after it over its rectangle.
class LayerTest : public ::testing::Test {
protected:
    LayerTest() {
        below->Move(0, 0, 600, 600);
        {
            Layer::Gathering g(layer);
            for (int i = 0; i < 3; ++i) {
                auto& key = keys.emplace_back(std::make_unique<Image>(form));
                key->Picture = resources::LoadResPicture(129);  // a button picture without see-through parts
                key->Move(1200.f + 900.f * static_cast<float>(i), 600, 600, 570);
                key->Click = [this, i] { clicks.push_back("key " + std::to_string(i)); };
            }
            caption = std::make_unique<Label>(form);
            caption->Move(2100, 600, 615, 615);  // over the middle key
            caption->BackStyle = 0;
            caption->Click = [this] { clicks.push_back("caption"); };
        }
        above = std::make_unique<CommandButton>(form);
        above->Move(2700, 600, 300, 300);  // over the gap between the last two keys
        above->Click = [this] { clicks.push_back("above"); };
    }

    QApplication& app_ = forms_test::App();
    Form form;
    Layer layer{form};
    std::unique_ptr<Label> below = std::make_unique<Label>(form);
    std::vector<std::unique_ptr<Image>> keys;
    std::unique_ptr<Label> caption;
    std::unique_ptr<CommandButton> above;
    std::vector<std::string> clicks;
};

TEST_F(LayerTest, GatheredControlsStandAndStackAsOnTheForm) {
    EXPECT_EQ(layer.Members().size(), 4u);
    EXPECT_EQ(form.Controls().size(), 6u);  // still the form's own
    for (const Control* c : layer.Members()) {
        EXPECT_EQ(c->Parent(), &form);
        EXPECT_EQ(c->Widget()->parentWidget(), layer.Widget());
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(OnForm(form, *keys[i]), Pixels(1200.f + 900.f * static_cast<float>(i), 600, 600, 570)) << i;
    EXPECT_EQ(OnForm(form, *caption), Pixels(2100, 600, 615, 615));
    EXPECT_EQ(layer.Widget()->geometry(), Pixels(1200, 600, 2400, 615));

    // The layer stands among the form's widgets where its gathering began,
    // and the caption stays over the key it was made over.
    EXPECT_LT(StackIndex(form, below->Widget()), StackIndex(form, layer.Widget()));
    EXPECT_LT(StackIndex(form, layer.Widget()), StackIndex(form, above->Widget()));
    const QPoint middle = OnForm(form, *keys[1]).center();
    EXPECT_EQ(form.ClientWidget()->childAt(middle), caption->Widget());

    // Moving and sizing work in the form's coordinates; a control moved
    // beyond the layer makes it grow, and the others stay where they were.
    keys[2]->Move(4800, 1800);
    EXPECT_EQ(OnForm(form, *keys[2]), Pixels(4800, 1800, 600, 570));
    EXPECT_TRUE(layer.Widget()->geometry().contains(OnForm(form, *keys[2])));
    EXPECT_EQ(OnForm(form, *keys[0]), Pixels(1200, 600, 600, 570));
    keys[0]->Move(0, 0, 300, 300);
    EXPECT_EQ(OnForm(form, *keys[0]), Pixels(0, 0, 300, 300));
    EXPECT_EQ(OnForm(form, *caption), Pixels(2100, 600, 615, 615));

    // Bringing to the front and sending to the back act among the layer's controls.
    keys[1]->ZOrder(0);
    EXPECT_EQ(form.ClientWidget()->childAt(middle), keys[1]->Widget());
    keys[1]->ZOrder(1);
    EXPECT_EQ(form.ClientWidget()->childAt(middle), caption->Widget());
}

TEST_F(LayerTest, ClicksReachTheControlsAndNothingCatchesThemBetween) {
    form.Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
    QWindow* window = form.Widget()->windowHandle();
    auto click = [&](const QRect& on, QPoint at) {
        const QPoint inWindow = form.ClientWidget()->mapTo(form.Widget(), on.topLeft() + at);
        QTest::mouseClick(window, Qt::LeftButton, {}, inWindow);
    };
    click(OnForm(form, *keys[0]), {5, 5});
    click(OnForm(form, *keys[1]), {20, 20});  // under the caption
    click(OnForm(form, *above), {3, 3});        // over the layer, beside the keys
    click(Pixels(1800, 600, 300, 300), {5, 5});  // between the first two keys
    click(OnForm(form, *keys[2]), {30, 30});
    EXPECT_EQ(clicks, (std::vector<std::string>{"key 0", "caption", "above", "key 2"}));
    form.Hide();
}

// A picture gathered later, hidden by not painting, moved while hidden and
// shown again, shows at its new place; the controls gathered before stay.
TEST_F(LayerTest, AHiddenPictureMovedInALayerShowsAtItsNewPlace) {
    std::unique_ptr<Image> head;
    {
        Layer::Gathering g(layer);
        head = std::make_unique<Image>(form);
        head->Picture = resources::SourcePicture("picNota");  // see-through round its head
        head->Move(1500, 1200);
    }
    EXPECT_EQ(layer.Members().size(), 5u);
    EXPECT_EQ(OnForm(form, *keys[0]), Pixels(1200, 600, 600, 570));
    EXPECT_EQ(OnForm(form, *head), Pixels(1500, 1200, head->Width, head->Height));
    head->Visible = false;
    head->Move(1800, 1500);
    QCoreApplication::sendPostedEvents();  // a hidden picture is placed once the handler is done
    EXPECT_EQ(head->Widget()->size(), QSize(0, 0));
    head->Visible = true;
    EXPECT_EQ(OnForm(form, *head), Pixels(1800, 1500, head->Width, head->Height));
}

// Either may go first: a control unloaded from a layer, or the layer while
// its controls stay (their widgets go with it; setting them does nothing).
TEST_F(LayerTest, ControlsAndLayerOutliveEachOther) {
    keys[1].reset();
    EXPECT_EQ(layer.Members().size(), 3u);
    keys[2]->Move(9000, 9000);
    EXPECT_TRUE(layer.Widget()->geometry().contains(OnForm(form, *keys[2])));

    auto early = std::make_unique<Layer>(form);
    std::unique_ptr<Label> last;
    {
        Layer::Gathering g(*early);
        last = std::make_unique<Label>(form);
    }
    early.reset();
    EXPECT_EQ(last->Widget(), nullptr);
    last->Caption = "nic";
    last->Move(10, 10);
    last->Visible = false;
}

}  // namespace
