// The main window: the keyboards of the accordion (treble buttons, bass
// buttons, the piano keys beside them), the reading staff, the 16-step strip,
// the entry staff with its pools of notes and signs, the interval buttons,
// the song and stepping buttons and the menu.
//
// Every control of the window exists from construction on, at its design
// place (mainwindow/form1_design.cpp); the handlers are defined in the source
// file of the topic they belong to. Code reaches controls and members
// directly, as the window's own routines do.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "notation/noty/noty.h"
#include "platform/com/com.h"
#include "platform/forms/forms.h"
#include "platform/vb/variant.h"
#include "tonelib/calvira12.h"

class clsNotyZapis;

// A staff of the window, for placing a note on it: for each kind of picture
// the Top it takes for the small c (a note stands its offset higher) and the
// column it goes to (none: the picture keeps its own Left).
struct Osnova {
    struct Misto {
        double top;
        std::optional<float> left;
    };
    Misto hlava;
    Misto becko;
    Misto krizek;
    Misto odrazka;
};

// The pictures one note takes on a staff; a missing one is left out.
struct ObrazkyNoty {
    forms::Control* hlava = nullptr;
    forms::Control* becko = nullptr;
    forms::Control* krizek = nullptr;
    forms::Control* odrazka = nullptr;  // taken for a natural note only
};

class Form1 : public forms::Form {
public:
    Form1();
    ~Form1() override;

    // The widgets of the two keyboards, the piano keys, the interval buttons,
    // the strip, the reading staff's heads and signs and the row numbers lie
    // in layers of their own, so that repainting anything of the window does
    // not walk hundreds of controls. (The entry staff's heads and signs are
    // dragged anywhere on the window; a layer would grow over the controls
    // beneath them and take their clicks.) Declared before the controls they
    // carry: the controls go first.
    forms::Layer trebleLayer{*this};
    forms::Layer bassLayer{*this};
    forms::Layer pianoLayer{*this};
    forms::Layer intervalLayer{*this};
    forms::Layer stripLayer{*this};
    forms::Layer readingStaffLayer{*this};
    forms::Layer leftNumbersLayer{*this};
    forms::Layer rightNumbersLayer{*this};

    // ---- Treble keyboard --------------------------------------------------
    // The 49 buttons (pictures with a clickable label over each) and the
    // second pictures of the buttons that appear twice on the keyboard: only
    // the numbers 2-49 that are not multiples of 3 exist.
    forms::ControlArray<forms::Image> imgDiskant{"imgDiskant"};
    forms::ControlArray<forms::Image> imgDiskantPom{"imgDiskantPom"};
    forms::ControlArray<forms::Label> lbl{"lbl"};
    forms::ControlArray<forms::Label> lblSynchro{"lblSynchro"};
    // Hidden picture sources of the treble buttons (index 0 white key, 1 black key).
    forms::ControlArray<forms::Image> imgKnoflikVol{"imgKnoflikVol"};
    forms::ControlArray<forms::Image> imgKnofCerv{"imgKnofCerv"};
    forms::Image imgKnofTlak{*this};
    forms::Image imgKnofTlak2{*this};
    forms::Image imgKnofTah{*this};
    forms::Image imgKnofTah2{*this};

    // ---- Piano keys and the note read for each ----------------------------
    forms::ControlArray<forms::CommandButton> cmdKlavesa{"cmdKlavesa"};
    forms::ControlArray<forms::Label> lblTonKlav{"lblTonKlav"};

    // ---- Bass keyboard (index = number of the bass button) ----------------
    forms::ControlArray<forms::Image> ImgBas{"ImgBas"};
    forms::Image imgBaVol{*this};
    forms::Image imgBaVolC{*this};
    forms::Image imgBaVolMriz{*this};
    forms::Image imgBaTlak1{*this};
    forms::Image imgBaTlakC{*this};
    forms::Image imgBaTlakMriz{*this};
    forms::Image imgBaTah1{*this};
    forms::Image imgBaTahC{*this};
    forms::Image imgBaTahMriz{*this};
    forms::Image imgBaCerv1{*this};
    forms::Image imgBaStiskC{*this};
    forms::Image imgBaStiskMriz{*this};
    forms::Image imgBaCerv2{*this};

