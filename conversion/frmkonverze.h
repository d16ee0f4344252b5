// frmKonverze: the dialog that converts the treble notes of a song into
// another major scale and saves the result as a new song in the song folder,
// named after the song and the target scale. It takes the song open in the
// main window, or one the user chooses. Where the song changes scale it asks
// the user, and can pause so that the rest goes into another target scale.
// Syllables, bellows directions and basses stay as they are; the fingering is
// cleared; column W gets the target scale. The result is written under its
// name only when the conversion ends, stops or pauses, and "Hotovo" is said
// once it is on disk.
//
// The dialog is modeless and topmost, one shared instance under its own name
// (`frmKonverze`), made afresh for every opening after it was closed. The
// opener hides the main window, fills in `Okno` and shows the dialog; closing
// it in any way saves the workbook it worked on and shows the main window
// again. The type is `class frmKonverze` where the instance hides its name.
#pragma once

#include <memory>
#include <string>

#include "conversion/clskonverze.h"
#include "conversion/okno.h"
#include "platform/excel/application.h"
#include "platform/forms/forms.h"
#include "platform/vb/runtime_error.h"

class frmKonverze : public forms::Form {
public:
    frmKonverze();
    ~frmKonverze() override;

    // What the main window lends the dialog; set by the opener before Show.
    OknoKonverze Okno;

    // Chooses the source song; shows the song's name and is disabled once
    // there is one.
    forms::CommandButton cmdVyberPisen{*this};
    forms::Label Label2{*this};
    // The source scale of the part being converted.
    forms::Label lblStupnice{*this};
    forms::Label Label1{*this};
    forms::Frame Frame1{*this};
    // The target scale: "C Dur" (0) ... "Ces Dur" (14); none chosen at first.
    forms::ControlArray<forms::OptionButton> optStupnice{"optStupnice"};
    // Lies under cmdGo and shows where cmdGo is hidden (a song that does not
    // say its scale).
    forms::Label lblKonec{*this};
    forms::CommandButton cmdGo{*this};
    // Shown at a pause only.
    forms::CommandButton cmdPokracovat{*this};
    forms::CommandButton cmdKonec{*this};
    // Not shown: the target chosen at a pause until the conversion resumes;
    // empty otherwise.
    forms::Label lblLadeni{*this};

    void cmdVyberPisen_Click();
    void cmdGo_Click();
    void cmdPokracovat_Click();
    void cmdKonec_Click();

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void InitializeComponent();
    clsKonverze& Konverze();
    // The caption of the first chosen target option; "" when none is.
    std::string ZvolenaStupnice() const;
    void PrvniPruchod();
    void PokracujPoPauze();
    // Converts the song cell by cell from the active cell into `cil`. With
    // `odPrevodu` the active cell is the first one of the row where the
    // conversion paused, and its scale has been settled already.
    void PrevadejBunky(const std::string& cil, bool odPrevodu);
    void Dokonci();
    // Activates the workbook being converted, whatever its name is now.
    void AktivujSesit();
    // Writes the workbook under the result's name (the first time) or saves
    // it again: true once it is on disk. A result that cannot be written
    // drops the conversion (ZahodKonverzi): false.
    bool ZapisVysledek();
    // Drops a conversion whose result cannot be written (`chyba` says why):
    // the workbook is closed unsaved, a part of the result written at a
    // pause is removed, the user is told, and a song of the main window is
    // opened again as the conversion found it (its file was saved when the
    // conversion began).
    void ZahodKonverzi(const vb::RuntimeError& chyba);
    // Closes the song workbook the dialog opened itself, saved when it has
    // changes; a save that fails is reported and the workbook closes unsaved.
    // No song is open afterwards.
    void ZavriVybranouPisen();
    // While the dialog is open, the song it works on (the source, which then
    // becomes the result) keeps its window: the user's close of it is
    // refused with a box that says why. True for that workbook.
    bool DrziSesit(const std::string& nazev);

    // A song was open in the main window as the dialog opened.
    bool PisenBylaOtevrena = false;
    // A save of the song failed and was reported: closing does not try again.
    bool ZapisSelhal = false;
    // The converted sheet's name before the conversion renamed it.
    std::string StaryNazevListu;
    // The conversion under way: its workbook (Nothing when none is under
    // way), the result's file as SaveAs takes it, whether the workbook has
    // been written as the result yet, and the song it was made from (its
    // name and its file).
    xl::Workbook Sesit_;
    std::string CilovaCesta;
    bool VysledekZapsan = false;
    std::string ZdrojovaPisen;
    std::string ZdrojovaCesta;
    std::unique_ptr<clsKonverze> Konverze_;
};

// The shared instance.
extern forms::FormInstance<frmKonverze> frmKonverze;
