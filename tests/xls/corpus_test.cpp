// Every input the fuzzer kept (corpus/kept) and every input that crashed an
// earlier reader (corpus/crashes) is read again: it loads or raises XlsError
// with a message, and nothing else happens. The inputs are stored gzipped.
#include <gsf/gsf-input-gzip.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/xls/xls_io.h"
#include "test_support.h"

using namespace xl::internal;
using namespace xlstest;

namespace {

std::string Gunzip(const std::filesystem::path& p) {
    gsf_init();
    GError* err = nullptr;
    GsfInput* file = gsf_input_stdio_new(p.c_str(), &err);
    if (!file) throw std::runtime_error("cannot open " + p.string());
    GsfInput* gz = gsf_input_gzip_new(file, &err);
    g_object_unref(file);
    if (!gz) throw std::runtime_error("not gzip: " + p.string());
    std::string out;
    guint8 buf[4096];
    for (;;) {
        const gsf_off_t left = gsf_input_remaining(gz);
        if (left <= 0) break;
        const auto n = static_cast<std::size_t>(std::min<gsf_off_t>(left, sizeof buf));
        if (!gsf_input_read(gz, n, buf)) break;
        out.append(reinterpret_cast<const char*>(buf), n);
    }
    g_object_unref(gz);
    return out;
}

}  // namespace

TEST(XlsFuzzCorpus, EveryInputLoadsOrFailsCleanly) {
    const auto dir = SourceDir() / "tests/xls/corpus";
    ASSERT_TRUE(std::filesystem::is_directory(dir));
    int inputs = 0, loaded = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".gz") continue;
        ++inputs;
        SCOPED_TRACE(entry.path().string());
        const std::string bytes = Gunzip(entry.path());
        ASSERT_FALSE(bytes.empty());
        try {
            const Book b = ReadXlsBytes(bytes);
            EXPECT_FALSE(b.sheets.empty());
            EXPECT_LT(b.activeSheet, static_cast<int>(b.sheets.size()));
            ++loaded;
        } catch (const XlsError& e) {
            EXPECT_EQ(0u, std::string(e.what()).rfind("Soubor ", 0)) << e.what();
        }
    }
    EXPECT_GT(inputs, 100);
    std::printf("%d inputs, %d loaded\n", inputs, loaded);
    EXPECT_GT(loaded, 0);
}

TEST(XlsFuzzCorpus, ForeignAndDamagedFilesGetACzechMessage) {
    TempDir dir;
    struct Case {
        std::string bytes;
        std::string message;
    };
    std::string ours = ReadFile(SourceDir() / "tests/fixtures/xls/song_lo.xls");
    const Case cases[] = {
        {"", "Soubor je prázdný."},
        {"PK\x03\x04 not a workbook", "Soubor není platný sešit aplikace Excel 97."},
        {ours.substr(0, 1024), "Soubor není platný sešit aplikace Excel 97."},
    };
    for (const auto& c : cases) {
        try {
            ReadXlsBytes(c.bytes);
            ADD_FAILURE() << "no error";
        } catch (const XlsError& e) {
            EXPECT_EQ(c.message, e.what());
        }
    }
    try {
        ReadXlsFile(dir.file("chybí.xls"));
        ADD_FAILURE() << "no error";
    } catch (const XlsError& e) {
        EXPECT_EQ("Soubor „" + dir.file("chybí.xls") + "“ nelze otevřít.", std::string(e.what()));
    }
}
