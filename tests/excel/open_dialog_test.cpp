// The program's open dialog (Qt's file dialog, offscreen), driven as the user
// does: a name typed into it and accepted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/excel/file_dialog.h"
#include "tests/support/qt_app.h"
#include "tests/support/temp_env.h"

namespace xl {
FileDialogService& QtFileDialogService();  // the dialog the program shows
}

namespace {

namespace fs = std::filesystem;

struct Outcome {
    std::optional<std::string> chosen;
    QString box;  // the text of a box the dialog showed itself, if any
};

// Opens the dialog on `folder`, types `name` and accepts it; a box the dialog
// shows is read and closed, and the dialog then cancelled. A dialog that
// neither closes nor shows a box within seconds is cancelled too.
Outcome TypeAndAccept(const fs::path& folder, const std::string& name) {
    forms_test::App();
    Outcome out;
    QPointer<QFileDialog> dialog;
    bool typed = false;
    int ticks = 0;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!dialog) dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) return;
        if (!typed) {
            // Typed into the name field, as the user does, and accepted.
            auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
            if (!field) return;
            field->setText(QString::fromStdString(name));
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            typed = true;
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            out.box = box->text();
            box->done(QMessageBox::Ok);
            dialog->reject();
        } else if (++ticks > 250 && dialog->isVisible()) {
            dialog->reject();
        }
    });
    watch.start();
    out.chosen = xl::QtFileDialogService().GetOpenFileName({{"Excel Files", {"*.xls"}}}, "Otevřít", folder.string());
    watch.stop();
    return out;
}

TEST(OpenDialogTest, ALinkThatLeadsToNoFileIsHandedToTheProgramToSayWhy) {
    // The dialog keeps its history in the settings folder: a temporary one.
    testsupport::Sandbox sandbox(testsupport::Sandbox::Home::DriveC, "belmora-open-dialog");
    const fs::path dir = sandbox.C();
    fs::create_symlink("smycka.xls", dir / "smycka.xls");
    fs::create_symlink("chybi.xls", dir / "odkaz.xls");
    testsupport::WriteFile(dir / "pisen.xls", "sešit");

    for (const char* name : {"smycka.xls", "odkaz.xls", "pisen.xls"}) {
        SCOPED_TRACE(name);
        const Outcome out = TypeAndAccept(dir, name);
        EXPECT_EQ(out.box.toStdString(), "");
        EXPECT_EQ(out.chosen, (dir / name).string());
    }

    // A name that is not there at all is still the dialog's own to refuse.
    const Outcome missing = TypeAndAccept(dir, "nic.xls");
    EXPECT_EQ(missing.chosen, std::nullopt);
    EXPECT_TRUE(missing.box.contains("nic.xls")) << missing.box.toStdString();
}

}  // namespace
