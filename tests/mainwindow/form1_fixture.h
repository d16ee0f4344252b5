// The main window as the program brings it up, for tests: a temporary drive
// C, a temporary settings folder (also standing in for the home and XDG
// config folders, so the real ones are never touched), the component calvira
// registered into a temporary registration file, the real workbook engine
// with the real read_only.xls of the program folder, and scripted message
// boxes. Ending the program (a failed start) throws ProgramEnded instead of
// exiting the test.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "mainwindow/form1.h"
#include "platform/com/com.h"
#include "platform/excel/application.h"
#include "platform/forms/msgbox.h"
#include "platform/system/settings.h"
#include "store/module1.h"
#include "tests/forms/qt_app.h"

namespace form1_test {

namespace fs = std::filesystem;

// Thrown by the test's hook where the program would end.
struct ProgramEnded {
    int exitCode;
};

// Sets environment variables for the life of the object and puts the old
// values back afterwards.
class EnvironmentOverride {
public:
    EnvironmentOverride() = default;
    EnvironmentOverride(const EnvironmentOverride&) = delete;
    EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;
    ~EnvironmentOverride() {
        for (const auto& [name, value] : saved_) {
            if (value) ::setenv(name.c_str(), value->c_str(), 1);
            else ::unsetenv(name.c_str());
        }
    }
    void Set(const std::string& name, const std::string& value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        ::setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// The program folder of the build: read_only.xls and libcalvira.so.
inline std::string ProgramDir() {
    const char* dir = std::getenv("BELMORA_PROGRAM_DIR");
    return dir ? std::string(dir) : std::string();
}

// Registers libcalvira.so of the program folder into the current
// registration file, through the library's own entry point.
inline bool RegisterCalvira() {
    void* lib = ::dlopen((ProgramDir() + "/libcalvira.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) return false;
    auto reg = reinterpret_cast<com::DllRegisterServerFn>(::dlsym(lib, "DllRegisterServer"));
    const bool ok = reg && reg() == com::S_OK;
    ::dlclose(lib);
    return ok;
}

class Form1Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        forms_test::App();
        std::string tmpl = (fs::temp_directory_path() / "belmora-form1-XXXXXX").string();
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        fs::create_directories(root_ / "C");
        fs::create_directories(root_ / "settings");
        fs::create_directories(root_ / "home");
        env_.Set("BELMORA_DRIVE_C", (root_ / "C").string());
        env_.Set("BELMORA_SETTINGS_DIR", (root_ / "settings").string());
        env_.Set("XDG_CONFIG_HOME", (root_ / "settings").string());
        env_.Set("HOME", (root_ / "home").string());
        env_.Set("BELMORA_REGISTRY", (root_ / "registry.ini").string());
        ASSERT_TRUE(fs::exists(ProgramDir() + "/read_only.xls")) << "read_only.xls missing in " << ProgramDir();
        ASSERT_TRUE(RegisterCalvira()) << "libcalvira.so could not be registered from " << ProgramDir();

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
        std::error_code ec;
        fs::remove_all(root_, ec);
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

    fs::path SongFolder() const { return root_ / "C" / "Dokumenty" / "Dovozivuz" / "Belmora"; }
    const fs::path& Root() const { return root_; }
    forms::ScriptedMessageBoxes& Boxes() { return *boxes_; }
    EnvironmentOverride& Env() { return env_; }

    // The boxes shown so far, taken out of the record.
    std::vector<forms::ScriptedMessageBoxes::Box> TakeBoxes() { return boxes_->TakeBoxes(); }

private:
    fs::path root_;
    EnvironmentOverride env_;
    std::unique_ptr<forms::ScriptedMessageBoxes> boxes_;
    program::EndHook previousEnd_;
    std::unique_ptr<Form1> form_;
};

}  // namespace form1_test
