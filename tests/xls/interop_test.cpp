// Interop with a real peer spreadsheet: files LibreOffice wrote load with the
// values, active sheet and cursor it saved (checked-in fixtures, always run);
// files we write show in LibreOffice exactly what we wrote (needs soffice).
#include <freexl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>

#include "platform/xls/xls_io.h"
#include "test_support.h"
#include "tests/support/soffice.h"

using namespace xl::internal;
using namespace xlstest;

namespace {

std::string Fixture(const std::string& name) { return (SourceDir() / "tests/fixtures/xls" / name).string(); }

const Cell& At(const Sheet& s, int row, int col) {
    static const Cell empty;
    auto it = s.cells.find({row, col});
    return it == s.cells.end() ? empty : it->second;
}

TEST(XlsFromLibreOffice, SongKeepsTextsNumbersDatesColoursAndFormulaResults) {
    const Book b = ReadXlsFile(Fixture("song_lo.xls"));
    ASSERT_EQ(3u, b.sheets.size());
    EXPECT_EQ("Calvira12", b.sheets[0].name);
    EXPECT_EQ("G Dur", b.sheets[1].name);
    EXPECT_EQ("Prázdný", b.sheets[2].name);
    const Sheet& s = b.sheets[0];
    struct Expected {
        int row, col;
        Cell cell;
    };
    const Expected table[] = {
        {1, 1, Text("Ach synku")},
        {1, 2, Text("cis1,")},
        {1, 9, Text("Tlak")},
        {2, 1, Text("žluťoučký kůň")},
        {2, 3, Number(14)},
        {2, 4, Number(2.5)},  // the cached result of =C2/5.6
        {2, 9, Text("Tah")},
        {3, 1, Text("červená", 3)},
        {3, 2, Date(46364, true, false)},  // 8 Dec 2026
        {3, 4, Number(-0.125)},
        {4, 1, Text("© Belmora", 2)},     // white font
        {4, 2, Date(46053, true, false, 2)},  // 31 Jan 2026, white
        {4, 3, Number(2, 2)},
    };
    for (const auto& e : table) EXPECT_EQ(e.cell, At(s, e.row, e.col)) << "row " << e.row << " col " << e.col;
    const Cell& time = At(s, 3, 3);
    EXPECT_EQ(Cell::Kind::Date, time.kind);
    EXPECT_FALSE(time.dateHasDay);
    EXPECT_TRUE(time.dateHasTime);
    EXPECT_NEAR((13 * 3600 + 5 * 60 + 30) / 86400.0, time.number, 1e-9);
    EXPECT_EQ(Text("h1,"), At(b.sheets[1], 12, 3));
    EXPECT_TRUE(b.sheets[2].cells.empty());
}

TEST(XlsFromLibreOffice, CursorAndActiveSheetAsSaved) {
    const Book b = ReadXlsFile(Fixture("song_cursor_lo.xls"));
    ASSERT_EQ(3u, b.sheets.size());
    EXPECT_EQ(1, b.activeSheet);
    EXPECT_EQ((CellRef{3, 2}), b.sheets[0].activeCell);
    EXPECT_EQ((Rect{{2, 2}, {4, 3}}), b.sheets[0].selection);
    EXPECT_EQ((CellRef{12, 2}), b.sheets[1].activeCell);
    EXPECT_EQ((CellRef{7, 5}), b.sheets[2].activeCell);
    EXPECT_EQ(Text("cis5,"), At(b.sheets[0], 5, 2));
}

TEST(XlsFromLibreOffice, LongSongWithContinuedStringTable) {
    const Book b = ReadXlsFile(Fixture("song_long.xls"));
    ASSERT_EQ(1u, b.sheets.size());
    const Sheet& s = b.sheets[0];
    EXPECT_EQ(1600u, s.cells.size());
    for (int r : {1, 2, 199, 200, 333, 400}) {
        EXPECT_EQ(Text("slabika " + std::to_string(r) + " – ďábelská óda"), At(s, r, 1));
        EXPECT_EQ(Text("cis" + std::to_string(r % 3) + ","), At(s, r, 2));
        EXPECT_EQ(Text(r % 2 ? "Tlak" : "Tah"), At(s, r, 3));
        EXPECT_EQ(Number(r), At(s, r, 4));
    }
}

// freexl, an independent reader, sees the same texts and numbers in the peer's files.
TEST(XlsFromLibreOffice, ValuesAgreeWithFreexl) {
    for (const char* name : {"song_lo.xls", "song_long.xls", "song_cursor_lo.xls"}) {
        SCOPED_TRACE(name);
        const Book ours = ReadXlsFile(Fixture(name));
        const void* fx = nullptr;
        ASSERT_EQ(FREEXL_OK, freexl_open(Fixture(name).c_str(), &fx));
        for (unsigned short i = 0; i < ours.sheets.size(); ++i) {
            unsigned int rows = 0;
            unsigned short cols = 0;
            ASSERT_EQ(FREEXL_OK, freexl_select_active_worksheet(fx, i));
            ASSERT_EQ(FREEXL_OK, freexl_worksheet_dimensions(fx, &rows, &cols));
            int compared = 0;
            for (unsigned r = 0; r < rows; ++r) {
                for (unsigned short c = 0; c < cols; ++c) {
                    FreeXL_CellValue v{};
                    ASSERT_EQ(FREEXL_OK, freexl_get_cell_value(fx, r, c, &v));
                    const Cell& mine = At(ours.sheets[i], static_cast<int>(r) + 1, c + 1);
                    if (v.type == FREEXL_CELL_TEXT || v.type == FREEXL_CELL_SST_TEXT) {
                        EXPECT_EQ(std::string(v.value.text_value), mine.text);
                        ++compared;
                    } else if (v.type == FREEXL_CELL_INT || v.type == FREEXL_CELL_DOUBLE) {
                        EXPECT_DOUBLE_EQ(v.type == FREEXL_CELL_INT ? v.value.int_value : v.value.double_value,
                                         mine.number);
                        ++compared;
                    } else if (v.type == FREEXL_CELL_NULL) {
                        // freexl leaves out the cached results of formulas; we keep them.
                    } else {
                        EXPECT_EQ(Cell::Kind::Date, mine.kind) << r << "," << c;
                    }
                }
            }
            if (!ours.sheets[i].cells.empty()) {
                EXPECT_GT(compared, 0);
            }
        }
        freexl_close(fx);
    }
}

// --- with LibreOffice installed ---

using testsupport::HaveSoffice;

// Runs one soffice conversion of several files.
void Soffice(const TempDir& dir, const std::string& filter, const std::vector<std::string>& files,
             const std::string& outdir) {
    ASSERT_TRUE(testsupport::SofficeConvert(dir.path(), filter, files, outdir))
        << ReadFile(testsupport::SofficeLog(dir.path()));
}

// The non-empty fields of a CSV file by row and column (1-based).
std::map<CellRef, std::string> ParseCsv(const std::string& text) {
    std::map<CellRef, std::string> out;
    int row = 1, col = 1;
    std::string field;
    bool quoted = false;
    auto endField = [&] {
        if (!field.empty()) out[{row, col}] = field;
        field.clear();
        ++col;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (quoted) {
            if (ch == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (ch == '"') {
                quoted = false;
            } else {
                field += ch;
            }
        } else if (ch == '"') {
            quoted = true;
        } else if (ch == ',') {
            endField();
        } else if (ch == '\n') {
            endField();
            ++row;
            col = 1;
        } else if (ch != '\r') {
            field += ch;
        }
    }
    if (!field.empty()) out[{row, col}] = field;
    return out;
}

// What a cell shows with the formats we write.
std::string Shown(const Cell& c) {
    char buf[64];
    switch (c.kind) {
        case Cell::Kind::Text: return c.text;
        case Cell::Kind::Number:
            std::snprintf(buf, sizeof buf, "%.10g", c.number);
            return buf;
        case Cell::Kind::Date: {
            const long days = static_cast<long>(std::floor(c.number));
            const long secs = std::lround((c.number - static_cast<double>(days)) * 86400);
            // The civil date by the standard library's calendar, not by the
            // engine's own arithmetic.
            using namespace std::chrono;
            const year_month_day ymd{sys_days{year{1899} / December / 30} + std::chrono::days{days}};
            std::string day = std::to_string(static_cast<unsigned>(ymd.day())) + "." +
                              std::to_string(static_cast<unsigned>(ymd.month())) + "." +
                              std::to_string(static_cast<int>(ymd.year()));
            std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", secs / 3600, secs / 60 % 60, secs % 60);
            if (c.dateHasDay && c.dateHasTime) return day + " " + buf;
            return c.dateHasTime ? std::string(buf) : day;
        }
        default: return {};
    }
}

Book InteropBook() {
    Book b;
    Sheet song;
    song.name = "Calvira12";
    song.cells[{1, 1}] = Text("Ach synku, synku");
    song.cells[{1, 2}] = Text("cis1,");
    song.cells[{1, 9}] = Text("Tlak");
    song.cells[{2, 1}] = Text("Příliš žluťoučký kůň úpěl ďábelské ódy");
    song.cells[{2, 2}] = Text("\"uvozovky\" a ; středník");
    song.cells[{3, 3}] = Number(-0.125);
    song.cells[{3, 4}] = Number(14);
    song.cells[{4, 1}] = Date(46364, true, false);
    song.cells[{4, 2}] = Date(0.5454861111111111, false, true);
    song.cells[{4, 3}] = Date(46364.75, true, true);
    song.cells[{120, 211}] = Text("HC120", 2);
    song.activeCell = {2, 2};
    song.selection = {{2, 2}, {3, 4}};
    b.sheets.push_back(song);
    Sheet big;
    big.name = "Dlouhý text";
    for (int r = 1; r <= 600; ++r) big.cells[{r, 1}] = Text("řádek " + std::to_string(r) + std::string(20 + r % 40, 'x') + "ě");
    big.activeCell = {300, 1};
    big.selection = {{300, 1}, {300, 1}};
    b.sheets.push_back(big);
    Sheet empty;
    empty.name = "Prázdný";
    b.sheets.push_back(empty);
    b.activeSheet = 1;
    return b;
}

// freexl, a second independent reader, reads our files with the same sheets, texts and numbers.
TEST(XlsForOtherReaders, FreexlReadsWhatWeWrote) {
    TempDir dir;
    const Book book = InteropBook();
    const std::string path = dir.file("píseň.xls");
    WriteXlsFile(book, path);
    const void* fx = nullptr;
    ASSERT_EQ(FREEXL_OK, freexl_open(path.c_str(), &fx));
    unsigned int count = 0;
    ASSERT_EQ(FREEXL_OK, freexl_get_info(fx, FREEXL_BIFF_SHEET_COUNT, &count));
    ASSERT_EQ(book.sheets.size(), count);
    for (unsigned short i = 0; i < count; ++i) {
        const char* name = nullptr;
        ASSERT_EQ(FREEXL_OK, freexl_get_worksheet_name(fx, i, &name));
        EXPECT_EQ(book.sheets[i].name, name);
        ASSERT_EQ(FREEXL_OK, freexl_select_active_worksheet(fx, i));
        for (const auto& [ref, cell] : book.sheets[i].cells) {
            FreeXL_CellValue v{};
            ASSERT_EQ(FREEXL_OK, freexl_get_cell_value(fx, ref.row - 1, static_cast<unsigned short>(ref.col - 1), &v));
            if (cell.kind == Cell::Kind::Text) {
                ASSERT_EQ(FREEXL_CELL_SST_TEXT, v.type);
                EXPECT_EQ(cell.text, v.value.text_value);
            } else if (cell.kind == Cell::Kind::Number) {
                EXPECT_DOUBLE_EQ(cell.number, v.type == FREEXL_CELL_INT ? v.value.int_value : v.value.double_value);
            } else if (cell.kind == Cell::Kind::Date) {
                // freexl recognises our date and time formats.
                EXPECT_EQ(cell.dateHasTime ? (cell.dateHasDay ? FREEXL_CELL_DATETIME : FREEXL_CELL_TIME) : FREEXL_CELL_DATE,
                          v.type);
            }
        }
    }
    freexl_close(fx);
}

TEST(XlsWithLibreOffice, ShowsExactlyWhatWeWrote) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    TempDir dir;
    const Book book = InteropBook();
    const std::string path = dir.file("píseň.xls");
    WriteXlsFile(book, path);
    std::filesystem::create_directory(dir.path() / "csv");
    // Comma, quote, UTF-8, cells as shown (formatted), every sheet into its own file.
    Soffice(dir, "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true,false,false,-1", {path},
            dir.file("csv"));
    for (const Sheet& sheet : book.sheets) {
        SCOPED_TRACE(sheet.name);
        const auto csvPath = dir.path() / "csv" / ("píseň-" + sheet.name + ".csv");
        ASSERT_TRUE(std::filesystem::exists(csvPath));
        std::map<CellRef, std::string> expected;
        for (const auto& [ref, cell] : sheet.cells) expected[ref] = Shown(cell);
        const auto shown = ParseCsv(ReadFile(csvPath));
        for (const auto& [ref, text] : expected) {
            auto it = shown.find(ref);
            EXPECT_TRUE(it != shown.end() && it->second == text)
                << "row " << ref.row << " col " << ref.col << ": wrote \"" << text << "\", shown \""
                << (it == shown.end() ? std::string("(nothing)") : it->second) << "\"";
        }
        EXPECT_EQ(expected.size(), shown.size());
    }
}

TEST(XlsWithLibreOffice, ItsCopyOfOurFileReadsBackTheSame) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    TempDir dir;
    const Book book = InteropBook();
    WriteXlsFile(book, dir.file("src.xls"));
    std::filesystem::create_directory(dir.path() / "out");
    Soffice(dir, "xls:MS Excel 97", {dir.file("src.xls")}, dir.file("out"));
    const Book back = ReadXlsFile((dir.path() / "out" / "src.xls").string());
    ASSERT_EQ(book.sheets.size(), back.sheets.size());
    EXPECT_EQ(book.activeSheet, back.activeSheet);
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        SCOPED_TRACE(book.sheets[i].name);
        EXPECT_EQ(book.sheets[i].name, back.sheets[i].name);
        EXPECT_EQ(book.sheets[i].activeCell, back.sheets[i].activeCell);
        EXPECT_EQ(book.sheets[i].selection, back.sheets[i].selection);
        for (const auto& [ref, cell] : book.sheets[i].cells) {
            const Cell& got = At(back.sheets[i], ref.row, ref.col);
            EXPECT_EQ(cell.kind, got.kind) << ref.row << "," << ref.col;
            EXPECT_EQ(cell.text, got.text);
            EXPECT_NEAR(cell.number, got.number, 1e-9);
            EXPECT_EQ(cell.colorIndex, got.colorIndex);
            if (cell.kind == Cell::Kind::Date) {
                EXPECT_EQ(cell.dateHasDay, got.dateHasDay);
                EXPECT_EQ(cell.dateHasTime, got.dateHasTime);
            }
        }
    }
}

}  // namespace

