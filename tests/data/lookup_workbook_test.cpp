// The generated lookup workbook read_only.xls, read back from the program
// folder: the tables the readers rely on. The readers' searches are tried
// through the spreadsheet engine in lookup_model_test.cpp.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "test_support.h"
#include "platform/xls/xls_io.h"
#include "tests/support/temp_env.h"
#include "tools/mkreadonly/sheet_text.h"

namespace lookup_test {
namespace {

using testsupport::ProgramDir;
using testsupport::SourceDir;

const Book& Workbook() {
    static const Book book = xl::internal::ReadXlsFile(ProgramDir() + "/read_only.xls");
    return book;
}

const Sheet& Tones() {
    const Sheet* s = FindSheet(Workbook(), "Calvira12");
    if (!s) throw std::runtime_error("no sheet Calvira12");
    return *s;
}

const Sheet& Scales() {
    const Sheet* s = FindSheet(Workbook(), "Transpozice");
    if (!s) throw std::runtime_error("no sheet Transpozice");
    return *s;
}

int Mod(int a, int m) { return ((a % m) + m) % m; }

std::string OctaveDigit(int tone) { return tone <= 8 ? "" : std::to_string(1 + (tone - 9) / 12); }

// ---------------------------------------------------------------------------
// Sheet "Calvira12"

constexpr int kA = 1, kB = 2, kF = 6, kG = 7;

TEST(LookupWorkbook, HoldsExactlyTheTablesOfItsSource) {
    std::ifstream in(SourceDir() / "data/read_only.tsv", std::ios::binary);
    ASSERT_TRUE(in);
    Book source = mkreadonly::ParseSheetText(in, "read_only.tsv");
    const Book& written = Workbook();
    ASSERT_EQ(written.sheets.size(), source.sheets.size());
    for (std::size_t i = 0; i < source.sheets.size(); ++i) {
        EXPECT_EQ(written.sheets[i].name, source.sheets[i].name);
        EXPECT_EQ(written.sheets[i].cells, source.sheets[i].cells) << source.sheets[i].name;
    }
    EXPECT_EQ(written.sheets.front().name, "Calvira12");
    EXPECT_EQ(written.activeSheet, 0);
}

TEST(Calvira12Sheet, ButtonNumberKeysEveryRowBelowTheHeadings) {
    const Sheet& s = Tones();
    for (int col : {kA, kB, kF, kG}) {
        auto it = s.cells.find({1, col});
        ASSERT_NE(it, s.cells.end());
        EXPECT_EQ(it->second.kind, Cell::Kind::Text) << "heading of column " << col;
    }
    for (int b = 1; b <= 120; ++b) {
        auto it = s.cells.find({b + 1, kA});
        ASSERT_NE(it, s.cells.end()) << b;
        EXPECT_EQ(it->second.kind, Cell::Kind::Number) << b;
        EXPECT_EQ(it->second.number, b);
    }
    EXPECT_EQ(Shown(s, {122, kA}), "");
    EXPECT_EQ(Shown(s, {51, kB}), "") << "B1:B51 holds only the 49 treble names";
}

TEST(Calvira12Sheet, TrebleNamesArePlainSharpSpelling) {
    static const char* const kPlain[] = {"e", "f", "fis", "g", "gis", "a", "ais", "h", "c", "cis", "d", "dis"};
    const Sheet& s = Tones();
    std::set<std::string> seen;
    for (int n = 1; n <= 49; ++n) {
        const std::string name = Shown(s, {n + 1, kB});
        EXPECT_EQ(name, kPlain[(n - 1) % 12] + OctaveDigit(n) + ",") << "button " << n;
        EXPECT_EQ(ToneOf(name), n) << name;
        EXPECT_TRUE(seen.insert(name).second) << name;
    }
    EXPECT_EQ(Shown(s, {2, kB}), "e,");
    EXPECT_EQ(Shown(s, {10, kB}), "c1,");
    EXPECT_EQ(Shown(s, {50, kB}), "e4,");
}

// A bass name split into its root and the kind of button it names.
struct BassName {
    std::string root;
    int column = 0;  // 1 counterbass, 2 fundamental, 3 major, 4 minor, 5 seventh, 6 diminished
};

BassName Split(const std::string& name) {
    static const std::pair<const char*, int> kSuffixes[] = {
        {" terc.", 1}, {" zákl.", 2}, {" dur", 3}, {" moll", 4}, {"7", 5}, {" dim", 6}};
    for (auto [suffix, column] : kSuffixes) {
        std::string sfx = suffix;
        if (name.size() > sfx.size() && name.compare(name.size() - sfx.size(), sfx.size(), sfx) == 0) {
            return {name.substr(0, name.size() - sfx.size()), column};
        }
    }
    return {};
}

bool Capitalised(const std::string& root) {
    if (root.empty() || root[0] < 'A' || root[0] > 'Z') return false;
    for (std::size_t i = 1; i < root.size(); ++i) {
        if (root[i] < 'a' || root[i] > 'z') return false;
    }
    return true;
}

int PitchClass(const std::string& root) {
    auto semis = RootSemitones(root);
    return semis ? Mod(*semis, 12) : -1;
}

TEST(Calvira12Sheet, BassSideIsTheStandard120BassLayout) {
    const Sheet& s = Tones();
    auto name = [&](int b) { return Shown(s, {b + 1, kF}); };
    for (int b = 1; b <= 120; ++b) {
        SCOPED_TRACE("button " + std::to_string(b) + " \"" + name(b) + "\"");
        const int column = (b - 1) / 20 + 1;
        const int place = (b - 1) % 20 + 1;
        BassName n = Split(name(b));
        ASSERT_EQ(n.column, column);
        ASSERT_GE(PitchClass(n.root), 0);
        // Fundamentals climb a fifth per place with C in place 10.
        const int fundamental = Mod((place - 10) * 7, 12);
        const std::string fundamentalRoot = Split(name(20 + place)).root;
        switch (column) {
            case 1:  // a major third above the fundamental of its place
                EXPECT_EQ(PitchClass(n.root), Mod(fundamental + 4, 12));
                EXPECT_TRUE(Capitalised(n.root));
                break;
            case 2:
                EXPECT_EQ(PitchClass(n.root), fundamental);
                EXPECT_TRUE(Capitalised(n.root));
                break;
            case 3:
            case 5:  // chords take the root of the fundamental in line with them
                EXPECT_EQ(n.root, fundamentalRoot);
                break;
            default:  // minor and diminished chords write their root in lower case
                ASSERT_FALSE(fundamentalRoot.empty());
                EXPECT_EQ(n.root, std::string(1, static_cast<char>(fundamentalRoot[0] - 'A' + 'a')) +
                                      fundamentalRoot.substr(1));
                break;
        }
    }
    // The three marked buttons of the keyboard.
    EXPECT_EQ(name(30), "C zákl.");
    EXPECT_EQ(name(26), "As zákl.");
    EXPECT_EQ(name(34), "E zákl.");
    EXPECT_EQ(name(50), "C dur");
    EXPECT_EQ(name(70), "c moll");
    EXPECT_EQ(name(90), "C7");
    EXPECT_EQ(name(110), "c dim");
    EXPECT_EQ(name(10), "E terc.");
}

TEST(Calvira12Sheet, BassButtonsTwelveApartWithin1To40SoundTheSamePitch) {
    const Sheet& s = Tones();
    for (int u = 1; u <= 40; ++u) {
        for (int v = u + 12; v <= 40; v += 12) {
            EXPECT_EQ(PitchClass(Split(Shown(s, {u + 1, kF})).root), PitchClass(Split(Shown(s, {v + 1, kF})).root))
                << u << " and " << v;
        }
    }
    // Any other two buttons of 1-40 sound different pitches, so the painted
    // partners are exactly the buttons of the same pitch.
    for (int u = 1; u <= 40; ++u) {
        for (int v = u + 1; v <= 40; ++v) {
            if ((v - u) % 12 == 0) continue;
            EXPECT_NE(PitchClass(Split(Shown(s, {u + 1, kF})).root), PitchClass(Split(Shown(s, {v + 1, kF})).root))
                << u << " and " << v;
        }
    }
}

TEST(Calvira12Sheet, PushAndPullNamesAgreeAndAreUniqueInTheirColumn) {
    const Sheet& s = Tones();
    for (int col : {kF, kG}) {
        std::set<std::string> seen;
        for (int b = 1; b <= 120; ++b) {
            const std::string name = Shown(s, {b + 1, col});
            EXPECT_FALSE(name.empty()) << b;
            EXPECT_TRUE(seen.insert(name).second) << name << " twice in column " << col;
        }
        EXPECT_EQ(Shown(s, {122, col}), "");
    }
    for (int b = 1; b <= 120; ++b) EXPECT_EQ(Shown(s, {b + 1, kF}), Shown(s, {b + 1, kG})) << b;
}

// ---------------------------------------------------------------------------
// Sheet "Transpozice"

const std::vector<std::string> kScaleNames = {"C Dur", "G Dur",  "D Dur",  "A Dur",   "E Dur",
                                              "H Dur", "Fis Dur", "Cis Dur", "F Dur",  "B Dur",
                                              "Es Dur", "As Dur", "Des Dur", "Ges Dur", "Ces Dur"};
constexpr int kFirstNoteColumn = 3;   // C
constexpr int kLastIntervalColumn = 40;  // AN

int TonicPitchClass(const std::string& scale) { return PitchClass(scale.substr(0, scale.find(' '))); }

// The degree (0-6) of a pitch class in a major scale, or -1 outside it.
int Degree(int pitchClass, int tonic) {
    static const int kMajor[] = {0, 2, 4, 5, 7, 9, 11};
    for (int d = 0; d < 7; ++d) {
        if (Mod(pitchClass - tonic, 12) == kMajor[d]) return d;
    }
    return -1;
}

// The tone-name library's spelling of tone n in a scale: the sharp group
// writes black keys as sharps, the flat group as flats; Ges and Ces Dur write
// h as ces (with the octave digit of the c above), Ces Dur writes e as fes.
std::string Spell(int n, const std::string& scale) {
    static const char* const kSharp[] = {"c", "cis", "d", "dis", "e", "f", "fis", "g", "gis", "a", "ais", "h"};
    static const char* const kFlat[] = {"c", "des", "d", "es", "e", "f", "ges", "g", "as", "a", "b", "h"};
    const int pc = Mod(n - 9, 12);
    const bool flats = scale == "F Dur" || scale == "B Dur" || scale == "Es Dur" || scale == "As Dur" ||
                       scale == "Des Dur" || scale == "Ges Dur" || scale == "Ces Dur";
    if (pc == 11 && (scale == "Ges Dur" || scale == "Ces Dur")) return "ces" + OctaveDigit(n + 1) + ",";
    if (pc == 4 && scale == "Ces Dur") return "fes" + OctaveDigit(n) + ",";
    return (flats ? kFlat[pc] : kSharp[pc]) + OctaveDigit(n) + ",";
}

struct ScaleRow {
    std::string scale;
    int row = 0;
    std::map<int, std::string> notes;  // column -> name
};

std::vector<ScaleRow> ScaleRows() {
    const Sheet& s = Scales();
    std::vector<ScaleRow> rows;
    for (int r = 1; r <= 17; ++r) {
        std::string scale = Shown(s, {r, 2});
        if (scale.empty()) continue;
        ScaleRow row{scale, r, {}};
        for (const auto& [ref, cell] : s.cells) {
            if (ref.row == r && ref.col >= kFirstNoteColumn) row.notes[ref.col] = Shown(s, ref);
        }
        rows.push_back(row);
    }
    return rows;
}

TEST(TranspoziceSheet, NamesEachOfThe15ScalesOnceInB1ToB17) {
    const Sheet& s = Scales();
    std::multiset<std::string> found;
    for (int r = 1; r <= 17; ++r) {
        if (!Shown(s, {r, 2}).empty()) found.insert(Shown(s, {r, 2}));
    }
    EXPECT_EQ(found, std::multiset<std::string>(kScaleNames.begin(), kScaleNames.end()));
    for (const auto& [ref, cell] : s.cells) {
        EXPECT_GE(ref.col, 2) << "column A is not used";
        EXPECT_LE(ref.row, 17) << "no row below the scale names";
    }
}

TEST(TranspoziceSheet, EachRowHoldsEveryToneOfItsScaleOnceInAscendingPitch) {
    for (const ScaleRow& row : ScaleRows()) {
        SCOPED_TRACE(row.scale);
        const int tonic = TonicPitchClass(row.scale);
        std::set<std::string> expected;
        for (int n = 1; n <= 49; ++n) {
            if (Degree(Mod(n - 9, 12), tonic) >= 0) expected.insert(Spell(n, row.scale));
        }
        std::set<std::string> held;
        int previousColumn = 0, previousTone = 0;
        for (const auto& [col, name] : row.notes) {
            EXPECT_TRUE(held.insert(name).second) << name << " twice";
            EXPECT_LE(col, kLastIntervalColumn) << name << " beyond the columns the intervals search";
            auto tone = ToneOf(name);
            ASSERT_TRUE(tone) << name;
            if (previousColumn != 0) {
                EXPECT_EQ(col, previousColumn + 1) << "a gap before " << name;
                EXPECT_GT(*tone, previousTone) << name;
            }
            previousColumn = col;
            previousTone = *tone;
        }
        EXPECT_EQ(held, expected);
    }
}

TEST(TranspoziceSheet, AColumnIsOneDegreeInOneOctavePositionInEveryRow) {
    auto rows = ScaleRows();
    ASSERT_EQ(rows.size(), kScaleNames.size());
    // The degree of a column is the same in every row.
    std::map<int, int> degreeOfColumn;
    for (const ScaleRow& row : rows) {
        for (const auto& [col, name] : row.notes) {
            int degree = Degree(Mod(*ToneOf(name) - 9, 12), TonicPitchClass(row.scale));
            ASSERT_GE(degree, 0) << row.scale << " " << name;
            auto [it, fresh] = degreeOfColumn.emplace(col, degree);
            EXPECT_EQ(it->second, degree) << row.scale << " " << name << " in column " << col;
        }
    }
    // The same octave position: between two rows every shared column moves a
    // note by the same amount, the distance of the two tonics.
    for (const ScaleRow& from : rows) {
        for (const ScaleRow& to : rows) {
            std::set<int> moves;
            for (const auto& [col, name] : from.notes) {
                auto target = to.notes.find(col);
                if (target != to.notes.end()) moves.insert(*ToneOf(target->second) - *ToneOf(name));
            }
            ASSERT_EQ(moves.size(), 1u) << from.scale << " -> " << to.scale;
            const int move = *moves.begin();
            EXPECT_EQ(Mod(move, 12), Mod(TonicPitchClass(to.scale) - TonicPitchClass(from.scale), 12));
            // Twelve tonics fit at best into eleven semitones: every conversion
            // stays within an octave, and within a tritone to or from C Dur.
            EXPECT_LE(std::abs(move), 11) << from.scale << " -> " << to.scale;
            if (from.scale == "C Dur" || to.scale == "C Dur") {
                EXPECT_LE(std::abs(move), 6) << from.scale << " -> " << to.scale;
            }
        }
    }
}

}  // namespace
}  // namespace lookup_test
