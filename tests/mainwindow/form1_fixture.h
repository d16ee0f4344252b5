// The main window as the program brings it up, for tests: a temporary drive
// C, a temporary settings folder (also standing in for the home and XDG
// config folders, so the real ones are never touched), the component calvira
// registered into a temporary registration file, the real workbook engine
// with the real read_only.xls of the program folder, and scripted message
// boxes. Ending the program (a failed start) throws ProgramEnded instead of
// exiting the test.
#pragma once

#include <gtest/gtest.h>

#include <QThreadPool>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "mainwindow/form1.h"
#include "platform/com/com.h"
#include "platform/excel/application.h"
#include "platform/msgbox/msgbox.h"
#include "tests/support/doubles/scripted_msgbox.h"
#include "platform/system/settings.h"
#include "store/module1.h"
#include "tests/support/qt_app.h"
#include "tests/support/calvira.h"
#include "tests/support/private_mount.h"
#include "tests/support/temp_env.h"

namespace form1_test {

namespace fs = std::filesystem;

// Thrown by the test's hook where the program would end.
struct ProgramEnded {
    int exitCode;
};

using testsupport::ProgramDir;
using EnvironmentOverride = testsupport::ScopedEnv;

class Form1Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        forms_test::App();
        sandbox_ = std::make_unique<testsupport::Sandbox>(testsupport::Sandbox::Home::OwnFolder, "belmora-form1");
        ASSERT_TRUE(fs::exists(ProgramDir() + "/read_only.xls")) << "read_only.xls missing in " << ProgramDir();
        ASSERT_TRUE(testsupport::RegisterCalvira()) << "libcalvira.so could not be registered from " << ProgramDir();

        boxes_ = std::make_unique<forms::ScriptedMessageBoxes>();
        previousEnd_ = program::SetEndHook([](int code) { throw ProgramEnded{code}; });
    }

    void TearDown() override {
        form_.reset();
        HlavniOkno = nullptr;
        ExcelAplikace.reset();
        NazevReadOnly.clear();
        AktualniPisen.clear();
        StaraCesta.clear();
        xl::testing::SetCreationFails(false);
        program::SetEndHook(previousEnd_);
        boxes_.reset();
        com::CoFreeUnusedLibraries();
        sandbox_.reset();
    }

    // A window as the start-up routine makes it, not yet shown.
    Form1& NewForm() {
        form_ = std::make_unique<Form1>();
        HlavniOkno = form_.get();
        return *form_;
    }

    // The start-up routine: the window created and shown modeless, which
    // loads it. A failed start throws ProgramEnded.
    Form1& Start() {
        Form1& f = NewForm();
        f.Show(forms::vbModeless);
        return f;
    }

    // A setting of the program, as the menus store it.
    static void Setting(const std::string& section, const std::string& key, const std::string& value) {
        sys::SaveSetting("Calvira12", section, key, value);
    }

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
    EnvironmentOverride& Env() { return sandbox_->Env(); }

    // Whether the test may fork (for a file system of its own, private_mount.h):
    // only while no thread runs beside this one. Qt's pool threads, which
    // drawing leaves idle, are ended first.
    static bool ReadyToFork() {
        QThreadPool::globalInstance()->waitForDone();
        return testsupport::SingleThreaded();
    }

    // The boxes shown so far, taken out of the record.
    std::vector<forms::ScriptedMessageBoxes::Box> TakeBoxes() { return boxes_->TakeBoxes(); }

private:
    std::unique_ptr<testsupport::Sandbox> sandbox_;
    std::unique_ptr<forms::ScriptedMessageBoxes> boxes_;
    program::EndHook previousEnd_;
    std::unique_ptr<Form1> form_;
};

}  // namespace form1_test
