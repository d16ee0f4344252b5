#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "notation/noty/noty.h"
#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"

using Box = forms::ScriptedMessageBoxes::Box;

void PrintTo(const PolohaNoty& p, std::ostream* os) {
    *os << "{" << static_cast<int>(p.znamenko) << ", " << p.vyska << "}";
}

namespace {

constexpr int kCriticalOk = forms::vbCritical + forms::vbOKOnly;
const Box kNeznamy{"Neznámý tón !", kCriticalOk, forms::kProgramTitle};
const Box kDruhy{"Neočekávaná hodnota !", kCriticalOk, "druhý znak tónu"};
const Box kTreti{"Neočekávaná hodnota !", kCriticalOk, "třetí znak tónu"};
const Box kCtvrty{"Neočekávaná hodnota !", kCriticalOk, "čtvrtý znak tónu"};

std::string Shown(const vb::Variant& v) { return v.IsEmpty() ? "<Empty>" : v.AsString(); }

}  // namespace

TEST(UrciPolohuNoty, WellFormedNamesGiveTheirOffsetWithoutMessages) {
    struct Row { const char* nota; const char* poloha; };
    const Row rows[] = {
        {"c,", "0"},        {"h,", "360"},     {"d1,", "480"},    {"cis,", "k0"},     {"fis2,", "k1020"},
        {"des1,", "b480"},  {"as,", "b300"},   {"b3,", "b1620"},  {"e4,", "1800"},    {"g4,", "1920"},
        {"cis1,", "k420"},  {"b1,", "b780"},   {"es,", "b120"},   {"his3,", "k1620"}, {"h3,", "1620"},
        {"eis,", "k120"},   {"f,", "180"},     {"ces4,", "b1680"}, {"a2,", "1140"},
        // Neither "i" nor "e" needs its "s": only the comma or a digit ends the name.
        {"ci1,", "k420"},   {"de,", "b60"},
        // Characters after the deciding one are not looked at.
        {"c,xyz", "0"},     {"gis2,,", "k1080"},
    };
    for (const Row& r : rows) {
        forms::ScriptedMessageBoxes boxes;
        clsNoty noty;
        const vb::Variant v = noty.UrciPolohuNoty(r.nota);
        EXPECT_TRUE(v.IsString()) << r.nota;
        EXPECT_EQ(Shown(v), r.poloha) << r.nota;
        EXPECT_TRUE(boxes.boxes().empty()) << r.nota;
    }
}

TEST(UrciPolohuNoty, BadNamesShowTheirMessagesInOrder) {
    struct Row { std::string nota; const char* poloha; std::vector<Box> boxy; };
    const Row rows[] = {
        // Octave 5 is not a digit of the parser; the comma in third place still ends the name.
        {"c5,", "0", {kDruhy}},
        {"c", "<Empty>", {kDruhy, kTreti, kCtvrty}},
        {"", "<Empty>", {kNeznamy}},
        {"C,", "<Empty>", {kNeznamy}},
        {"x1,", "<Empty>", {kNeznamy}},
        // One Czech letter is one unknown character, not two.
        {"č,", "<Empty>", {kNeznamy}},
        {"cž,", "0", {kDruhy}},
        {"fiž1,", "k600", {kTreti}},
        {"gisx,", "<Empty>", {kCtvrty}},
        {"a0,", "300", {kDruhy}},
        {"dx2,", "900", {kDruhy}},
        {"eiss,", "<Empty>", {kCtvrty}},
        {"bes", "<Empty>", {kCtvrty}},
        {"hx", "<Empty>", {kDruhy, kTreti, kCtvrty}},
    };
    for (const Row& r : rows) {
        forms::ScriptedMessageBoxes boxes;
        const vb::Variant v = clsNoty().UrciPolohuNoty(r.nota);
        EXPECT_EQ(Shown(v), r.poloha) << r.nota;
        EXPECT_EQ(boxes.boxes(), r.boxy) << r.nota;
    }
}

// The typed offset is the text offset taken apart: the same sign and height
// for every name, and nothing (after the same messages) where the text is Empty.
TEST(UrciPolohu, TypedOffsetAgreesWithTheTextOne) {
    struct Row { const char* nota; std::optional<PolohaNoty> poloha; };
    const Row rows[] = {
        {"c,", PolohaNoty{Znamenko::Zadne, 0}},     {"g4,", PolohaNoty{Znamenko::Zadne, 1920}},
        {"cis1,", PolohaNoty{Znamenko::Krizek, 420}}, {"b1,", PolohaNoty{Znamenko::Becko, 780}},
        {"es,", PolohaNoty{Znamenko::Becko, 120}},  {"his3,", PolohaNoty{Znamenko::Krizek, 1620}},
        {"c5,", PolohaNoty{Znamenko::Zadne, 0}},    {"", std::nullopt},
        {"c", std::nullopt},                        {"gisx,", std::nullopt},
    };
    for (const Row& r : rows) {
        forms::ScriptedMessageBoxes typove;
        const std::optional<PolohaNoty> p = clsNoty().UrciPolohu(r.nota);
        EXPECT_EQ(p, r.poloha) << r.nota;
        forms::ScriptedMessageBoxes textove;
        const vb::Variant text = clsNoty().UrciPolohuNoty(r.nota);
        EXPECT_EQ(typove.boxes(), textove.boxes()) << r.nota;
        if (p) {
            const char* prefix = p->znamenko == Znamenko::Krizek ? "k" : p->znamenko == Znamenko::Becko ? "b" : "";
            EXPECT_EQ(Shown(text), prefix + std::to_string(p->vyska)) << r.nota;
        } else {
            EXPECT_TRUE(text.IsEmpty()) << r.nota;
        }
    }
}

// The respelling the treble button lookup searches with, without a workbook:
// whole pitch names only, the octave digit kept (one lower for ces), and any
// other text returned as it came, with no message.
TEST(PrevedNaKrizky, FlatAndEnharmonicNamesTakeTheSharpSpelling) {
    struct Row { const char* ton; const char* krizky; };
    const Row rows[] = {
        {"b,", "ais,"},     {"as5,", "gis5,"},  {"ges2,", "fis2,"}, {"eis1,", "f1,"},   {"fes3,", "e3,"},
        {"es,", "dis,"},    {"des1,", "cis1,"}, {"ces,", "h0,"},    {"ces1,", "h,"},    {"ces2,", "h1,"},
        {"ces5,", "h4,"},
        // Natural and sharp names, and what is no whole name, stay as they are.
        {"c1,", "c1,"},     {"his1,", "his1,"}, {"bes,", "bes,"},   {"des6,", "des6,"}, {"des1", "des1"},
        {"Es1,", "Es1,"},   {",", ","},         {"", ""},
    };
    for (const Row& r : rows) {
        forms::ScriptedMessageBoxes boxes;
        const vb::Variant v = clsNoty().PrevedNaKrizky(r.ton);
        EXPECT_TRUE(v.IsString()) << r.ton;
        EXPECT_EQ(Shown(v), r.krizky) << r.ton;
        EXPECT_TRUE(boxes.boxes().empty()) << r.ton;
    }
}
