#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/com/registry.h"
#include "tests/support/temp_env.h"

namespace {

TEST(RegistryFile, OverrideThenXdgConfigThenHome) {
    testsupport::Sandbox sandbox;
    EXPECT_EQ(com::RegistryFilePath(), sandbox.RegistryFile());
    sandbox.Env().Unset("BELMORA_REGISTRY");
    EXPECT_EQ(com::RegistryFilePath(), (sandbox.Settings() / "belmora" / "registry.ini").string());
    sandbox.Env().Unset("XDG_CONFIG_HOME");
    EXPECT_EQ(com::RegistryFilePath(), (sandbox.HomeDir() / ".config" / "belmora" / "registry.ini").string());
}

TEST(RegistryTree, ReadsKeysAndValuesIgnoringWhatIsNoValue) {
    const auto t = com::RegistryTree::Parse(
        "stray=before any key\r\n"
        "; a comment\n"
        "[CLSID\\{A}\\InprocServer32]\r\n"
        "@=/opt/lib path/libx.so\r\n"
        "  ThreadingModel =Apartment\n"
        "no equals sign\n"
        "[broken\n"
        "lost=value of a broken key\n"
        "[Empty]\n"
        "[TypeLib\\{B}]\n"
        "Value=a=b\n");
    EXPECT_EQ(t.Get("clsid\\{a}\\inprocserver32"), "/opt/lib path/libx.so");
    EXPECT_EQ(t.Get("CLSID\\{A}\\InprocServer32", "threadingmodel"), "Apartment");
    EXPECT_EQ(t.Get("TypeLib\\{B}", "Value"), "a=b");
    EXPECT_TRUE(t.HasKey("Empty"));
    EXPECT_FALSE(t.Get("Empty"));
    EXPECT_FALSE(t.HasKey("broken"));
    EXPECT_TRUE(t.HasKey("CLSID\\{A}"));
    const auto again = com::RegistryTree::Parse(t.Serialize());
    EXPECT_EQ(again.Serialize(), t.Serialize());
}

TEST(RegistryTree, RefusesWhatTheFileCannotKeep) {
    com::RegistryTree t;
    EXPECT_FALSE(t.Set("K", "@", "two\nlines"));
    EXPECT_FALSE(t.Set("K\n[Other]", "@", "v"));
    EXPECT_FALSE(t.Set("K]", "@", "v"));
    EXPECT_FALSE(t.Set("K", "a=b", "v"));
    EXPECT_FALSE(t.Set("", "@", "v"));
    EXPECT_TRUE(t.Empty());
}

TEST(RegistryTree, DeleteTreeRemovesTheKeyAndOnlyWhatLiesBelowIt) {
    com::RegistryTree t;
    t.Set("CLSID\\{A}", "@", "a");
    t.Set("CLSID\\{A}\\InprocServer32", "@", "x");
    t.Set("CLSID\\{A}X", "@", "neighbour with the same prefix");
    t.Set("CLSID\\{B}", "@", "b");
    EXPECT_TRUE(t.DeleteTree("clsid\\{a}"));
    EXPECT_FALSE(t.HasKey("CLSID\\{A}"));
    EXPECT_FALSE(t.Get("CLSID\\{A}\\InprocServer32"));
    EXPECT_EQ(t.Get("CLSID\\{A}X"), "neighbour with the same prefix");
    EXPECT_EQ(t.Get("CLSID\\{B}"), "b");
    EXPECT_FALSE(t.DeleteTree("CLSID\\{A}"));
}

TEST(RegistryEdit, RewritesTheWholeFileAndLeavesNoTemporaryFile) {
    testsupport::Sandbox sandbox;
    ASSERT_EQ(com::EditRegistry([](com::RegistryTree& t) {
                  t.Set("Key", "@", "one");
                  return com::S_OK;
              }),
              com::S_OK);
    ASSERT_EQ(com::EditRegistry([](com::RegistryTree& t) {
                  t.Set("Other", "Name", "two");
                  return com::S_OK;
              }),
              com::S_OK);
    const auto t = com::ReadRegistry();
    EXPECT_EQ(t.Get("Key"), "one");
    EXPECT_EQ(t.Get("Other", "Name"), "two");
    for (const auto& e : std::filesystem::directory_iterator(sandbox.Root()))
        EXPECT_TRUE(e.is_directory() || e.path().filename() == "registry.ini" ||
                    e.path().filename() == "registry.ini.lock")
            << e.path();
}

// A registration file kept elsewhere (say, with the user's other settings) and
// linked into place stays linked.
TEST(RegistryEdit, ALinkedFileIsWrittenWhereItLiesAndStaysLinked) {
    testsupport::Sandbox sandbox;
    std::filesystem::create_directories(sandbox.Root() / "dotfiles");
    const auto real = sandbox.Root() / "dotfiles" / "registry.ini";
    testsupport::WriteFile(real, "[Old]\n@=kept\n");
    std::filesystem::create_symlink(real, sandbox.RegistryFile());
    ASSERT_EQ(com::EditRegistry([](com::RegistryTree& t) {
                  t.Set("Key", "@", "new");
                  return com::S_OK;
              }),
              com::S_OK);
    EXPECT_TRUE(std::filesystem::is_symlink(sandbox.RegistryFile()));
    const auto t = com::RegistryTree::Parse(testsupport::ReadFile(real));
    EXPECT_EQ(t.Get("Old"), "kept");
    EXPECT_EQ(t.Get("Key"), "new");
}

TEST(RegistryEdit, AFailingEditLeavesTheFileAsItWas) {
    testsupport::Sandbox sandbox;
    com::EditRegistry([](com::RegistryTree& t) {
        t.Set("Key", "@", "kept");
        return com::S_OK;
    });
    const std::string before = sandbox.ReadRegistryFile();
    EXPECT_EQ(com::EditRegistry([](com::RegistryTree& t) {
                  t.DeleteTree("Key");
                  return com::E_FAIL;
              }),
              com::E_FAIL);
    EXPECT_EQ(sandbox.ReadRegistryFile(), before);
}

TEST(RegistryEdit, AnUnwritableFolderIsReportedNotIgnored) {
    testsupport::Sandbox sandbox;
    std::ofstream(sandbox.Root() / "file") << "x";
    sandbox.Env().Set("BELMORA_REGISTRY", (sandbox.Root() / "file" / "registry.ini").string());
    EXPECT_EQ(com::EditRegistry([](com::RegistryTree& t) {
                  t.Set("Key", "@", "v");
                  return com::S_OK;
              }),
              com::REGDB_E_WRITEREGDB);
}

// A library description of two classes and one interface, to register and
// unregister without loading anything.
const com::GUID kLib = com::MakeGuid("{11111111-2222-3333-4444-555555555555}");
const com::GUID kItf = com::MakeGuid("{11111111-2222-3333-4444-666666666666}");
const com::GUID kClassA = com::MakeGuid("{11111111-2222-3333-4444-777777777777}");
const com::GUID kClassB = com::MakeGuid("{11111111-2222-3333-4444-888888888888}");
const com::InterfaceDesc kInterfaces[] = {{"_A", kItf, &com::IID_IDispatch, 0, 0, nullptr}};
const com::CoClassDesc kClasses[] = {{"A", kClassA, com::TYPEFLAG_FCANCREATE, "", &kItf, nullptr},
                                     {"B", kClassB, com::TYPEFLAG_FCANCREATE, "", &kItf, nullptr}};
const com::TypeLibDesc kTypeLib = {"lib", "Lib 2", kLib, 2, 1, 0, com::SYS_WIN32, 0, nullptr, 1, kInterfaces, 2,
                                   kClasses};

TEST(ServerRegistration, WritesEveryClassTheInterfacesAndTheLibraryAndRemovesExactlyThat) {
    testsupport::Sandbox sandbox;
    com::EditRegistry([](com::RegistryTree& t) {
        t.Set("CLSID\\{99999999-2222-3333-4444-555555555555}\\InprocServer32", "@", "/other/lib.so");
        t.Set("TypeLib\\{11111111-2222-3333-4444-555555555555}\\1.0", "@", "older version of the library");
        return com::S_OK;
    });
    const std::string before = sandbox.ReadRegistryFile();

    ASSERT_EQ(com::RegisterServer(kTypeLib, "/opt/x/liblib.so", "Apartment"), com::S_OK);
    EXPECT_EQ(com::InprocServerPath(kClassA), "/opt/x/liblib.so");
    EXPECT_EQ(com::InprocServerPath(kClassB), "/opt/x/liblib.so");
    const auto t = com::ReadRegistry();
    EXPECT_EQ(t.Get("CLSID\\{11111111-2222-3333-4444-777777777777}\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(t.Get("CLSID\\{11111111-2222-3333-4444-777777777777}\\TypeLib"), com::FormatGuid(kLib));
    EXPECT_EQ(t.Get("Interface\\{11111111-2222-3333-4444-666666666666}"), "_A");
    EXPECT_EQ(t.Get("Interface\\{11111111-2222-3333-4444-666666666666}\\TypeLib", "Version"), "2.1");
    EXPECT_EQ(t.Get("TypeLib\\{11111111-2222-3333-4444-555555555555}\\2.1"), "Lib 2");
    EXPECT_EQ(com::RegisteredTypeLibPath(kLib, 2, 1), "/opt/x/liblib.so");

    ASSERT_EQ(com::UnregisterServer(kTypeLib), com::S_OK);
    EXPECT_FALSE(com::InprocServerPath(kClassA));
    EXPECT_EQ(sandbox.ReadRegistryFile(), before);
}

TEST(ServerRegistration, APathWithALineBreakIsRefusedAndWritesNothing) {
    testsupport::Sandbox sandbox;
    EXPECT_EQ(com::RegisterServer(kTypeLib, "/opt/x\n[CLSID]/lib.so", "Apartment"), com::SELFREG_E_CLASS);
    EXPECT_TRUE(com::ReadRegistry().Empty());
}

}  // namespace
