// Checks and messages of the song store that more than one command makes alike.
#pragma once

#include <string>

#include "platform/vb/runtime_error.h"

// Whether the workbook just opened for a song is the lookup workbook itself,
// which is open beside any song and must stay as it is (taken for a song it
// would be saved over and closed). When it is, the user is told that it
// cannot be used to `cinnost` ("otevřít jako písničku"), under `titulek`.
bool JeVybranReadOnly(const std::string& cinnost, const std::string& titulek);

// Saving into the song folder failed (error 1004 of the spreadsheet): the
// folder is missing and the user is asked to make it by hand.
void OznamChybejiciAdresar();

// A song that could not be saved into the song folder (error 1004 of the
// spreadsheet): only a folder that is missing gets the message above; any
// other cause (a full disk, a file in the way) is named with the file, as
// OznamChybuSouboru does.
void OznamChybuUlozeniDoSlozky(const vb::RuntimeError& chyba, const std::string& dovetek, const std::string& titulek);

// The spreadsheet is gone (error 91): the song could not be saved.
void OznamZavrenyExcel();

// A song file that could not be written or read, for a cause the program
// knows: the box names the file and the cause (the description of the
// spreadsheet's error names both), says what follows (`dovetek`), and keeps
// the error number under them, as the program's numbered boxes always did.
// Critical icon, title `titulek`.
void OznamChybuSouboru(const std::string& pricina, int cislo, const std::string& dovetek, const std::string& titulek);
void OznamChybuSouboru(const vb::RuntimeError& chyba, const std::string& dovetek, const std::string& titulek);
