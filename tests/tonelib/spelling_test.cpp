// What the three methods compute, checked against the spelling tables written
// out here as data: every scale and tone, every accepted name, the edge rows.

#include <set>

#include "tests/tonelib/calvira_client.h"

namespace {

const char* const kPlain[12] = {"e", "f", "fis", "g", "gis", "a", "ais", "h", "c", "cis", "d", "dis"};

struct ScaleRow {
    const char* scale;
    const char* cells[12];  // per pitch class from e; bracketed = outside the scale
};

const ScaleRow kScales[15] = {
    {"C Dur", {"e", "f", "[fis]", "g", "[gis]", "a", "[ais]", "h", "c", "[cis]", "d", "[dis]"}},
    {"G Dur", {"e", "[f]", "fis", "g", "[gis]", "a", "[ais]", "h", "c", "[cis]", "d", "[dis]"}},
    {"D Dur", {"e", "[f]", "fis", "g", "[gis]", "a", "[ais]", "h", "[c]", "cis", "d", "[dis]"}},
    {"A Dur", {"e", "[f]", "fis", "[g]", "gis", "a", "[ais]", "h", "[c]", "cis", "d", "[dis]"}},
    {"E Dur", {"e", "[f]", "fis", "[g]", "gis", "a", "[ais]", "h", "[c]", "cis", "[d]", "dis"}},
    {"H Dur", {"e", "[f]", "fis", "[g]", "gis", "[a]", "ais", "h", "[c]", "cis", "[d]", "dis"}},
    {"Fis Dur", {"[e]", "f", "fis", "[g]", "gis", "[a]", "ais", "h", "[c]", "cis", "[d]", "dis"}},
    {"Cis Dur", {"[e]", "f", "fis", "[g]", "gis", "[a]", "ais", "[h]", "c", "cis", "[d]", "dis"}},
    {"F Dur", {"e", "f", "[ges]", "g", "[as]", "a", "b", "[h]", "c", "[des]", "d", "[es]"}},
    {"B Dur", {"[e]", "f", "[ges]", "g", "[as]", "a", "b", "[h]", "c", "[des]", "d", "es"}},
    {"Es Dur", {"[e]", "f", "[ges]", "g", "as", "[a]", "b", "[h]", "c", "[des]", "d", "es"}},
    {"As Dur", {"[e]", "f", "[ges]", "g", "as", "[a]", "b", "[h]", "c", "des", "[d]", "es"}},
    {"Des Dur", {"[e]", "f", "ges", "[g]", "as", "[a]", "b", "[h]", "c", "des", "[d]", "es"}},
    {"Ges Dur", {"[e]", "f", "ges", "[g]", "as", "[a]", "b", "ces", "[c]", "des", "[d]", "es"}},
    {"Ces Dur", {"fes", "[f]", "ges", "[g]", "as", "[a]", "b", "ces", "[c]", "des", "[d]", "es"}},
};

std::string Octave(int n) {
    if (n <= 8) return "";
    if (n <= 20) return "1";
    if (n <= 32) return "2";
    if (n <= 44) return "3";
    return "4";
}

struct Expected {
    std::string name;
    bool out;
};

Expected ExpectedSpelling(const ScaleRow& row, int n) {
    std::string cell = row.cells[(n - 1) % 12];
    const bool out = cell.front() == '[';
    if (out) cell = cell.substr(1, cell.size() - 2);
    return {cell + Octave(cell == "ces" ? n + 1 : n) + ",", out};
}

class Spelling : public CalviraTest {};

TEST_F(Spelling, PlainNamesOfAllTonesAndTheirAnchors) {
    const Klic k = NewKlic();
    for (int n = 1; n <= 49; ++n) {
        std::int16_t ton = static_cast<std::int16_t>(n);
        EXPECT_EQ(DejTon(k, vb::Variant::ByRef(ton)), std::string(kPlain[(n - 1) % 12]) + Octave(n) + ",") << n;
        EXPECT_FALSE(Flag(k));
    }
    const std::pair<int, const char*> anchors[] = {{1, "e,"},   {2, "f,"},   {8, "h,"},   {9, "c1,"},
                                                   {10, "cis1,"}, {20, "h1,"}, {21, "c2,"}, {32, "h2,"},
                                                   {33, "c3,"}, {44, "h3,"}, {45, "c4,"}, {49, "e4,"}};
    for (const auto& [n, name] : anchors) EXPECT_EQ(DejTon(k, vb::Variant(std::int16_t(n))), name);
}

TEST_F(Spelling, EveryScaleSpellsEveryToneAsItsTableSaysAndNamesMapBack) {
    const Klic k = NewKlic();
    for (const ScaleRow& row : kScales) {
        std::set<std::string> seen;
        for (int n = 1; n <= 49; ++n) {
            const Expected e = ExpectedSpelling(row, n);
            std::uint8_t ton = static_cast<std::uint8_t>(n);  // the program passes its Byte variable
            EXPECT_EQ(DejTonVeStupnici(k, vb::Variant::ByRef(ton), vb::Variant(row.scale)), e.name)
                << row.scale << " " << n;
            EXPECT_EQ(Flag(k), e.out) << row.scale << " " << n;
            seen.insert(e.name);
            const vb::Variant back = DejCisloTonu(k, vb::Variant(e.name));
            EXPECT_EQ(back.Type(), vb::VarType::Integer);
            EXPECT_EQ(back.AsDouble(), n) << e.name;
            EXPECT_EQ(Flag(k), e.out) << "DejCisloTonu touched the flag";
        }
        EXPECT_EQ(seen.size(), 49u) << row.scale << ": two tones share a name";
    }
}

TEST_F(Spelling, AnyOtherScaleNameGivesThePlainNameWithTheFlagFalse) {
    const Klic k = NewKlic();
    for (const char* other : {"Vyberte stupnici", "", "c dur", "C Dur ", " C Dur", "CDur", "Fis dur"}) {
        for (int n : {3, 8, 13, 44}) {
            k->put_TonNeniVeStupnici(com::VARIANT_TRUE);
            EXPECT_EQ(DejTonVeStupnici(k, vb::Variant(std::int16_t(n)), vb::Variant(other)),
                      std::string(kPlain[(n - 1) % 12]) + Octave(n) + ",")
                << "'" << other << "' " << n;
            EXPECT_FALSE(Flag(k));
        }
    }
}

// The accepted names in the order they are compared, each with its tone.
const std::pair<const char*, int> kAccepted[] = {
    {"e,", 1},     {"fes,", 1},   {"f,", 2},     {"eis,", 2},   {"fis,", 3},   {"ges,", 3},   {"g,", 4},
    {"gis,", 5},   {"as,", 5},    {"a,", 6},     {"ais,", 7},   {"b,", 7},     {"h,", 8},     {"ces1,", 8},
    {"c1,", 9},    {"his,", 9},   {"cis1,", 10}, {"des1,", 10}, {"d1,", 11},   {"dis1,", 12}, {"es1,", 12},
    {"e1,", 13},   {"fes1,", 13}, {"f1,", 14},   {"eis1,", 14}, {"fis1,", 15}, {"ges1,", 15}, {"g1,", 16},
    {"gis1,", 17}, {"as1,", 17},  {"a1,", 18},   {"ais1,", 19}, {"b1,", 19},   {"h1,", 20},   {"ces2,", 20},
    {"c2,", 21},   {"his1,", 21}, {"cis2,", 22}, {"des2,", 22}, {"d2,", 23},   {"dis2,", 24}, {"es2,", 24},
    {"e2,", 25},   {"fes2,", 25}, {"f2,", 26},   {"eis2,", 26}, {"fis2,", 27}, {"ges2,", 27}, {"g2,", 28},
    {"gis2,", 29}, {"as2,", 29},  {"a2,", 30},   {"ais2,", 31}, {"b2,", 31},   {"h2,", 32},   {"ces3,", 32},
    {"c3,", 33},   {"his2,", 33}, {"cis3,", 34}, {"des3,", 34}, {"d3,", 35},   {"dis3,", 36}, {"es3,", 36},
    {"e3,", 37},   {"fes3,", 37}, {"f3,", 38},   {"eis3,", 38}, {"fis3,", 39}, {"ges3,", 39}, {"g3,", 40},
    {"gis3,", 41}, {"as3,", 41},  {"a3,", 42},   {"ais3,", 43}, {"b3,", 43},   {"h3,", 44},   {"ces4,", 44},
    {"c4,", 45},   {"his3,", 45}, {"cis4,", 46}, {"des4,", 46}, {"d4,", 47},   {"dis4,", 48}, {"es4,", 48},
    {"e4,", 49},   {"fes4,", 49},
};

TEST_F(Spelling, TheEightySixAcceptedNamesGiveTheirTones) {
    static_assert(std::size(kAccepted) == 86);
    const Klic k = NewKlic();
    for (const auto& [name, n] : kAccepted) {
        std::string text = name;
        const vb::Variant r = DejCisloTonu(k, vb::Variant::ByRef(text));
        EXPECT_EQ(r.Type(), vb::VarType::Integer) << name;
        EXPECT_EQ(r.AsDouble(), n) << name;
    }
}

TEST_F(Spelling, NamesOutsideTheAcceptedSetGive99) {
    const Klic k = NewKlic();
    for (const char* name : {"eis4,", "his4,", "ces,", "des,", "es,", "E,", "e", "Nenalezeno", "", "e, ", " e,",
                             "fes5,", "c0,", "cis", "h,,", "b4,", "es"}) {
        const vb::Variant r = DejCisloTonu(k, vb::Variant(name));
        EXPECT_EQ(r.Type(), vb::VarType::Integer) << name;
        EXPECT_EQ(r.AsDouble(), 99) << "'" << name << "'";
    }
}

TEST_F(Spelling, EdgeRowsOfTheScaleLookup) {
    struct Row {
        int tone;
        const char* scale;
        const char* result;
        bool flag;
    };
    const Row rows[] = {
        {7, "F Dur", "b,", false},       {8, "F Dur", "h,", true},         {49, "F Dur", "e4,", false},
        {2, "Fis Dur", "f,", false},     {9, "Cis Dur", "c1,", false},     {8, "Cis Dur", "h,", true},
        {44, "Ges Dur", "ces4,", false}, {8, "Ces Dur", "ces1,", false},   {1, "Ces Dur", "fes,", false},
        {49, "Ces Dur", "fes4,", false}, {13, "Ces Dur", "fes1,", false},  {14, "Ces Dur", "f1,", true},
        {3, "C Dur", "fis,", true},      {3, "G Dur", "fis,", false},      {50, "C Dur", "Nenalezeno", false},
        {0, "Ces Dur", "Nenalezeno", false}, {3, "Vyberte stupnici", "fis,", false},
    };
    const Klic k = NewKlic();
    for (const Row& r : rows) {
        k->put_TonNeniVeStupnici(com::VARIANT_TRUE);  // the entry must reset it
        EXPECT_EQ(DejTonVeStupnici(k, vb::Variant(std::int16_t(r.tone)), vb::Variant(r.scale)), r.result)
            << r.tone << " " << r.scale;
        EXPECT_EQ(Flag(k), r.flag) << r.tone << " " << r.scale;
    }
}

TEST_F(Spelling, EdgeRowsOfTheNameLookup) {
    const std::pair<const char*, int> rows[] = {{"his,", 9},  {"ces1,", 8},  {"eis3,", 38}, {"fes,", 1},
                                                {"fes4,", 49}, {"eis4,", 99}, {"ces,", 99},  {"E,", 99},
                                                {"e", 99},    {"Nenalezeno", 99}};
    const Klic k = NewKlic();
    for (const auto& [name, n] : rows) EXPECT_EQ(DejCisloTonu(k, vb::Variant(name)).AsDouble(), n) << name;
}

}  // namespace
