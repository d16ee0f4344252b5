// The main window as the program brings it up, for tests: the started song
// store's set-up (tests/support/store_fixture.h: a temporary drive C and
// settings folder, the real workbook engine with the real read_only.xls,
// scripted message boxes, a program end that throws ProgramEnded) with the
// component calvira registered into a temporary registration file, and the
// window made and shown as the start-up routine does.
#pragma once

#include <gtest/gtest.h>

#include <QThreadPool>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "mainwindow/form1.h"
#include "platform/com/com.h"
#include "platform/system/settings.h"
#include "tests/support/calvira.h"
#include "tests/support/private_mount.h"
#include "tests/support/store_fixture.h"
#include "tests/support/temp_env.h"

namespace form1_test {

namespace fs = std::filesystem;

using store_test::ProgramEnded;
using testsupport::ProgramDir;
using EnvironmentOverride = testsupport::ScopedEnv;

class Form1Fixture : public store_test::StoreFixture {
protected:
    Form1Fixture() : StoreFixture("belmora-form1") {}

    void SetUp() override {
        StoreFixture::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(testsupport::RegisterCalvira()) << "libcalvira.so could not be registered from " << ProgramDir();
    }

    void TearDown() override {
        form_.reset();
        HlavniOkno = nullptr;
        com::CoFreeUnusedLibraries();
        StoreFixture::TearDown();
    }

    // A window as the start-up routine makes it, not yet shown.
    Form1& NewForm() {
        form_ = std::make_unique<Form1>();
        HlavniOkno = form_.get();
        return *form_;
    }

    // The start-up routine: the window created and shown modeless, which
    // loads it (and with it starts the song store). A failed start throws
    // ProgramEnded.
    Form1& Start() {
        Form1& f = NewForm();
        f.Show(forms::vbModeless);
        return f;
    }

    // A setting of the program, as the menus store it.
    static void Setting(const std::string& section, const std::string& key, const std::string& value) {
        sys::SaveSetting("Calvira12", section, key, value);
    }

    // Whether the test may fork (for a file system of its own, private_mount.h):
    // only while no thread runs beside this one. Qt's pool threads, which
    // drawing leaves idle, are ended first; a pool thread that was told to end
    // is still listed for a moment after the pool let go of it, so the count
    // is given that moment.
    static bool ReadyToFork() {
        QThreadPool::globalInstance()->waitForDone();
        for (int i = 0; i < 200 && !testsupport::SingleThreaded(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return testsupport::SingleThreaded();
    }

private:
    std::unique_ptr<Form1> form_;
};

}  // namespace form1_test
