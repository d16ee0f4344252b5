// The generated read_only.xls opened by the spreadsheet engine and searched
// with its own Find, step by step as the program's readers search it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/excel/application.h"
#include "platform/vb/conversions.h"
#include "platform/vb/variant.h"
#include "tests/support/excel_env.h"

using namespace xl;

namespace {

using testsupport::ProgramDir;

class LookupModel : public ::testing::Test {
protected:
    excel_test::TempEnv env;
    std::shared_ptr<Application> app;

    void SetUp() override {
        std::filesystem::copy_file(ProgramDir() + "/read_only.xls", env.C() / "read_only.xls");
        app = CreateExcelApplication();
        app->Workbooks().Open("C:\\read_only.xls");
    }

    // One search of the selection after the active cell: formulas, part of
    // the cell, by rows, next, without regard to case.
    Range FindNext(const vb::Variant& what) {
        return app->Selection().Find({.What = what, .After = app->ActiveCell(), .LookIn = xlFormulas,
                                      .LookAt = xlPart, .SearchOrder = xlByRows, .SearchDirection = xlNext,
                                      .MatchCase = false});
    }

    // Selects `area` and searches it again from each hit until the active
    // cell holds the whole key (a text, or a number compared by value): true
    // then, false after `maxSearches` or when nothing contains the key.
    bool Lookup(const std::string& area, const vb::Variant& key, int maxSearches) {
        app->Range(area).Select();
        for (int n = 0; n < maxSearches; ++n) {
            Range found = FindNext(key);
            if (found.IsNothing()) return false;
            found.Activate();
            if (vb::Equals(app->ActiveCell().Value(), key)) return true;
        }
        return false;
    }

    // The bass readers: the button number of `name` in column F (push) or G
    // (pull), at most eight searches; 0 when it is not found.
    int ReadBass(const std::string& col, const std::string& name) {
        app->Windows("read_only.xls").Activate();
        app->Sheets("Calvira12").Select();
        if (!Lookup(col + "1:" + col + "121", name, 8)) return 0;
        return vb::CByte(app->ActiveCell().Offset(0, col == "F" ? -5 : -6).Value());
    }
};

TEST_F(LookupModel, BassReadersFindEveryButtonByItsNameOnPushAndPull) {
    for (const std::string col : {"F", "G"}) {
        for (int b = 1; b <= 120; ++b) {
            app->Sheets("Calvira12").Select();
            std::string name = vb::CStr(app->Range(col + std::to_string(b + 1)).Value());
            EXPECT_EQ(ReadBass(col, name), b) << col << " \"" << name << "\"";
        }
    }
    EXPECT_EQ(ReadBass("F", "Es"), 0) << "a bare root is only part of longer names";
}

TEST_F(LookupModel, GripWriterReadsTheNamesOfEachBassNumber) {
    app->Sheets("Calvira12").Select();
    for (int u = 1; u <= 120; ++u) {
        ASSERT_TRUE(Lookup(u <= 40 ? "A1:A41" : "A40:A121", std::int32_t{u}, 82)) << u;
        EXPECT_EQ(app->ActiveCell().Row(), u + 1);
        EXPECT_EQ(app->ActiveCell().Range("F1").Value().AsString(),
                  app->Range("F" + std::to_string(u + 1)).Value().AsString());
    }
}

TEST_F(LookupModel, TrebleLookupFindsEachToneAndItsButton) {
    app->Sheets("Calvira12").Select();
    for (int n = 1; n <= 49; ++n) {
        std::string name = app->Range("B" + std::to_string(n + 1)).Value().AsString();
        ASSERT_TRUE(Lookup("B1:B51", name, 51)) << name;
        EXPECT_EQ(vb::CInt(app->ActiveCell().Offset(0, -1).Value()), n) << name;
    }
    EXPECT_FALSE(Lookup("B1:B51", "h0,", 51));
}

TEST_F(LookupModel, ScaleTableFindsEveryScaleAndEveryNoteInItsRow) {
    app->Sheets("Transpozice").Select();
    int scales = 0;
    for (int r = 1; r <= 17; ++r) {
        vb::Variant scale = app->Range("B" + std::to_string(r)).Value();
        if (scale.IsEmpty()) continue;
        ++scales;
        // "Es Dur" is not taken for "Des Dur", "Ges Dur" or "Ces Dur".
        ASSERT_TRUE(Lookup("B1:B17", scale, 17)) << scale.AsString();
        EXPECT_EQ(app->ActiveCell().Row(), r);
        const std::string row = std::to_string(r);
        for (int col = 3; col <= 60; ++col) {
            vb::Variant note = app->Range("B" + row).Offset(0, col - 2).Value();
            if (note.IsEmpty()) continue;
            // The intervals search C..AN, the conversion C..BH ("es1," is
            // not taken for "des1," or "ges1,").
            for (const std::string& area : {"C" + row + ":AN" + row, "C" + row + ":BH" + row}) {
                ASSERT_TRUE(Lookup(area, note, 58)) << scale.AsString() << " " << note.AsString();
                EXPECT_EQ(app->ActiveCell().Column(), col) << scale.AsString() << " " << note.AsString();
            }
        }
    }
    EXPECT_EQ(scales, 15);
}

TEST_F(LookupModel, ConversionTakesTheSameColumnOfTheTargetScale) {
    // As the conversion does it: find the source row, the note in C..BH of
    // it, the target row, and read the target row in the note's column.
    auto convert = [&](const std::string& from, const std::string& to, const std::string& note) -> std::string {
        app->Sheets("Transpozice").Select();
        if (!Lookup("B1:B17", from, 17)) return "no source scale";
        int sourceRow = app->ActiveCell().Row();
        if (!Lookup("C" + std::to_string(sourceRow) + ":BH" + std::to_string(sourceRow), note, 58)) return "no note";
        int column = app->ActiveCell().Column();
        if (!Lookup("B1:B17", to, 17)) return "no target scale";
        return vb::CStr(app->ActiveCell().Offset(0, column - 2).Value());
    };
    EXPECT_EQ(convert("C Dur", "G Dur", "c1,"), "g,");
    EXPECT_EQ(convert("C Dur", "F Dur", "e1,"), "a1,");
    EXPECT_EQ(convert("B Dur", "Es Dur", "es1,"), "as1,");
    EXPECT_EQ(convert("Es Dur", "C Dur", "es1,"), "c1,");
    EXPECT_EQ(convert("Fis Dur", "Ges Dur", "h1,"), "ces2,");
    EXPECT_EQ(convert("C Dur", "Cis Dur", "h1,"), "c2,");
    EXPECT_EQ(convert("C Dur", "G Dur", "fis1,"), "no note");
}

TEST_F(LookupModel, IntervalsCountScaleStepsAsColumns) {
    app->Sheets("Transpozice").Select();
    ASSERT_TRUE(Lookup("B1:B17", "D Dur", 17));
    int row = app->ActiveCell().Row();
    ASSERT_TRUE(Lookup("C" + std::to_string(row) + ":AN" + std::to_string(row), "d1,", 38));
    EXPECT_EQ(vb::CStr(app->ActiveCell().Offset(0, 2).Value()), "fis1,") << "a third up";
    EXPECT_EQ(vb::CStr(app->ActiveCell().Offset(0, 7).Value()), "d2,") << "an octave up";
    EXPECT_EQ(vb::CStr(app->ActiveCell().Offset(0, 14).Value()), "d3,") << "two octaves up";
    EXPECT_EQ(vb::CStr(app->ActiveCell().Offset(0, -1).Value()), "cis1,") << "a second down";
}

}  // namespace
