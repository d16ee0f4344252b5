// The program itself, run as a user starts it, ends with its stated exit code
// whichever way it ends, without a crash on the way out.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <filesystem>
#include <string>

#include "platform/excel/application.h"
#include "tests/support/qt_app.h"
#include "tests/support/temp_env.h"

namespace {

namespace fs = std::filesystem;

struct Ended {
    QProcess::ExitStatus status;
    int code;
    std::string errors;
};

// Runs the program offscreen, its boxes written to standard error and
// answered with their first button, with `programDir` as its program folder.
Ended RunProgram(const testsupport::Sandbox& sandbox, const fs::path& programDir) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("BELMORA_BOXES", "stderr");
    env.insert("BELMORA_PROGRAM_DIR", QString::fromStdString(programDir.string()));
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString(testsupport::ProgramDir() + "/belmora"), {});
    EXPECT_TRUE(program.waitForFinished(30000));
    return {program.exitStatus(), program.exitCode(), program.readAllStandardError().toStdString()};
}

// A lookup workbook without the sheet "Calvira12": the start reports the
// failure and the program ends with exit code 1 (not a signal).
TEST(ProgramEndTest, AFailedStartEndsWithItsExitCode) {
    forms_test::App();
    testsupport::Sandbox sandbox(testsupport::Sandbox::Home::DriveC, "belmora-end");
    const fs::path programDir = sandbox.Root() / "program";
    fs::create_directories(programDir);
    {
        auto excel = xl::CreateExcelApplication();
        excel->Workbooks().Add().SaveAs({.Filename = "C:\\read_only.xls"});
        excel->Quit();
    }
    fs::rename(sandbox.C() / "read_only.xls", programDir / "read_only.xls");

    const Ended run = RunProgram(sandbox, programDir);
    EXPECT_EQ(run.status, QProcess::NormalExit) << run.errors;
    EXPECT_EQ(run.code, 1) << run.errors;
    EXPECT_NE(run.errors.find("[Tabulky programu nelze načíst.] Soubor "), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("neobsahuje list „Calvira12“"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("Číslo chyby: 9."), std::string::npos) << run.errors;

    // Without the lookup workbook at all: the start says so and ends the same way.
    fs::remove(programDir / "read_only.xls");
    const Ended missing = RunProgram(sandbox, programDir);
    EXPECT_EQ(missing.status, QProcess::NormalExit) << missing.errors;
    EXPECT_EQ(missing.code, 1) << missing.errors;
}

}  // namespace
