// The program's font comes from its own files, at the forms' sizes in
// pixels, whatever the desktop's font settings prefer. The desktop here is a
// fontconfig set-up that knows only the DejaVu fonts, puts a serif face in
// place of every family asked for and asks for full hinting; the program's
// text must still be Tahoma with the widths its files give it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QRawFont>

#include "platform/forms/font.h"
#include "platform/forms/forms.h"
#include "platform/forms/qt_msgbox.h"
#include "tests/support/qt_app.h"
#include "tests/support/temp_env.h"

namespace {

constexpr const char* kDesktopConf = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>CACHE</cachedir>
  <match target="pattern">
    <edit name="family" mode="prepend" binding="strong"><string>DejaVu Serif</string></edit>
  </match>
  <match target="font">
    <edit name="hinting" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintfull</const></edit>
  </match>
</fontconfig>
)";

// Letters of the program's texts, Czech ones among them.
const QString kLetters = QString::fromUtf8("dvanáct Des Dur Kvartdecima ěščřžýáíéůúňťď ĚŠČŘŽÝÁÍÉŮÚŇŤĎ 0123456789 ,.!?");

class ProgramFontTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // Before the application (and with it fontconfig) starts.
        static testsupport::TempDir dir("belmora-fontconfig");
        std::string conf = kDesktopConf;
        conf.replace(conf.find("CACHE"), 5, dir.file("cache"));
        std::ofstream(dir.file("fonts.conf")) << conf;
        setenv("FONTCONFIG_FILE", dir.file("fonts.conf").c_str(), 1);
        forms_test::App();
    }

    class Window : public forms::Form {
    public:
        forms::Label plain{*this};
        forms::Label syllable{*this};
        forms::Label name{*this};
    };
};

TEST_F(ProgramFontTest, IsTheFontOfItsFilesWithTheirWidths) {
    // The desktop's set-up takes effect: a family asked for by name is the serif.
    ASSERT_EQ(QFontInfo(QFont("Tahoma")).family(), "DejaVu Serif");

    forms::UseProgramFont();
    EXPECT_EQ(forms::ProgramFontFamily(), "Tahoma");
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "Tahoma");
    EXPECT_EQ(QFontInfo(QApplication::font()).pixelSize(), 11);

    Window w;
    w.syllable.FontSize = 9.75f;
    w.name.FontSize = 12;
    w.name.FontBold = true;
    struct Case {
        const forms::Label& label;
        int pixels;
        const char* file;
    };
    const Case cases[] = {{w.plain, 11, forms::kProgramFontFiles[0]},
                          {w.syllable, 13, forms::kProgramFontFiles[0]},
                          {w.name, 16, forms::kProgramFontFiles[1]}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixels);
        const QFont font = c.label.Widget()->font();
        const QFontInfo info(font);
        EXPECT_EQ(info.family(), "Tahoma");
        EXPECT_EQ(info.pixelSize(), c.pixels);
        EXPECT_EQ(info.bold(), c.file == forms::kProgramFontFiles[1]);
        // Letter by letter, as wide as the file gives them at that size.
        const QRawFont own(QString::fromUtf8(c.file), c.pixels, QFont::PreferVerticalHinting);
        ASSERT_TRUE(own.isValid());
        const QFontMetricsF metrics(font);
        for (const QChar letter : kLetters) {
            const QList<QPointF> advance = own.advancesForGlyphIndexes(own.glyphIndexesForString(QString(letter)));
            ASSERT_EQ(advance.size(), 1);
            EXPECT_NEAR(metrics.horizontalAdvance(letter), advance.front().x(), 0.01) << QString(letter).toStdString();
        }
    }

    // A box's text is in it too.
    forms::MessageDialog box("Omezení !", forms::vbExclamation, "Omezení !", nullptr);
    EXPECT_EQ(QFontInfo(box.TextLabel()->font()).family(), "Tahoma");
}

// A desktop set to a higher resolution does not make the text larger than
// the layout, which stays at 15 twips a pixel.
TEST_F(ProgramFontTest, KeepsItsPixelsAtAnyResolution) {
    Window w;
    w.syllable.FontSize = 9.75f;
    QImage at120(16, 16, QImage::Format_RGB32);
    at120.setDotsPerMeterX(4724);  // 120 dots an inch
    at120.setDotsPerMeterY(4724);
    for (const forms::Label* label : {&w.plain, &w.syllable}) {
        const QFont font = label->Widget()->font();
        EXPECT_EQ(QFontMetrics(font, &at120).horizontalAdvance(kLetters), QFontMetrics(font).horizontalAdvance(kLetters));
        EXPECT_EQ(QFontMetrics(font, &at120).height(), QFontMetrics(font).height());
    }
}

}  // namespace