    // ---- Reading staff (slots 0-4) and the strip (slots 5-84) -------------
    // Step i of the strip is frame fraNoty(i) holding slots 5i ... 5i+4.
    forms::ControlArray<forms::Frame> fraNoty{"fraNoty"};
    forms::ControlArray<forms::Image> imgNota{"imgNota"};
    forms::ControlArray<forms::Image> imgBecko{"imgBecko"};
    forms::ControlArray<forms::Image> imgKrizek{"imgKrizek"};
    forms::ControlArray<forms::Label> lblSlabika2{"lblSlabika2"};

    // ---- Row display, song row, sheet --------------------------------------
    forms::ControlArray<forms::Label> lblSlabika{"lblSlabika"};
    forms::Label lblPopisD{*this};
    forms::Label lblTony{*this};
    forms::Label lblPopisB{*this};
    forms::Label lblBasy{*this};
    forms::Label lblStupnice{*this};
    forms::Label lblTon{*this};
    forms::Label lblLadeni{*this};
    forms::ComboBox Combo1{*this};

    // ---- Song and scale buttons --------------------------------------------
    forms::CommandButton cmdNovaSkladba{*this};
    forms::CommandButton cmdEdit{*this};
    forms::CommandButton cmdEndEdit{*this};
    forms::CommandButton cmdStupnice{*this};

    // ---- Reading and stepping ----------------------------------------------
    forms::CommandButton cmdReadTlak{*this};
    forms::CommandButton cmdReadTah{*this};
    forms::CommandButton cmdDalsi{*this};
    forms::CommandButton cmdDalsiTah{*this};
    forms::CommandButton cmdDalsiTlak{*this};
    forms::CommandButton cmdPredchozi{*this};
    forms::CommandButton cmdPredTah{*this};
    forms::CommandButton cmdPredTlak{*this};
    forms::CommandButton cmdPrvni{*this};
    forms::CommandButton cmdPosledni{*this};
    forms::CommandButton cmdJakDal{*this};
    forms::CommandButton cmdJakDalZpet{*this};

    // ---- Grip writers ------------------------------------------------------
    forms::CommandButton cmdTlak{*this};
    forms::CommandButton cmdTah{*this};
    forms::CommandButton cmdTlakNoty{*this};
    forms::CommandButton cmdTahNoty{*this};

    // ---- Release buttons ---------------------------------------------------
    forms::CommandButton cmdUvolBasy{*this};
    forms::CommandButton cmdUvolDiskant{*this};
    forms::CommandButton cmdUvolKnofl{*this};
    forms::CommandButton cmdUvolNoty{*this};
    forms::CommandButton cmdUvolniPultony{*this};
    forms::CommandButton cmdUvolOdrazky{*this};

    // ---- Entry staff: pools of heads and signs, key signature --------------
    forms::ControlArray<forms::PictureBox> picNota{"picNota"};
    forms::ControlArray<forms::PictureBox> picBecko{"picBecko"};
    forms::ControlArray<forms::PictureBox> picKrizek{"picKrizek"};
    forms::ControlArray<forms::PictureBox> picOdrazka{"picOdrazka"};
    forms::ControlArray<forms::PictureBox> picBeckoStup{"picBeckoStup"};
    forms::ControlArray<forms::PictureBox> picKrizekStup{"picKrizekStup"};

    // ---- Intervals (index = number of scale steps; 0 "Prima" has no use) ---
    forms::ControlArray<forms::CommandButton> cmdInterval{"cmdInterval"};
    forms::ControlArray<forms::CheckBox> chkInterval{"chkInterval"};
    forms::ControlArray<forms::CommandButton> cmdSpodInterval{"cmdSpodInterval"};
    forms::ControlArray<forms::CheckBox> chkSpodInterval{"chkSpodInterval"};

    // ---- Row overlays and the numbering of the rows ------------------------
    forms::ControlArray<forms::CommandButton> cmdZabrana{"cmdZabrana"};
    forms::ControlArray<forms::Label> lblCisKnofl{"lblCisKnofl"};

