// The workbook windows as the user sees them, for tests of the program: the
// window of an open workbook, and the user closing it (its close button or
// Alt+F4 ask the window to close just so).
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <string>

#include "platform/excel/application.h"
#include "platform/excel/internal/engine.h"
#include "platform/excel/internal/workbook_window.h"

namespace testsupport {

// The window of the open workbook `name`; null when there is none.
inline xl::window::WorkbookWindow* WorkbookWindowOf(xl::Application& app, const std::string& name) {
    auto* host = dynamic_cast<xl::window::QtWindowHost*>(app.Engine().windows.get());
    const xl::engine::BookData* book = xl::engine::FindBook(app.Engine(), name);
    return host && book ? host->WindowOf(*book) : nullptr;
}

// The user closes the window of the open workbook `name`; what the window
// leaves for later (a window let go of) is done before this returns.
inline void CloseAsTheUser(xl::Application& app, const std::string& name) {
    xl::window::WorkbookWindow* w = WorkbookWindowOf(app, name);
    ASSERT_NE(w, nullptr) << "no window of " << name;
    ASSERT_TRUE(w->isVisible()) << name;
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace testsupport
