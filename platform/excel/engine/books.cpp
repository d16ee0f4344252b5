// Opening, adding, saving and closing workbooks.
#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "platform/excel/application.h"
#include "platform/excel/internal/engine.h"
#include "platform/xls/xls_io.h"
#include "platform/msgbox/msgbox.h"
#include "platform/paths/paths.h"
#include "platform/safe_file/safe_file.h"

namespace fs = std::filesystem;

namespace xl::engine {

namespace {

std::string FileNameOf(const std::string& nativePath) { return fs::path(nativePath).filename().string(); }

void NotFound(const std::string& shownPath) {
    Fail1004("Soubor " + shownPath +
             " nebyl nalezen. Zkontrolujte, zda nebyl přejmenován, přesunut nebo odstraněn, a zda je název "
             "zapsán správně.");
}

std::shared_ptr<BookData> NewBook(AppData& app, std::string name) {
    auto book = std::make_shared<BookData>();
    book->name = std::move(name);
    book->app = &app;
    return book;
}

void Register(AppData& app, const std::shared_ptr<BookData>& book) {
    app.books.push_back(book);
    app.recent.push_back(book.get());
    if (app.windows) app.windows->BookOpened(*book);
}

// A workbook is read only from a regular file: a folder or a pipe of that
// name is there, but is no file (and a pipe would keep the reader waiting).
// A link that leads round to itself is there too, but leads to no file.
void RequireFile(const std::optional<std::string>& native, const std::string& shownPath) {
    std::error_code ec;
    if (!native) NotFound(shownPath);
    const fs::file_status st = fs::status(*native, ec);
    if (ec.value() == ELOOP)
        Fail1004("Soubor " + shownPath +
                 " nelze otevřít: je to symbolický odkaz, který vede sám na sebe (příliš mnoho úrovní symbolických "
                 "odkazů).");
    if (!fs::exists(st)) NotFound(shownPath);
    if (fs::is_directory(st)) Fail1004("Soubor " + shownPath + " nelze otevřít: je to složka, ne soubor.");
    if (!fs::is_regular_file(st))
        Fail1004("Soubor " + shownPath + " nelze otevřít: není to soubor, ale roura, zařízení nebo socket.");
}

// LibreOffice has the file open: its lock file lies beside it.
std::string OpenInLibreOffice(const std::string& nativePath, const std::string& shown) {
    const auto owner = sys::LibreOfficeLockOwner(nativePath);
    if (!owner) return {};
    return "Soubor " + shown + " je otevřen v LibreOffice" + (owner->empty() ? "" : " (uživatel " + *owner + ")") +
           ". Dokud je otevřen tam, nelze ho zde otevřít k zápisu ani přepsat: změny by se navzájem přepsaly. "
           "Zavřete ho v LibreOffice; neběží-li LibreOffice, zůstal po něm ve složce souboru zámek .~lock." +
           FileNameOf(nativePath) + "#, který lze smazat.";
}

std::string OpenInAnotherWindow(const std::string& shown) {
    return "Soubor " + shown +
           " je již otevřen k zápisu v jiném okně programu. Dokud je otevřen tam, nelze ho zde otevřít k zápisu ani "
           "přepsat: změny by se navzájem přepsaly. Zavřete ho nejprve tam.";
}

// The lock of the file a workbook opened for writing keeps; 1004 when the
// file is open for writing elsewhere. A file that cannot be locked (no locks
// on its file system) opens unlocked.
sys::FileLock LockForWriting(const std::string& nativePath, const std::string& shownPath) {
    if (const std::string why = OpenInLibreOffice(nativePath, shownPath); !why.empty()) Fail1004(why);
    sys::FileLock lock;
    if (lock.Take(nativePath) == sys::FileLock::Outcome::HeldElsewhere) Fail1004(OpenInAnotherWindow(shownPath));
    return lock;
}

// The folder a file is saved into must be there.
void RequireFolder(const std::string& nativePath, const std::string& shownPath) {
    std::error_code ec;
    const fs::path parent = fs::path(nativePath).parent_path();
    if (!parent.empty() && !fs::is_directory(parent, ec))
        Fail1004("Soubor " + shownPath + " nelze uložit: cesta " + sys::ToWindowsPath(parent.string()) +
                 " neexistuje.");
}

// Writes the workbook's sheets to a file; the sheets are lent to the writer
// and taken back whatever happens. A workbook open for writing keeps its
// file locked: the lock moves onto the new file before it replaces the old.
void WriteTo(BookData& book, const std::string& nativePath, const std::string& shownPath) {
    RequireFolder(nativePath, shownPath);
    internal::Book out;
    out.activeSheet = book.activeSheet;
    out.sheets.reserve(book.sheets.size());
    for (auto& sh : book.sheets) out.sheets.push_back(std::move(sh->s));
    struct GiveBack {
        BookData& book;
        internal::Book& out;
        ~GiveBack() {
            for (std::size_t i = 0; i < book.sheets.size(); ++i) book.sheets[i]->s = std::move(out.sheets[i]);
        }
    } giveBack{book, out};
    sys::FileLock newLock;
    try {
        internal::WriteXlsFile(out, nativePath, [&](int fd) {
            if (!book.readOnly) newLock.Adopt(fd);
        });
    } catch (const internal::XlsError& e) {
        Fail1004(e.what());
    } catch (const std::exception& e) {
        Fail1004("Soubor " + shownPath + " nelze uložit: " + e.what());
    }
    book.lock = std::move(newLock);
}

// A workbook opened read-only is not saved over the file it came from.
void RefuseReadOnly(const BookData& book, const std::string& nativeTarget) {
    std::error_code ec;
    if (book.readOnly && !book.path.empty() && (nativeTarget == book.path || fs::equivalent(nativeTarget, book.path, ec)))
        Fail1004("Sešit " + book.name + " je otevřen jen pro čtení a nelze jej uložit pod stejným názvem.");
}

}  // namespace

BookData* FindBook(const AppData& app, const std::string& name) {
    const std::string folded = Fold(name);
    for (const auto& b : app.books)
        if (Fold(b->name) == folded) return b.get();
    return nullptr;
}

std::string OpenElsewhere(const std::string& nativePath, const std::string& shown) {
    if (std::string why = OpenInLibreOffice(nativePath, shown); !why.empty()) return why;
    if (sys::FileLock::HeldElsewhere(nativePath)) return OpenInAnotherWindow(shown);
    return {};
}

BookData& OpenBook(AppData& app, const std::string& windowsPath, bool readOnly) {
    const auto native = sys::ToNativePath(windowsPath);
    // Messages name the file as the program shows it, however it was given.
    const std::string shown = native ? sys::ToWindowsPath(*native) : windowsPath;
    std::error_code ec;
    RequireFile(native, shown);
    for (const auto& b : app.books)
        if (!b->path.empty() && fs::equivalent(b->path, *native, ec)) {
            ActivateBook(app, *b);
            return *b;
        }
    const std::string name = FileNameOf(*native);
    if (FindBook(app, name))
        Fail1004("Sešit s názvem " + name +
                 " je již otevřen. Dva sešity se stejným názvem nelze mít otevřené současně.");
    sys::FileLock lock;
    if (!readOnly) lock = LockForWriting(*native, shown);
    internal::Book read;
    try {
        read = internal::ReadXlsFile(*native);
    } catch (const internal::XlsError& e) {
        Fail1004(e.what());
    } catch (const std::exception& e) {
        Fail1004("Soubor " + shown + " nelze přečíst: " + e.what());
    }
    if (read.sheets.empty()) Fail1004("Soubor " + shown + " neobsahuje žádný list.");
    auto book = NewBook(app, name);
    book->path = *native;
    book->readOnly = readOnly;
    book->lock = std::move(lock);
    for (auto& s : read.sheets) {
        auto sh = std::make_shared<SheetData>();
        sh->s = std::move(s);
        sh->book = book.get();
        book->sheets.push_back(std::move(sh));
    }
    book->activeSheet = std::clamp(read.activeSheet, 0, static_cast<int>(book->sheets.size()) - 1);
    Register(app, book);
    return *book;
}

BookData& AddBook(AppData& app) {
    auto book = NewBook(app, "Sešit" + std::to_string(app.nextNewBook++));
    for (int i = 1; i <= 3; ++i) {
        auto sh = std::make_shared<SheetData>();
        sh->s.name = "List" + std::to_string(i);
        sh->book = book.get();
        book->sheets.push_back(std::move(sh));
    }
    Register(app, book);
    return *book;
}

void ActivateBook(AppData& app, BookData& book) {
    auto it = std::find(app.recent.begin(), app.recent.end(), &book);
    if (it != app.recent.end()) app.recent.erase(it);
    app.recent.push_back(&book);
}

void SaveBook(BookData& book) {
    RefuseReadOnly(book, book.path);
    if (book.path.empty()) {
        // A workbook never saved goes into the default folder under its own name.
        const std::string folder = book.app ? DefaultFolderNative(*book.app) : std::string();
        return SaveBookAs(book, (fs::path(folder) / (book.name + ".xls")).string());
    }
    WriteTo(book, book.path, sys::ToWindowsPath(book.path));
    book.saved = true;
}

void SaveBookAs(BookData& book, const std::string& windowsPath) {
    std::optional<std::string> native;
    if (windowsPath.find_first_of(":\\/") == std::string::npos) {
        // A bare file name lies in the default folder.
        if (book.app) native = (fs::path(DefaultFolderNative(*book.app)) / windowsPath).string();
    } else {
        native = sys::ToNativePath(windowsPath);
    }
    if (!native || windowsPath.empty())
        Fail1004("Soubor " + windowsPath + " nelze uložit: cesta nebyla nalezena.");
    if (fs::path(*native).extension().empty()) *native += ".xls";
    RefuseReadOnly(book, *native);
    const std::string shown = sys::ToWindowsPath(*native);
    const std::string name = FileNameOf(*native);
    if (book.app)
        if (BookData* other = FindBook(*book.app, name); other && other != &book)
            Fail1004("Sešit nelze uložit pod názvem " + name +
                     ", protože sešit stejného názvu je otevřen. Zavřete jej nebo zvolte jiný název.");
    // Another file: one that is open for writing elsewhere is not saved over.
    std::error_code ec;
    if (!book.readOnly && !(!book.path.empty() && fs::equivalent(*native, book.path, ec)))
        if (const std::string why = OpenElsewhere(*native, shown); !why.empty()) Fail1004(why);
    WriteTo(book, *native, shown);
    book.path = *native;
    book.saved = true;
    if (book.name != name) {
        book.name = name;
        const auto observers = book.observers;
        for (BookObserver* o : observers) o->NameChanged();
    }
}

void CheckSaveAs(const std::string& windowsPath) {
    const auto native = sys::ToNativePath(windowsPath);
    if (!native || windowsPath.empty()) Fail1004("Soubor " + windowsPath + " nelze uložit: cesta nebyla nalezena.");
    RequireFolder(*native, sys::ToWindowsPath(*native));
    if (const sys::SaveFailure obstacle = sys::SaveObstacle(*native); obstacle != sys::SaveFailure::None)
        Fail1004(internal::SaveFailureText(obstacle, *native));
}

void CloseBook(BookData& bookRef) {
    AppData* app = bookRef.app;
    if (!app) return;
    std::shared_ptr<BookData> keep;
    for (const auto& b : app->books)
        if (b.get() == &bookRef) keep = b;
    if (!keep) return;
    if (app->windows) app->windows->BookClosed(bookRef);
    app->books.erase(std::find(app->books.begin(), app->books.end(), keep));
    app->recent.erase(std::remove(app->recent.begin(), app->recent.end(), &bookRef), app->recent.end());
    bookRef.lock.Release();
    for (auto& sh : bookRef.sheets) sh->book = nullptr;
    bookRef.app = nullptr;
    bookRef.observers.clear();
}

UserClose AskUserClose(BookData& book) {
    if (!book.app || !book.app->userClose) return UserClose::Close;
    // A copy: the hook may close the workbook, and its name goes with it.
    const std::string name = book.name;
    // And of the hook, which may be replaced while it runs.
    const UserCloseHook hook = book.app->userClose;
    return hook(name);
}

bool AskSaveBeforeClose(BookData& book, bool allowCancel) {
    if (book.saved || book.readOnly) return true;
    const int answer = forms::MsgBox("Chcete uložit změny provedené v souboru " + book.name + "?",
                                     (allowCancel ? forms::vbYesNoCancel : forms::vbYesNo) | forms::vbExclamation,
                                     kErrorSource);
    if (answer == forms::vbCancel) return false;
    if (answer == forms::vbYes) SaveBook(book);
    return true;
}

}  // namespace xl::engine