    // ---- Autoplay and sound ------------------------------------------------
    forms::CommandButton cmdTimer{*this};
    forms::Timer Timer1;
    forms::Slider Slider1{*this};
    forms::Label lblTempo{*this};
    forms::ControlArray<forms::CommandButton> cmdZvuk{"cmdZvuk"};

    // The hidden information button, reached from the menu.
    forms::CommandButton cmdOPrg{*this};

    // ---- Menu --------------------------------------------------------------
    // Items appear in the order they are created, so the one-element menu
    // arrays of the file menu are loaded between their neighbours.
    forms::Menu mnuSoubor{*this};
    forms::ControlArray<forms::Menu> mnuNovaPisen{"mnuNovaPisen"};    // element 2
    forms::ControlArray<forms::Menu> mnuOtevrit{"mnuOtevrit"};        // element 3
    forms::ControlArray<forms::Menu> mnuKonecPisne{"mnuKonecPisne"};  // element 4

private:
    bool LoadSongMenuItems();
    bool songMenuItemsLoaded_ = LoadSongMenuItems();

public:
    forms::Menu mnuFileBar4{mnuSoubor};
    forms::Menu mnuNastavCestu{mnuSoubor};
    forms::Menu mnuFileBar3{mnuSoubor};
    forms::Menu mnuKonec{mnuSoubor};
    forms::Menu mnuUpravy{*this};
    forms::Menu mnuKonverze{mnuUpravy};
    forms::Menu mnuFileBar0{mnuUpravy};
    forms::Menu mnuUvolnitDiskant{mnuUpravy};
    forms::Menu mnuUvolnitBasy{mnuUpravy};
    forms::Menu mnuUvolnitNoty{mnuUpravy};
    forms::Menu mnuUvolnitPultony{mnuUpravy};
    forms::Menu mnuUvolnitOdrazky{mnuUpravy};
    forms::Menu mnuUvolnitVse{mnuUpravy};
    forms::Menu mnuNastaveni{*this};
    forms::Menu mnuPrekrytRady{mnuNastaveni};
    forms::Menu mnuOtocitHmatnik{mnuNastaveni};
    forms::Menu mnuFileBar2{mnuNastaveni};
    forms::Menu mnu2Rady{mnuNastaveni};
    forms::Menu mnuCislovat{mnuNastaveni};
    forms::Menu mnuPosta{*this};
    forms::Menu mnuMailAutorovi{mnuPosta};
    forms::Menu mnuNapoveda{*this};
    forms::Menu mnuhtm{mnuNapoveda};
    forms::Menu mnuOProgramu{mnuNapoveda};

    // ---- State of the window -----------------------------------------------
    // Bellows direction of the grip being written: -1 push ("Tlak"), 0 pull ("Tah").
    std::int16_t SmerMechu = 0;
    // Fingering text collected for the grip being written.
    std::string Prstoklad;
    // Song row shown in step 1 of the strip, and the current step (1-16).
    // The row is any row of the sheet, up to its last (65,536), so it is kept
    // in 32 bits: the cursor of a saved song may stand anywhere.
    std::int32_t ZacatekPasu = 0;
    std::int16_t KrokPasu = 0;

    // The tone-name object and the key-signature drawer, made on first use.
    calvira::_Calvira12& Klic();
    clsNotyZapis& Zapis();

    // ---- Start and end -----------------------------------------------------
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void CislujRadyZnaky();

    // ---- The connection to the spreadsheet ---------------------------------
    vb::Variant NastavLadeni();
    void VyberSloupecB();
    void UkonciExcel();

    // ---- Keyboard layout and resets ----------------------------------------
    void RozmistiBasy();
    void UvolniDiskant();
    void UvolniKlavesy();
    void UvolniBasy();
    void PovolOvladaniPisne();
    void ZakazOvladaniPisne();

