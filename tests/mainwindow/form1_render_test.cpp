// Pictures of the main window to look at: as the program brings it up on a
// first start, and with the tone names and the numbering switched on.
#include <gtest/gtest.h>

#include <QImage>

#include "form1_fixture.h"
#include "tests/support/render_form.h"

namespace form1_test {
namespace {

class Form1RenderTest : public Form1Fixture {
protected:
    void Render(Form1& form, const char* file) {
        const std::string path = std::string(BELMORA_TEST_OUTPUT_DIR) + "/" + file;
        ASSERT_TRUE(RenderToPng(form, path)) << path;
        const QImage image(QString::fromStdString(path));
        EXPECT_GE(image.width(), forms::TwipsToPixels(form.ScaleWidth()));
        EXPECT_GE(image.height(), forms::TwipsToPixels(form.ScaleHeight()));
    }
};

TEST_F(Form1RenderTest, FirstStart) {
    Form1& form = Start();
    EXPECT_TRUE(form.IsLoaded());
    Render(form, "form1_started.png");
}

TEST_F(Form1RenderTest, NamesAndNumberingOn) {
    Setting("PopisKnof", "Index", "1");
    Setting("Cislovani", "Index", "1");
    Setting("Znaceni", "Index", "1");
    Setting("Zabrany", "3", "1");
    Form1& form = Start();
    EXPECT_TRUE(form.mnu2Rady.Checked);
    Render(form, "form1_names.png");
}

}  // namespace
}  // namespace form1_test
