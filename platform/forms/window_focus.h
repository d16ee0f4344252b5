// The keyboard focus of the windows that come up over the program.
//
// A window the program brings up is where the user's keys go next, whoever
// made it: the window manager may map it only after a turn or two of the
// event loop and need not give it the focus on its own (as while the window
// that opened it is hidden), or give it to another window of the program.
//
// - A modal window (the program's message and input boxes, the modal forms,
//   and Qt's own dialogs with the boxes they raise themselves, such as the
//   open dialog's "not found" warning) keeps the focus for as long as it is
//   the topmost modal window.
// - A form shown modeless takes the focus as it comes up and is then left to
//   the user.
//
// The watch covers the whole application; the forms layer starts it with
// its first form and its first box.
#pragma once

class QWidget;

namespace forms {

// Starts watching the application's windows (once; later calls do nothing).
void WatchWindowFocus();

// `window` takes the focus whenever it is shown, also when it is not modal.
void TakeFocusWhenShown(QWidget& window);

}  // namespace forms