    // ---- Song life cycle: new, open, switch sheet, end ---------------------
    void cmdNovaSkladba_Click();
    void cmdEdit_Click();
    void cmdEndEdit_Click();
    void Combo1_Click();
    void NastavOvladaniPisne();
    bool FldExist(const std::string& FolderPath);
    bool FileExists(const std::string& strFileName);

    // ---- The staffs: one note placed with its sign --------------------------
    static const Osnova CteciOsnova;    // the reading staff (pictures 0-4)
    static const Osnova OsnovaPasu;     // one step of the strip, inside its frame
    static const Osnova VstupniOsnova;  // the entry staff of recording
    void UmistiNaOsnovu(const Osnova& osnova, const std::optional<PolohaNoty>& poloha, const ObrazkyNoty& obrazky);

    // ---- Reading a grip ----------------------------------------------------
    void cmdReadTlak_Click();
    void cmdReadTah_Click();
    void ZobrazHmat(std::int16_t smer);
    void ZobrazBasyTlak();
    void ZobrazBasyTah();
    void ZobrazPrstoklad();
    // Takes the finger texts of the last reading off the treble labels.
    void SmazPrstoklad();

    // ---- Stepping through a song -------------------------------------------
    void PovolKrokZpet();
    void ZakazKrokZpet();
    void cmdDalsi_Click();
    void cmdDalsiTlak_Click();
    void cmdDalsiTah_Click();
    void cmdPredchozi_Click();
    void cmdPredTlak_Click();
    void cmdPredTah_Click();
    void cmdPrvni_Click();
    void cmdPosledni_Click();
    void cmdJakDal_Click();
    void cmdJakDalZpet_Click();
    void ZobrazSmerMechu();

    // ---- Row display and the 16-step strip ---------------------------------
    void ZobrazRadek();
    void SmazPopisRadku();
    void OznacAktualniKrok();
    void ObnovNotovyPas();
    bool ZobrazNotyKroku(std::uint8_t i);
    void SkryjNoty();
    void SmazSlabiky();

    // ---- Button captions ---------------------------------------------------
    void PopisKnoflikyTony();
    void SmazPopisKnofliku();

    // ---- Autoplay and sound ------------------------------------------------
    void cmdTimer_Click();
    void Timer1_Timer();
    void Slider1_Change();
    void cmdZvuk_Click(std::int16_t Index);
    vb::Variant PrehrajZvuk(const std::string& soubor);
    void ZastavZvuk(const std::string& soubor);

    // ---- Intervals ---------------------------------------------------------
    void cmdInterval_Click(std::int16_t Index);
    void cmdSpodInterval_Click(std::int16_t Index);
    void UkazInterval(std::int16_t k);
    std::string DejNazevIntervalu(std::int16_t k);
    void UvolniIntervaly();
    // Marks the treble button of the note name `Ton` (its button picture, its
    // piano key and its second picture) as the target of an interval, found
    // in the lookup workbook's tone sheet. `Ton` is replaced by its sharp
    // spelling. A name that is not found is reported with the window hidden,
    // and nothing is marked.
    void StiskniKnoflik(std::string& Ton);

    // ---- Releasing buttons and parking the staff's pictures ----------------
    void UvolniKnoflik(std::uint8_t Index);
    void UvolniKnoflikNoty(std::uint8_t s);  // head s of the entry staff lets go of its button
    void SmazTonyKlaves();
    void cmdUvolDiskant_Click();
    void cmdUvolBasy_Click();
    void cmdUvolKnofl_Click();
    void cmdUvolniPultony_Click();
    void cmdUvolNoty_Click();
    void cmdUvolOdrazky_Click();
    void UvolniPultony();
    void UvolniOdrazky();
    void UvolniPredznamenani();

    // ---- Recording: button presses (recording/buttons.cpp) ------------------
    void lbl_Click(std::int16_t Index);
    void cmdKlavesa_Click(std::int16_t Index);
    void lblSynchro_Click(std::int16_t Index);
    void ImgBas_Click(std::int16_t Index);
    void OznacBas(std::int16_t Index);

    // ---- Recording: fingering (recording/fingering.cpp) ---------------------
    void lbl_DblClick(std::int16_t Index);
    void lblSynchro_DblClick(std::int16_t Index);

