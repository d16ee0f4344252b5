// The open dialog of the program: a Qt file dialog.
#include <QApplication>
#include <QFileDialog>
#include <QStringList>

#include "platform/excel/file_dialog.h"

namespace xl {

namespace {

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
        const QString chosen = QFileDialog::getOpenFileName(nullptr, QString::fromStdString(title),
                                                            QString::fromStdString(folder), names.join(";;"));
        if (chosen.isEmpty()) return std::nullopt;
        return chosen.toStdString();
    }
};

}  // namespace

FileDialogService& QtFileDialogService() {
    static QtFileDialogs service;
    return service;
}

}  // namespace xl
