// Renders a form, menu bar included, to a PNG file so its design can be
// looked at (works offscreen: the window need not be shown).
#pragma once

#include <string>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>

#include "platform/forms/form.h"

namespace form1_test {

// Returns whether the file was written.
inline bool RenderToPng(forms::Form& form, const std::string& path) {
    QMainWindow* window = form.Widget();
    window->ensurePolished();
    QApplication::processEvents();
    const QPixmap shot = window->grab();
    return !shot.isNull() && shot.save(QString::fromStdString(path), "PNG");
}

}  // namespace form1_test