    // ---- Recording: the entry staff's heads and signs (recording/staff.cpp) -
    // pos is a staff offset without its sign prefix (twips above the small c).
    bool ChybiBecko(int pos);
    bool ChybiKrizek(int pos);
    bool ChybiOdrazka(int pos);
    bool ChybiNota(int pos);
    void UmistiBecko(int pos);
    void UmistiKrizek(int pos);
    void UmistiOdrazku(int pos);
    std::int16_t UmistiNotu(int pos);
    void OdstranBecko(int pos);
    void OdstranKrizek(int pos);
    void OdstranOdrazku(int pos);
    void OdstranNotu(int pos);

    // ---- Recording: dragging heads and signs (recording/drag.cpp) -----------
    void picBecko_MouseDown(std::int16_t Index, int Button, int Shift, float X, float Y);
    void picKrizek_MouseDown(std::int16_t Index, int Button, int Shift, float X, float Y);
    void picOdrazka_MouseDown(std::int16_t Index, int Button, int Shift, float X, float Y);
    void picNota_MouseDown(std::int16_t Index, int Button, int Shift, float X, float Y);

    // ---- Recording: staff notes and buttons kept together (recording/notes.cpp)
    void ZakresliNotu(std::int16_t i);
    void VymazNotu(std::int16_t i);
    void OznacKnoflikNoty(std::int16_t s);
    void PriradCervenouNotu(std::int16_t n, std::int16_t s);
    void ZrusCervenouNotu(std::int16_t s);

    // ---- Recording: the grip writers (recording/writers.cpp) ----------------
    void cmdTlak_Click();
    void cmdTah_Click();
    void cmdTlakNoty_Click();
    void cmdTahNoty_Click();
    void ZapisHmat();
    void ZapisNoty(const std::string& smer);
    void ZapisBasy(bool& zapsano);
    void SeradNotyRadku();
    static void SeradPole(std::span<std::uint8_t> klice, std::span<std::string> jmena);

    // ---- Menus, scale choice, row overlays, help ---------------------------
    void mnuNovaPisen_Click();
    void mnuOtevrit_Click();
    void mnuKonecPisne_Click();
    void mnuNastavCestu_Click();
    void mnuKonec_Click();
    void mnuKonverze_Click();
    void mnuUvolnitDiskant_Click();
    void mnuUvolnitBasy_Click();
    void mnuUvolnitNoty_Click();
    void mnuUvolnitPultony_Click();
    void mnuUvolnitOdrazky_Click();
    void mnuUvolnitVse_Click();
    void mnuPrekrytRady_Click();
    void mnu2Rady_Click();
    void mnuCislovat_Click();
    void mnuMailAutorovi_Click();
    void mnuhtm_Click();
    void mnuOProgramu_Click();
    void cmdOPrg_Click();
    void cmdStupnice_Click();

private:
    void InitializeComponent();
    // Each topic's source file connects its controls' events to its handlers;
    // the constructor calls them all after the design is built.
    void ConnectSongEvents();
    void ConnectReadingEvents();
    void ConnectSteppingEvents();
    void ConnectSoundEvents();
    void ConnectIntervalEvents();
    void ConnectReleaseEvents();
    void ConnectMenuEvents();
    void ConnectRecordingEvents();

    // The finger texts the last reading put on the treble labels: each label
    // with its caption before and after, so that exactly they come off again.
    struct ZobrazenyPrst {
        forms::Label* popis;
        std::string predtim;
        std::string potom;
    };
    std::vector<ZobrazenyPrst> zobrazenePrsty_;

    com::ComPtr<calvira::_Calvira12> Klic_;
    std::shared_ptr<clsNotyZapis> Zapis_;  // shared: its type is complete only where it is made
    // The drawn staff lines behind the reading staff, the entry staff and each strip step.
    std::vector<std::unique_ptr<forms::Image>> staffLines_;
};

// The main window of the run, set by the start-up routine before the window
// loads; the dialogs reach the window's controls through it.
extern Form1* HlavniOkno;
