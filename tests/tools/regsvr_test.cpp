// belmora-regsvr as the run command and an administrator call it.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/com/registry.h"
#include "tests/support/temp_env.h"
#include "tonelib/calvira12.h"

namespace {

using testsupport::ProgramDir;

struct ToolRun {
    int exitCode;
    std::string out;
};

// Runs the tool with the sandbox's environment, capturing what it prints.
ToolRun Regsvr(const std::string& args) {
    const std::string cmd = "'" + ProgramDir() + "/belmora-regsvr' " + args + " 2>/dev/null";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return {-1, {}};
    std::string out;
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    const int status = ::pclose(p);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

// A library that loads but serves no component: the C library itself.
std::string LibraryWithoutEntryPoints() {
    Dl_info info{};
    ::dladdr(reinterpret_cast<void*>(&::popen), &info);
    return info.dli_fname ? info.dli_fname : "";
}

std::string Library() {
    return "'" + ProgramDir() + "/libcalvira.so'";
}

TEST(Regsvr, RegistersAndUnregistersTheComponent) {
    testsupport::Sandbox sandbox;
    ToolRun r = Regsvr(Library());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("DllRegisterServer"), std::string::npos) << r.out;
    EXPECT_TRUE(com::InprocServerPath(calvira::CLSID_Calvira12));

    r = Regsvr("/u " + Library());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(com::InprocServerPath(calvira::CLSID_Calvira12));
}

TEST(Regsvr, SilentRegistrationPrintsNothing) {
    testsupport::Sandbox sandbox;
    ToolRun r = Regsvr("-s " + Library());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(com::InprocServerPath(calvira::CLSID_Calvira12));
    r = Regsvr("-u -s " + Library());
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(com::InprocServerPath(calvira::CLSID_Calvira12));
}

TEST(Regsvr, FailuresEndWithTheirOwnExitCodesAndRegisterNothing) {
    testsupport::Sandbox sandbox;
    const struct {
        std::string args;
        int exitCode;
    } cases[] = {
        {"", 1},
        {"-x " + Library(), 1},
        {Library() + " " + Library(), 1},
        {"'" + (sandbox.Root() / "missing.so").string() + "'", 3},
        {"'" + LibraryWithoutEntryPoints() + "'", 4},
    };
    for (const auto& c : cases) EXPECT_EQ(Regsvr(c.args).exitCode, c.exitCode) << c.args;
    EXPECT_TRUE(com::ReadRegistry().Empty());
}

}  // namespace
