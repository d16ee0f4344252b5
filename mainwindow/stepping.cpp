// Stepping through a song: next, previous, first and last row, the commands
// that step and then read the new row as push or pull or on the side the row
// names, and the back buttons switched together.
//
// Every step first clears the marks of the grip shown before, moves the song
// sheet's cursor, shows the row number in lblTon, shows the row in words and
// keeps the 16-step strip in step with the cursor.
#include <string>

#include "mainwindow/form1.h"
#include "mainwindow/shared.h"
#include "platform/msgbox/msgbox.h"
#include "platform/vb/conversions.h"
#include "platform/vb/runtime_error.h"
#include "resources/app_info/app_info.h"
#include "store/hmaty.h"
#include "store/module1.h"

namespace {

// The colour of "?" and "Zpět" when the row names no side.
constexpr forms::OleColor kBarvaNeutralni = forms::vbInactiveBorder;  // &H8000000B

// The message of a step command that failed part way. Excel's own failures
// (1004) mostly mean the cursor cannot go where the step wants it, so the user
// is asked to put it right in the sheet.
void OznamChybuKroku(const vb::RuntimeError& e) {
    if (e.Number() == vb::err::ApplicationDefined) {
        forms::MsgBox(std::string("Při komunikaci s aplikací ") + e.Source() + " došlo k chybě č " +
                          std::to_string(e.Number()) + ".\r\nProgram " + resources::App.ProductName +
                          " zřejmě ztratil kontrolu nad operacemi, které jste vykonal v tabulce s písní.\r\n"
                          "Pro opravu klikněte prosím znovu do tabulky s písní, posuňte kurzor na jinou buňku a "
                          "pak to zkuste znovu !",
                      forms::vbExclamation + forms::vbOKOnly,
                      "Omlouváme se za vzniklé nedopatření ke kterému dochází maximálně jednou za ...");
    } else {
        resources::NeocekavanaChyba(e.Number());
    }
}

constexpr const char* kPrvniBunka = "$B$1";

// Every step first lets go of the grip shown before: buttons, keys, basses
// and the interval marks.
void UvolniHmat(Form1& okno) {
    okno.UvolniDiskant();
    okno.UvolniKlavesy();
    okno.UvolniBasy();
    okno.UvolniIntervaly();
}

}  // namespace

// The buttons that step back are switched together.
void Form1::ZakazKrokZpet() {
    cmdPredchozi.Enabled = false;
    cmdPredTlak.Enabled = false;
    cmdPredTah.Enabled = false;
    cmdJakDalZpet.Enabled = false;
}

void Form1::PovolKrokZpet() {
    cmdPredchozi.Enabled = true;
    cmdPredTlak.Enabled = true;
    cmdPredTah.Enabled = true;
    cmdJakDalZpet.Enabled = true;
}

// No end-of-song test: next also walks into the empty rows below the song,
// which is how automatic stepping finds the end (ZobrazSmerMechu).
void Form1::cmdDalsi_Click() {
    UvolniHmat(*this);
    VyberSloupecB();
    try {
        Excel().ActiveCell().Offset(1, 0).Select();
        lblTon.Caption = std::to_string(Excel().ActiveCell().Row());
        ZobrazRadek();
        PovolKrokZpet();
        KrokPasu = static_cast<std::int16_t>(KrokPasu + 1);
        OznacAktualniKrok();
    } catch (const vb::RuntimeError& e) {
        OznamChybuKroku(e);
    }
}

void Form1::cmdPredchozi_Click() {
    UvolniHmat(*this);
    VyberSloupecB();
    try {
        // On the first grip there is nowhere to go: only the back buttons go off.
        if (Excel().ActiveCell().Address() == kPrvniBunka) {
            ZakazKrokZpet();
            return;
        }
        Excel().ActiveCell().Offset(-1, 0).Select();
        lblTon.Caption = std::to_string(Excel().ActiveCell().Row());
        ZobrazRadek();
        if (Excel().ActiveCell().Address() == kPrvniBunka) ZakazKrokZpet();
        KrokPasu = static_cast<std::int16_t>(KrokPasu - 1);
        OznacAktualniKrok();
    } catch (const vb::RuntimeError& e) {
        OznamChybuKroku(e);
    }
}

