// Reading an Excel 97 file into a Book: libgsf opens the compound file and our
// bounds-checked record scan reads the Workbook stream. (freexl is not used
// here: it crashes on damaged files; the tests use it as a reference reader.)
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>
#include <gsf/gsf-utils.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <mutex>
#include <span>
#include <string_view>

#include "platform/xls/xls_io.h"
#include "platform/xls/internal/xls_scan.h"
#include "platform/paths/paths.h"

namespace xl::internal {

namespace {


// A failure of the bytes, worded for the user by the caller who knows the file name.
struct BadBytes {
    std::string why;
};

const char* const kNotExcel97 = "není platný sešit aplikace Excel 97";
const char* const kTooLarge = "je větší než 64 MB a nelze ho otevřít";

void Quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// libgsf logs every flaw of a damaged compound file to stderr; the user gets our
// message instead.
void InitGsf() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        g_log_set_handler("libgsf:msole", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL),
                          Quiet, nullptr);
    });
}

// Bytes read into room that was not zero-filled first (a song can be 10 MB).
struct Bytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
    std::span<const std::uint8_t> view() const { return {data.get(), size}; }
};

// The Workbook stream of the compound file.
Bytes WorkbookStream(std::string_view bytes) {
    InitGsf();
    GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                           static_cast<gsf_off_t>(bytes.size()), FALSE);
    if (!input) throw BadBytes{kNotExcel97};
    GError* err = nullptr;
    GsfInfile* ole = gsf_infile_msole_new(input, &err);
    g_object_unref(input);
    if (err) g_error_free(err);
    if (!ole) throw BadBytes{kNotExcel97};
    GsfInput* stream = gsf_infile_child_by_name(ole, "Workbook");
    bool older = false;
    if (!stream) {
        stream = gsf_infile_child_by_name(ole, "Book");
        older = stream != nullptr;
    }
    Bytes data;
    bool ok = stream != nullptr && !older;
    if (ok) {
        const gsf_off_t size = gsf_input_size(stream);
        // The stream lies in the file's own sectors: a larger size is a lie of a damaged file.
        ok = size > 0 && static_cast<std::uint64_t>(size) <= bytes.size();
        if (ok) {
            data.size = static_cast<std::size_t>(size);
            data.data = std::make_unique_for_overwrite<std::uint8_t[]>(data.size);
            ok = gsf_input_read(stream, data.size, data.data.get()) != nullptr;
        }
    }
    if (stream) g_object_unref(stream);
    g_object_unref(ole);
    if (older) throw BadBytes{"je ve starším formátu, než je Excel 97"};
    if (!ok) throw BadBytes{kNotExcel97};
    return data;
}

Book BuildBook(ScannedBook& scan) {
    Book book;
    std::vector<int> bookIndexOfTab(scan.sheets.size(), -1);
    for (std::size_t i = 0; i < scan.sheets.size(); ++i) {
        ScannedSheet& ss = scan.sheets[i];
        if (!ss.isWorksheet) continue;  // charts, macro and module sheets
        bookIndexOfTab[i] = static_cast<int>(book.sheets.size());
        book.sheets.push_back(std::move(ss.sheet));
    }
    if (book.sheets.empty()) throw BadBytes{"neobsahuje žádný list"};
    // The shown tab from WINDOW1, else the sheet whose window says it is shown.
    int tab = scan.activeTab;
    if (tab < 0 || tab >= static_cast<int>(scan.sheets.size()) || bookIndexOfTab[tab] < 0) {
        tab = -1;
        for (std::size_t i = 0; i < scan.sheets.size() && tab < 0; ++i)
            if (scan.sheets[i].shown && bookIndexOfTab[i] >= 0) tab = static_cast<int>(i);
    }
    book.activeSheet = tab < 0 ? 0 : bookIndexOfTab[tab];
    return book;
}

void CheckSize(std::string_view bytes) {
    if (bytes.empty()) throw BadBytes{"je prázdný"};
    if (bytes.size() > kMaxFileSize) throw BadBytes{kTooLarge};
}

// The book in a Workbook stream.
Book ReadStream(std::span<const std::uint8_t> stream) {
    ScannedBook scan;
    switch (ScanWorkbookStream(stream, scan)) {
        case ScanFailure::None: break;
        case ScanFailure::NotBiff8: throw BadBytes{"je ve starším formátu, než je Excel 97"};
        case ScanFailure::Encrypted: throw BadBytes{"je chráněný heslem"};
        case ScanFailure::Damaged: throw BadBytes{"je poškozený a nelze ho načíst"};
    }
    return BuildBook(scan);
}

}  // namespace

std::string ShownPath(const std::string& path) { return "„" + sys::ToWindowsPath(path) + "“"; }

Book ReadXlsBytes(const std::string& bytes) {
    try {
        CheckSize(bytes);
        return ReadStream(WorkbookStream(bytes).view());
    } catch (const BadBytes& e) {
        throw XlsError("Soubor " + e.why + ".");
    }
}

Book ReadXlsFile(const std::string& path) {
    const std::string shown = ShownPath(path);
    // The whole file in one read, once its size is known to be one of a song.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) ::close(fd);
        throw XlsError("Soubor " + shown + " nelze otevřít.");
    }
    if (static_cast<std::uint64_t>(st.st_size) > kMaxFileSize) {
        ::close(fd);
        throw XlsError("Soubor " + shown + " " + kTooLarge + ".");
    }
    // The file is read once, into room that is not zero-filled first.
    const auto size = static_cast<std::size_t>(st.st_size);
    auto bytes = std::make_unique_for_overwrite<char[]>(size);
    std::size_t done = 0;
    bool bad = false;
    while (done < size) {
        const ssize_t n = ::read(fd, bytes.get() + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) bad = true;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (bad) throw XlsError("Soubor " + shown + " nelze přečíst.");
    try {
        // A file that shrank while read is read as it is.
        CheckSize(std::string_view(bytes.get(), done));
        const Bytes stream = WorkbookStream(std::string_view(bytes.get(), done));
        bytes.reset();  // the file's bytes are not needed while its cells are read
        return ReadStream(stream.view());
    } catch (const BadBytes& e) {
        throw XlsError("Soubor " + shown + " " + e.why + ".");
    }
}

}  // namespace xl::internal
