// The connection to the spreadsheet for the whole run: the application
// object, the names of the two open workbooks (the lookup workbook
// read_only.xls and at most one song), the default folder to put back at
// exit, and the switching between the two workbook windows.
//
// The window routines of the connection (NastavLadeni, VyberSloupecB,
// UkonciExcel) belong to Form1 (mainwindow/excel_connection.cpp); the module
// knows the window only through the controls it is handed.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/excel/application.h"
#include "platform/forms/controls.h"
#include "platform/vb/variant.h"

// The working spreadsheet instance; not set before SpustExcel and after the shutdown.
extern std::shared_ptr<xl::Application> ExcelAplikace;
// The name under which the spreadsheet knows the lookup workbook ("read_only.xls").
extern std::string NazevReadOnly;
// The name of the open song workbook with its ".xls"; "" while no song is open.
extern std::string AktualniPisen;
// Written back into the spreadsheet's DefaultFilePath at exit.
extern std::string StaraCesta;

// The folder of the songs.
inline constexpr const char* PracovniAdresar = "C:\\Dokumenty\\Dovozivuz\\Belmora";

// Starts the connection: reads and changes the default folder on a first
// instance, keeps a second one visible, opens read_only.xls from the program
// folder (read-only: it is the program's own data) and selects its sheet
// "Calvira12"; gives that sheet's name, which the main window shows. The
// user's closes of workbook windows are answered by ZavreniOknaSesitu
// (store/okna_sesitu.h). A failure is reported and ends the program at once.
std::string SpustExcel();

// Activates the song's window: True, or Empty without a message when the
// song is not open (this is also the test whether it is still open).
vb::Variant AktivujPisen();
// Activates the lookup workbook's window: True, or Empty after a message.
vb::Variant AktivujReadOnly();

// Fills the main window's Combo1 with the names of the song's sheets in
// workbook order (it does not clear the list first: callers hand it an empty
// one) and comes back to the sheet that was active, which lblLadeni and the
// combo's text then name. Failures (a sheet that cannot be selected, no
// spreadsheet) reach the caller.
void NactiListy(forms::ComboBox& Combo1, forms::Label& lblLadeni);

// The spreadsheet instance, or runtime error 91 when it is not set, as the
// use of an object variable that holds nothing.
xl::Application& Excel();

// Ending the program at once (VB's End): no unload handler runs. The
// program's own ending releases the spreadsheet with its windows and the
// shared forms while the window system still runs, then exits the process
// with `exitCode`; tests install a hook of their own (which must not return
// normally, e.g. it throws) to watch it happen.
namespace program {
using EndHook = std::function<void(int exitCode)>;
// Installs `hook` in place of exiting; returns the previous one (empty: exit).
EndHook SetEndHook(EndHook hook);
[[noreturn]] void End(int exitCode);
// What every way of ending does before the process goes: the spreadsheet and
// its windows, and the shared forms, let go of.
void Release();
}  // namespace program
