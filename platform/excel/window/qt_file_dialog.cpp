// The open dialog of the program: a Qt file dialog.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "platform/excel/file_dialog.h"

namespace xl {

namespace {

// Qt's dialog takes a symbolic link that leads to no file (round to itself,
// or to a file that is gone) for a name that does not exist, and says only
// that it cannot be found. Such a name is handed to the program instead,
// which says why it cannot be opened; the dialog lists such links too.
class OpenDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

protected:
    void accept() override {
        const QStringList files = selectedFiles();
        if (files.size() == 1) {
            const QFileInfo chosen(files.front());
            if (chosen.isSymLink() && !chosen.exists()) return QDialog::accept();
        }
        QFileDialog::accept();
    }
};

class QtFileDialogs : public FileDialogService {
public:
    std::optional<std::string> GetOpenFileName(const std::vector<FileFilter>& filters, const std::string& title,
                                               const std::string& folder) override {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return std::nullopt;
        QStringList names;
        for (const FileFilter& f : filters) {
            QStringList patterns;
            for (const std::string& p : f.patterns) patterns << QString::fromStdString(p);
            names << QString::fromStdString(f.description) + " (" + patterns.join(' ') + ")";
        }
        OpenDialog dialog(nullptr, QString::fromStdString(title), QString::fromStdString(folder), names.join(";;"));
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setFilter(dialog.filter() | QDir::System);
        if (dialog.exec() != QDialog::Accepted) return std::nullopt;
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
        return chosen.front().toStdString();
    }
};

}  // namespace

FileDialogService& QtFileDialogService() {
    static QtFileDialogs service;
    return service;
}

}  // namespace xl
