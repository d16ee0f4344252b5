// Opening a workbook the user chose to be used as a song, as every command
// that takes one does it.
#pragma once

#include <string>

// Opens the workbook `Soubor` (a path as the open dialog gives it) to
// `cinnost` ("otevřít jako písničku", "konvertovat"); it is then the active
// workbook. False after a box titled `titulek` when it cannot be opened (the
// spreadsheet's error 1004 names the file and the cause) or when it is the
// lookup workbook, which stays open as it was. Any other failure reaches the
// caller.
bool OtevriSesitPisne(const std::string& Soubor, const std::string& cinnost, const std::string& titulek);
