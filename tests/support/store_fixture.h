// The song store started as the program starts it, for tests that need no
// main window: a temporary drive C, a temporary settings folder (also standing
// in for the home and XDG config folders, so the real ones are never touched),
// the real workbook engine with the real read_only.xls of the program folder,
// and scripted message boxes. Ending the program (a failed start) throws
// ProgramEnded instead of exiting the test. The main window's fixture
// (tests/mainwindow/form1_fixture.h) builds on this one.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/excel/application.h"
#include "platform/msgbox/msgbox.h"
#include "store/module1.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "tests/support/qt_app.h"
#include "tests/support/temp_env.h"

namespace store_test {

namespace fs = std::filesystem;

// Thrown by the test's hook where the program would end.
struct ProgramEnded {
    int exitCode;
};

class StoreFixture : public ::testing::Test {
protected:
    // `sandboxName` names the test's temporary folders.
    explicit StoreFixture(const char* sandboxName = "belmora-store") : sandboxName_(sandboxName) {}

    void SetUp() override {
        forms_test::App();
        sandbox_ = std::make_unique<testsupport::Sandbox>(testsupport::Sandbox::Home::OwnFolder, sandboxName_);
        ASSERT_TRUE(fs::exists(testsupport::ProgramDir() + "/read_only.xls"))
            << "read_only.xls missing in " << testsupport::ProgramDir();
        boxes_ = std::make_unique<forms::ScriptedMessageBoxes>();
        previousEnd_ = program::SetEndHook([](int code) { throw ProgramEnded{code}; });
    }

    void TearDown() override {
        ExcelAplikace.reset();
        NazevReadOnly.clear();
        AktualniPisen.clear();
        StaraCesta.clear();
        xl::testing::SetCreationFails(false);
        program::SetEndHook(previousEnd_);
        boxes_.reset();
        sandbox_.reset();
    }

    // The start of the connection, as the main window's load makes it. A
    // failed start throws ProgramEnded.
    std::string Start() { return SpustExcel(); }

    // Saves a new song workbook into the song folder and makes it the open
    // song, as creating a song does; its window is then the active one.
    std::string OpenNewSong(const std::string& name) {
        fs::create_directories(SongFolder());
        xl::Workbook book = ExcelAplikace->Workbooks().Add();
        book.SaveAs({.Filename = std::string(PracovniAdresar) + "\\" + name});
        AktualniPisen = ExcelAplikace->ActiveWorkbook().Name();
        return AktualniPisen;
    }

    fs::path SongFolder() const { return sandbox_->C() / "Dokumenty" / "Dovozivuz" / "Belmora"; }
    const fs::path& Root() const { return sandbox_->Root(); }
    forms::ScriptedMessageBoxes& Boxes() { return *boxes_; }
    testsupport::ScopedEnv& Env() { return sandbox_->Env(); }

    // The boxes shown so far, taken out of the record.
    std::vector<forms::ScriptedMessageBoxes::Box> TakeBoxes() { return boxes_->TakeBoxes(); }

private:
    const char* sandboxName_;
    std::unique_ptr<testsupport::Sandbox> sandbox_;
    std::unique_ptr<forms::ScriptedMessageBoxes> boxes_;
    program::EndHook previousEnd_;
};

}  // namespace store_test