void Form1::cmdPrvni_Click() {
    UvolniHmat(*this);
    SmazTonyKlaves();
    try {
        Excel().Windows(AktualniPisen).Activate();
    } catch (const vb::RuntimeError& e) {
        OznamChybuOkna(e);
        return;
    }
    try {
        Excel().Range("B1").Select();
        ZakazKrokZpet();
        lblTon.Caption = std::to_string(Excel().ActiveCell().Row());
        ZobrazRadek();
        ObnovNotovyPas();
    } catch (const vb::RuntimeError& e) {
        OznamChybuKroku(e);
    }
}

// The last grip is the row above the end of the song within rows 1 to 500;
// a grip of basses only (B empty, the bellows word in I) is no end. Neither
// the step counter nor the strip change: the next step finds the cursor
// outside the strip and rebuilds it there.
void Form1::cmdPosledni_Click() {
    UvolniHmat(*this);
    try {
        Excel().Range("B1:B500").Select();
        if (!JeHmat(Excel().ActiveCell())) {
            Excel().ActiveCell().Select();
            ZakazKrokZpet();
            return;
        }
        // The search starts after B1, so it finds the end from row 2 on. When
        // all 500 rows are grips it finds nothing, and using that nothing is
        // the failure the trap reports.
        NajdiKonecPisne(Excel().Selection(), Excel().ActiveCell()).Activate();
        Excel().ActiveCell().Offset(-1, 0).Select();
        lblTon.Caption = std::to_string(Excel().ActiveCell().Row());
        ZobrazRadek();
        if (Excel().ActiveCell().Address() == kPrvniBunka) ZakazKrokZpet();
        else PovolKrokZpet();
    } catch (const vb::RuntimeError& e) {
        OznamChybuKroku(e);
    }
}

// In the combined commands the reading runs also after a failed step: the
// step has already said what went wrong.
void Form1::cmdDalsiTah_Click() {
    cmdDalsi_Click();
    cmdReadTah_Click();
}

void Form1::cmdDalsiTlak_Click() {
    cmdDalsi_Click();
    cmdReadTlak_Click();
}

void Form1::cmdPredTah_Click() {
    cmdPredchozi_Click();
    cmdReadTah_Click();
}

void Form1::cmdPredTlak_Click() {
    cmdPredchozi_Click();
    cmdReadTlak_Click();
}

void Form1::cmdJakDal_Click() {
    cmdDalsi_Click();
    ZobrazSmerMechu();
}

void Form1::cmdJakDalZpet_Click() {
    cmdPredchozi_Click();
    ZobrazSmerMechu();
}

// Reads the row on the side its column I names. A row that names none (also
// the empty row after the song) stops automatic stepping, so a song played on
// the timer ends one row after its last grip.
void Form1::ZobrazSmerMechu() {
    std::string smer;
    try {
        smer = vb::CStr(Excel().Range(std::string("I").append(std::to_string(Excel().ActiveCell().Row()))).Value());
    } catch (const vb::RuntimeError& e) {
        // Without a song sheet to read there is nothing to step through either.
        Timer1.Enabled = false;
        OznamChybuOkna(e);
        return;
    }
    if (smer == "Tlak") {
        cmdReadTlak_Click();
        cmdJakDal.BackColor = kBarvaTlakPoKroku;
        cmdJakDalZpet.BackColor = kBarvaTlakPoKroku;
    } else if (smer == "Tah") {
        cmdReadTah_Click();
        cmdJakDal.BackColor = kBarvaTah;
        cmdJakDalZpet.BackColor = kBarvaTah;
    } else {
        Timer1.Enabled = false;
        forms::MsgBox("Záznam neuveden.", forms::vbCritical + forms::vbOKOnly, "Neprovedeno.");
        cmdJakDal.BackColor = kBarvaNeutralni;
        cmdJakDalZpet.BackColor = kBarvaNeutralni;
    }
}

void Form1::ConnectSteppingEvents() {
    cmdDalsi.Click = [this] { cmdDalsi_Click(); };
    cmdDalsiTlak.Click = [this] { cmdDalsiTlak_Click(); };
    cmdDalsiTah.Click = [this] { cmdDalsiTah_Click(); };
    cmdPredchozi.Click = [this] { cmdPredchozi_Click(); };
    cmdPredTlak.Click = [this] { cmdPredTlak_Click(); };
    cmdPredTah.Click = [this] { cmdPredTah_Click(); };
    cmdPrvni.Click = [this] { cmdPrvni_Click(); };
    cmdPosledni.Click = [this] { cmdPosledni_Click(); };
    cmdJakDal.Click = [this] { cmdJakDal_Click(); };
    cmdJakDalZpet.Click = [this] { cmdJakDalZpet_Click(); };
}
