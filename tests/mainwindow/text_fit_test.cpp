// Every form, laid out in the program's font, has room for its texts: the
// captions of buttons, labels, options, check boxes and frames, the tone
// names on the treble buttons, the letter numbering of the rows, and the syllables of the
// longest kind the songs hold in the strip and the row display; word-wrapped
// labels hold their text in the lines their height gives. The longest kind
// is a seven-letter word sung on one note ("dvanáct"), the longest the songs
// hold; the syllables of the strip reach over the next step, whose own
// syllable stands on the other line, so each has two steps' width, except
// the last one, which ends with the strip.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>

#include "conversion/frmkonverze.h"
#include "form1_fixture.h"
#include "mainwindow/frmbrowser.h"
#include "mainwindow/frmnastaveni.h"
#include "mainwindow/frmstupnice.h"
#include "platform/forms/font.h"
#include "platform/forms/qt_msgbox.h"
#include "store/frmzmenacesty.h"
#include "text_fit.h"

namespace form1_test {
namespace {

const char* const kLongestSyllable = "dvanáct";

// The texts that have no room, one a line, with what they need and have.
std::string Clipped(const std::vector<text_fit::Measure>& measures, const std::function<bool(const text_fit::Measure&)>& exempt = {}) {
    std::string out;
    for (const text_fit::Measure& m : measures) {
        if (m.Fits() || (exempt && exempt(m))) continue;
        out += m.control + " \"" + m.text + "\": " + (m.lines ? "height " : "width ") + std::to_string(m.need) +
               " px needed, " + std::to_string(m.room) + " px given\n";
    }
    return out;
}

class TextFitTest : public Form1Fixture {
protected:
    void SetUp() override {
        Form1Fixture::SetUp();
        forms::UseProgramFont();
    }
};

TEST_F(TextFitTest, MainWindowHoldsItsCaptionsNamesAndSyllables) {
    Setting("PopisKnof", "Index", "1");
    Setting("Cislovani", "Index", "1");
    Setting("Znaceni", "Index", "1");
    Form1& form = Start();
    ASSERT_FALSE(form.lbl(44).Caption.get().empty());  // the names are on the buttons
    // A song being read: its row in words, the sound buttons, the syllables.
    for (int i = 1; i <= 16; ++i) form.lblSlabika2(i).Caption = kLongestSyllable;
    for (int j = 0; j <= 4; ++j) form.lblSlabika(j).Caption = kLongestSyllable;
    form.lblPopisD.Visible = true;
    form.lblPopisB.Visible = true;
    form.lblTony.Caption = "fis1, ais1, cis2, dis2, fis2, ais2, cis3, Tlak ";
    form.lblStupnice.Caption = "Ces Dur";
    form.cmdStupnice.Caption = "Vyberte stupnici";
    for (auto& b : form.cmdZvuk) b.Visible = true;
    const std::vector<text_fit::Measure> measures = text_fit::MeasureForm(form);
    ASSERT_GT(measures.size(), 200u);
    // The last step has only its own width: a syllable as long as this one
    // is cut there, as the design has it.
    EXPECT_EQ(Clipped(measures, [](const text_fit::Measure& m) { return m.control == "lblSlabika2(16)"; }), "");
}

TEST_F(TextFitTest, DialogsHoldTheirTexts) {
    Start();
    struct Case {
        const char* name;
        std::function<std::unique_ptr<forms::Form>()> make;
    };
    const Case cases[] = {
        {"frmStupnice", [] { return std::make_unique<class frmStupnice>(); }},
        {"frmNastaveni", [] { return std::make_unique<frmNastaveni>(); }},
        {"frmKonverze",
         [] {
             auto d = std::make_unique<class frmKonverze>();
             // As at a pause: the source scale shown and "Pokračovat" offered.
             d->lblStupnice.Caption = "Ces Dur";
             d->cmdPokracovat.Visible = true;
             return d;
         }},
        {"frmZmenaCesty",
         [] {
             auto d = std::make_unique<class frmZmenaCesty>();
             d->lblStaraCesta.Caption = "C:\\Dokumenty\\Dovozivuz\\Belmora";
             return d;
         }},
        {"frmBrowser", [] { return std::make_unique<frmBrowser>(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<forms::Form> form = c.make();
        const std::vector<text_fit::Measure> measures = text_fit::MeasureForm(*form);
        EXPECT_FALSE(measures.empty());
        EXPECT_EQ(Clipped(measures), "");
    }
}

// A box's text wraps only where a line is wider than a box may grow: the
// program's longer boxes keep each of their lines whole.
TEST_F(TextFitTest, MessageBoxLinesStayWhole) {
    Start();
    const char* const prompts[] = {
        "Nota v osnově pro zápis se nezobrazí. Maximální počet současně stisknutých knoflíků pro jeden hmat je pět."
        "\rExistuje důvodné podezření, že máte jen pět prstů na pravé ruce.",
        "Maximální počet současně stisknutých knoflíků pravou rukou je pět.\rJe to podle počtu prstů na pravé ruce."
        "\rJestliže jste víceprstý mutant, kontaktujte prosím autora a bude\rpro Vás zdarma vyrobena specielní verze "
        "Belmorky.",
    };
    for (const char* prompt : prompts) {
        SCOPED_TRACE(prompt);
        forms::MessageDialog box(prompt, forms::vbExclamation, "Omezení !", nullptr);
        const QLabel* label = box.TextLabel();
        const QFontMetrics fm(label->font());
        for (const QString& line : box.Text().split('\n'))
            EXPECT_LE(fm.horizontalAdvance(line), label->width()) << line.toStdString();
    }
}

}  // namespace
}  // namespace form1_test