namespace {

namespace fs = std::filesystem;

// The checked-in LibreOffice files are made from the sources beside them
// (tests/fixtures/xls/src): LibreOffice, where it is installed, makes them
// again from those sources with the same sheets, values, colours and cursors,
// so the fixtures stay what their sources say.
TEST(XlsWithLibreOffice, TheFixturesAreWhatTheirSourcesMake) {
    if (!HaveSoffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    struct Source {
        const char* source;
        const char* fixture;
        const char* infilter;
    };
    const Source sources[] = {
        {"song_lo.fods", "song_lo.xls", ""},
        {"song_cursor.xls", "song_cursor_lo.xls", ""},
        {"song_long.csv", "song_long.xls", "CSV:44,34,76,1"},
    };
    for (const Source& s : sources) {
        SCOPED_TRACE(s.source);
        TempDir dir;
        const fs::path out = dir.path() / "out";
        fs::create_directories(out);
        // The CSV names its sheet after the file, as the checked-in file does.
        const fs::path input = dir.path() / s.source;
        fs::copy_file(SourceDir() / "tests/fixtures/xls/src" / s.source, input);
        ASSERT_TRUE(testsupport::SofficeConvert(dir.path(), "xls:MS Excel 97", {input.string()}, out, s.infilter))
            << ReadFile(testsupport::SofficeLog(dir.path()));
        const fs::path made = out / (input.stem().string() + ".xls");
        ASSERT_TRUE(fs::exists(made)) << ReadFile(testsupport::SofficeLog(dir.path()));
        const Book ours = ReadXlsFile(made.string());
        const Book fixture = ReadXlsFile(Fixture(s.fixture));
        ASSERT_EQ(ours.sheets.size(), fixture.sheets.size());
        EXPECT_EQ(ours.activeSheet, fixture.activeSheet);
        for (std::size_t i = 0; i < ours.sheets.size(); ++i) {
            EXPECT_EQ(ours.sheets[i].name, fixture.sheets[i].name);
            EXPECT_EQ(ours.sheets[i].activeCell, fixture.sheets[i].activeCell) << i;
            EXPECT_TRUE(ours.sheets[i].cells == fixture.sheets[i].cells) << ours.sheets[i].name;
        }
    }
}

}  // namespace
