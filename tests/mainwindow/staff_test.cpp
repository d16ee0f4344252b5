// One note placed on a staff of the window: which pictures move, to which
// column and height, and what an unreadable note does. The window is built
// without being loaded.
#include <gtest/gtest.h>

#include <optional>

#include "mainwindow/form1.h"
#include "platform/vb/runtime_error.h"
#include "tests/support/qt_app.h"
#include "tests/support/doubles/scripted_msgbox.h"

namespace {

struct Misto {
    float left;
    float top;
    bool visible;
    bool operator==(const Misto&) const = default;
};
std::ostream& operator<<(std::ostream& o, const Misto& m) {
    return o << "(" << m.left << ", " << m.top << (m.visible ? ", shown)" : ", hidden)");
}
Misto Kde(const forms::Control& c) { return {c.Left, c.Top, c.Visible}; }

class StaffTest : public ::testing::Test {
protected:
    QApplication& app_ = forms_test::App();
    forms::ScriptedMessageBoxes boxes_;
    Form1 form;
};

// Each staff puts the head and the sign its offset names at the staff's own
// heights and columns; the other sign pictures handed over stay where they are.
TEST_F(StaffTest, HeadAndSignGoToTheStaffsHeightsAndColumns) {
    struct Row {
        const char* staff;
        const Osnova& osnova;
        PolohaNoty poloha;
        Misto hlava;
        Misto becko;
        Misto krizek;
        Misto odrazka;
    };
    // The pictures start at (1, 2), hidden, so every change shows.
    const Misto nic{1, 2, false};
    const Row rows[] = {
        {"reading", Form1::CteciOsnova, {Znamenko::Krizek, 600}, {1, 9380, true}, nic, {1, 9280, true}, nic},
        {"reading", Form1::CteciOsnova, {Znamenko::Becko, 780}, {1, 9200, true}, {1, 9060, true}, nic, nic},
        {"strip", Form1::OsnovaPasu, {Znamenko::Becko, 780}, {120, 1163, true}, {20, 1023, true}, nic, nic},
        {"strip", Form1::OsnovaPasu, {Znamenko::Krizek, 0}, {120, 1943, true}, nic, {20, 1843, true}, nic},
        {"entry", Form1::VstupniOsnova, {Znamenko::Krizek, 600}, {2250, 9380, true}, nic, {1980, 9270, true}, nic},
        {"entry", Form1::VstupniOsnova, {Znamenko::Becko, 780}, {2250, 9200, true}, {1980, 9060, true}, nic, nic},
        // A natural note takes the natural sign only where one is handed over.
        {"entry", Form1::VstupniOsnova, {Znamenko::Zadne, 540}, {2250, 9440, true}, nic, nic, {2100, 9330, true}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.staff) + " " + std::to_string(r.poloha.vyska));
        forms::PictureBox hlava(form), becko(form), krizek(form), odrazka(form);
        for (forms::PictureBox* p : {&hlava, &becko, &krizek, &odrazka}) {
            p->Move(1, 2);
            p->Visible = false;
        }
        form.UmistiNaOsnovu(r.osnova, r.poloha, {.hlava = &hlava, .becko = &becko, .krizek = &krizek, .odrazka = &odrazka});
        EXPECT_EQ(Kde(hlava), r.hlava);
        EXPECT_EQ(Kde(becko), r.becko);
        EXPECT_EQ(Kde(krizek), r.krizek);
        EXPECT_EQ(Kde(odrazka), r.odrazka);
    }
    EXPECT_TRUE(boxes_.boxes().empty());
}

// A sign without a picture is left out and the head still placed; a head
// without a picture leaves only the sign.
TEST_F(StaffTest, MissingPicturesAreLeftOut) {
    forms::PictureBox hlava(form), krizek(form);
    form.UmistiNaOsnovu(Form1::VstupniOsnova, PolohaNoty{Znamenko::Becko, 60}, {.hlava = &hlava, .krizek = &krizek});
    EXPECT_EQ(hlava.Top, 9920);
    EXPECT_EQ(krizek.Top, 0);
    form.UmistiNaOsnovu(Form1::VstupniOsnova, PolohaNoty{Znamenko::Krizek, 60}, {.krizek = &krizek});
    EXPECT_EQ(Kde(krizek), (Misto{1980, 9810, true}));
}

// A note the model could not read: "Neznámý půltón", then a type mismatch
// when a head is to be placed; without a head only the message.
TEST_F(StaffTest, AnUnreadNoteIsReportedAndHasNoHeight) {
    forms::PictureBox hlava(form), becko(form);
    hlava.Move(7, 8);
    try {
        form.UmistiNaOsnovu(Form1::CteciOsnova, std::nullopt, {.hlava = &hlava, .becko = &becko});
        ADD_FAILURE() << "no error raised";
    } catch (const vb::RuntimeError& e) {
        EXPECT_EQ(e.Number(), vb::err::TypeMismatch);
    }
    EXPECT_EQ(Kde(hlava), (Misto{7, 8, true}));
    form.UmistiNaOsnovu(Form1::CteciOsnova, std::nullopt, {.becko = &becko});
    ASSERT_EQ(boxes_.boxes().size(), 2u);
    for (const auto& b : boxes_.boxes()) {
        EXPECT_EQ(b.prompt, "Neznámý půltón");
        EXPECT_EQ(b.flags, forms::vbOKOnly);
    }
}

}  // namespace
