// The design of the main window: every control at its place, with the
// captions, Tags, colours and pictures it starts with. All numbers are twips.
//
// The treble keyboard, the piano keys, the strip, the entry staff pools, the
// interval buttons and the release buttons stand where the rest of the
// program expects them; the other controls fill the free areas around them:
//   - top left: the song buttons, the sheet, the row number, the sound buttons;
//   - left, above the release buttons: the active row in words;
//   - between the keyboards' bottoms and beside the entry staff: the grip writers;
//   - between the treble keyboard and the strip/piano keys: reading, stepping,
//     autoplay, and below them the reading staff.
#include "mainwindow/form1.h"

#include <QColor>
#include <QImage>
#include <QPainter>

#include "resources/bitmaps/pictures.h"
#include "store/okna_sesitu.h"

namespace {

using forms::OleColor;
using forms::Place;

constexpr float kClientWidth = 15135;
constexpr float kClientHeight = 10455;

// Colours the design gives.
constexpr OleColor kBlackKeyFree = forms::vbWindowText;     // &H80000008
constexpr OleColor kWhiteKeyFree = forms::vbTitleBarText;   // &H80000009
constexpr OleColor kResetLook = forms::vbInactiveBorder;    // &H8000000B
constexpr OleColor kBlue = 0x00FF0000;
constexpr OleColor kRed = 0x000000FF;

// Tone n (1 = "e,") lies on a black piano key.
bool IsBlackTone(int n) {
    switch ((n + 3) % 12) {  // pitch class, c = 0
    case 1: case 3: case 6: case 8: case 10: return true;
    default: return false;
    }
}

// Where treble button n stands.
float TrebleLeft(int n) {
    switch ((n - 1) % 3) {
    case 0: return 6000;
    case 1: return 4800;
    default: return 5400;
    }
}
float TrebleTop(int n) {
    const float top = 9720.0f - 600.0f * static_cast<float>((n - 1) / 3);
    return (n - 1) % 3 == 2 ? top - 360 : top;
}

// Piano key n: key 1 at 9840, each next tone 120 higher, 240 where two
// white keys meet (e to f, h to c).
float KeyTop(int n) {
    float top = 9840;
    for (int k = 1; k < n; ++k) {
        const int pitch = (k + 3) % 12;
        top -= (pitch == 4 || pitch == 11) ? 240 : 120;
    }
    return top;
}

// Bass button b as the start-up layout places it: six columns of twenty,
// each 300 further left and 150 further down than the one before.
float BassLeft(int b) { return 3240.0f - 300.0f * static_cast<float>((b - 1) / 20); }
float BassTop(int b) {
    const int column = (b - 1) / 20;
    const int place = (b - 1) % 20 + 1;
    return 1260.0f + 150.0f * static_cast<float>(column) + 300.0f * static_cast<float>(place);
}

// Rows of the interval buttons.
float IntervalTop(int i) {
    static constexpr float kLow[] = {8640, 9000, 9360, 9720};
    if (i == 0) return 3480;
    if (i <= 10) return 3960.0f + 480.0f * static_cast<float>(i - 1);
    return kLow[i - 11];
}

const char* const kIntervalCaptions[15] = {"Prima",    "Sekunda",   "Tercie",     "Kvarta",      "Kvinta",
                                           "Sexta",    "Septima",   "Oktáva",     "Nóna",        "Decima",
                                           "Undecima", "Duodecima", "Tercdecima", "Kvartdecima", "Kvintdecima"};

// A staff drawn as a transparent picture: the five lines of the treble
// staff (e1 to f2) in black and the ledger lines from c to g4 as light
// guides. `headTop` is the Top of a "c," head inside the picture, `headHeight`
// the height of the heads the staff carries; a head on a line has the line
// through its middle. 60 twips are one diatonic step.
forms::Picture StaffPicture(float width, float height, float headTop, float headHeight) {
    const int w = forms::TwipsToPixels(width);
    const int h = forms::TwipsToPixels(height);
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (int offset = 60; offset <= 1860; offset += 120) {
        const bool staffLine = offset >= 540 && offset <= 1020;
        const float y = headTop - static_cast<float>(offset) + headHeight / 2;
        const int py = forms::TwipsToPixels(y);
        if (py < 0 || py >= h) continue;
        p.setPen(staffLine ? QColor(0, 0, 0) : QColor(200, 200, 200));
        p.drawLine(0, py, w - 1, py);
    }
    p.end();
    return forms::Picture::FromImage(image, 24);
}

}  // namespace

Form1* HlavniOkno = nullptr;

Form1::Form1() {
    // The dialogs that hide the window show it again when they close.
    forms::SetMainForm(this);
    InitializeComponent();
    ConnectSteppingEvents();
    ConnectSoundEvents();
    ConnectIntervalEvents();
    ConnectReleaseEvents();
    ConnectReadingEvents();
    ConnectSongEvents();
    ConnectMenuEvents();
    ConnectRecordingEvents();
}

// The store no longer reaches a window that is gone.
Form1::~Form1() { NastavOknoPisne({}); }

bool Form1::LoadSongMenuItems() {
    mnuNovaPisen.Load(2, mnuSoubor);
    mnuOtevrit.Load(3, mnuSoubor);
    mnuKonecPisne.Load(4, mnuSoubor);
    return true;
}

void Form1::InitializeComponent() {
    Name = "Form1";
    Caption = "Belmora";

    // ---- Menu ----
    auto menu = [](forms::Menu& m, const char* name, const char* caption, const char* shortcut = "") {
        m.Name = name;
        m.Caption = caption;
        if (*shortcut) m.Shortcut = shortcut;
    };
    menu(mnuSoubor, "mnuSoubor", "Soubor");
    menu(mnuNovaPisen(2), "mnuNovaPisen", "Nová píseň", "Ctrl+N");
    menu(mnuOtevrit(3), "mnuOtevrit", "Otevřít", "Ctrl+O");
    menu(mnuKonecPisne(4), "mnuKonecPisne", "Konec písničky", "Ctrl+X");
    mnuKonecPisne(4).Enabled = false;
    menu(mnuFileBar4, "mnuFileBar4", "-");
    menu(mnuNastavCestu, "mnuNastavCestu", "Změna implicitní cesty pro Excel");
    menu(mnuFileBar3, "mnuFileBar3", "-");
    menu(mnuKonec, "mnuKonec", "Konec");
    menu(mnuUpravy, "mnuUpravy", "Úpravy");
    menu(mnuKonverze, "mnuKonverze", "Konverze", "Ctrl+K");
    menu(mnuFileBar0, "mnuFileBar0", "-");
    menu(mnuUvolnitDiskant, "mnuUvolnitDiskant", "Uvolnit diskant", "Ctrl+D");
    menu(mnuUvolnitBasy, "mnuUvolnitBasy", "Uvolnit basy", "Ctrl+B");
    menu(mnuUvolnitNoty, "mnuUvolnitNoty", "Uvolnit noty");
    menu(mnuUvolnitPultony, "mnuUvolnitPultony", "Uvolnit půltóny", "Ctrl+P");
    menu(mnuUvolnitOdrazky, "mnuUvolnitOdrazky", "Uvolnit odrážky");
    menu(mnuUvolnitVse, "mnuUvolnitVse", "Uvolnit vše", "Ctrl+A");
    menu(mnuNastaveni, "mnuNastaveni", "Nastavení");
    menu(mnuPrekrytRady, "mnuPrekrytRady", "Překrýt řady");
    menu(mnuOtocitHmatnik, "mnuOtocitHmatnik", "Otočit hmatník");
    mnuOtocitHmatnik.Enabled = false;
    menu(mnuFileBar2, "mnuFileBar2", "-");
    menu(mnu2Rady, "mnu2Rady", "Názvy na knoflíkách");
    mnu2Rady.Checked = true;
    menu(mnuCislovat, "mnuCislovat", "Pomocné číslování");
    mnuCislovat.Checked = true;
    menu(mnuPosta, "mnuPosta", "Pošta");
    menu(mnuMailAutorovi, "mnuMailAutorovi", "Poslat zprávu autorovi");
    menu(mnuNapoveda, "mnuNapoveda", "Nápověda");
    menu(mnuhtm, "mnuhtm", "Ovládání Korvela", "F1");
    menu(mnuOProgramu, "mnuOProgramu", "O programu");

    // The client area holds every control; its size needs the menu bar above.
    SetClientSize(kClientWidth, kClientHeight);

    // ---- Hidden picture sources (never shown; parked at the top left) ----
    auto source = [](forms::Image& img, const char* name, int index, float left, float top) {
        img.Picture = resources::SourcePicture(name, index);
        img.Name = name;
        img.Move(left, top);
        img.Visible = false;
    };
    for (int i = 0; i <= 1; ++i) {
        source(imgKnoflikVol.Load(i, *this), "imgKnoflikVol", i, 120.0f + 615.0f * static_cast<float>(i), 120);
        source(imgKnofCerv.Load(i, *this), "imgKnofCerv", i, 1350.0f + 615.0f * static_cast<float>(i), 120);
    }
    source(imgKnofTlak, "imgKnofTlak", 0, 120, 720);
    source(imgKnofTlak2, "imgKnofTlak2", 0, 735, 720);
    source(imgKnofTah, "imgKnofTah", 0, 1350, 720);
    source(imgKnofTah2, "imgKnofTah2", 0, 1965, 720);
    {
        forms::Image* bass[] = {&imgBaVol,   &imgBaVolC,  &imgBaVolMriz, &imgBaTlak1, &imgBaTlakC,
                                &imgBaTlakMriz, &imgBaTah1, &imgBaTahC, &imgBaTahMriz, &imgBaCerv1,
                                &imgBaStiskC, &imgBaStiskMriz, &imgBaCerv2};
        const char* names[] = {"imgBaVol",   "imgBaVolC",  "imgBaVolMriz", "imgBaTlak1", "imgBaTlakC",
                               "imgBaTlakMriz", "imgBaTah1", "imgBaTahC", "imgBaTahMriz", "imgBaCerv1",
                               "imgBaStiskC", "imgBaStiskMriz", "imgBaCerv2"};
        for (int k = 0; k < 13; ++k) source(*bass[k], names[k], 0, 120.0f + 255.0f * static_cast<float>(k), 1320);
    }

    // ---- Song buttons, sheet, row number, sound (top left) ----
    Place(cmdNovaSkladba, "cmdNovaSkladba", 120, 120, 1335, 375);
    cmdNovaSkladba.Caption = "Nová píseň";
    Place(cmdEdit, "cmdEdit", 120, 540, 1335, 375);
    cmdEdit.Caption = "Otevřít";
    Place(cmdEndEdit, "cmdEndEdit", 120, 960, 1335, 375);
    cmdEndEdit.Caption = "Konec písničky";
    cmdEndEdit.Enabled = false;
    Place(lblLadeni, "lblLadeni", 1560, 120, 1920, 255);
    Place(Combo1, "Combo1", 1560, 420, 1920, 315);
    Combo1.Visible = false;
    Place(lblTon, "lblTon", 1560, 780, 1920, 255);
    lblTon.Caption = "1";
    {
        const char* captions[] = {"Mp3", "Midi", "Wav"};
        for (int i = 0; i <= 2; ++i) {
            auto& b = cmdZvuk.Load(i, *this);
            b.Move(1560.0f + 660.0f * static_cast<float>(i), 1140, 600, 375);
            b.Caption = captions[i];
            b.Visible = false;
        }
    }
    Place(cmdOPrg, "cmdOPrg", 120, 1380, 1335, 375);
    cmdOPrg.Caption = "O programu";
    cmdOPrg.Visible = false;

    // ---- The active row in words (left) ----
    Place(lblPopisD, "lblPopisD", 120, 1860, 1560, 255);
    lblPopisD.Caption = "Diskant:";
    lblPopisD.Visible = false;
    Place(lblTony, "lblTony", 120, 2115, 1560, 735);
    Place(lblPopisB, "lblPopisB", 120, 2880, 1560, 255);
    lblPopisB.Caption = "Basy:";
    lblPopisB.Visible = false;
    Place(lblBasy, "lblBasy", 120, 3135, 1560, 735);
    Place(lblStupnice, "lblStupnice", 120, 3960, 1560, 255);

    // ---- Release buttons ----
    Place(cmdUvolBasy, "cmdUvolBasy", 0, 4440, 1215, 255);
    cmdUvolBasy.Caption = "Uvolnit basy";
    Place(cmdUvolDiskant, "cmdUvolDiskant", 0, 4800, 1215, 255);
    cmdUvolDiskant.Caption = "Uvolnit diskant";
    Place(cmdUvolKnofl, "cmdUvolKnofl", 0, 5160, 1215, 255);
    cmdUvolKnofl.Caption = "Uvolnit vše";
    Place(cmdUvolNoty, "cmdUvolNoty", 120, 9720, 1095, 255);
    cmdUvolNoty.Caption = "Uvolnit noty";
    Place(cmdUvolniPultony, "cmdUvolniPultony", 1200, 9720, 255, 255);
    cmdUvolniPultony.Caption = "b";
    Place(cmdUvolOdrazky, "cmdUvolOdrazky", 120, 10080, 1335, 255);
    cmdUvolOdrazky.Caption = "Uvolnit odrážky";

    // ---- Syllables of the rows around the active one ----
    for (int i = 0; i <= 4; ++i) {
        auto& l = lblSlabika.Load(i, *this);
        l.Move(120, 5400.0f + 360.0f * static_cast<float>(i), 975, 255);
        l.ForeColor = i == 2 ? kRed : kBlue;
    }

    // ---- Scale button; the key signature rests inside it ----
    Place(cmdStupnice, "cmdStupnice", 0, 7560, 1335, 495);
    cmdStupnice.Caption = "Vyberte stupnici";

    // ---- Grip writers: keyboard grip between the keyboards' bottoms,
    //      staff grip beside the entry staff ----
    Place(cmdTlak, "cmdTlak", 2520, 8280, 975, 375);
    cmdTlak.Caption = "> Tlak";
    Place(cmdTah, "cmdTah", 2520, 8700, 975, 375);
    cmdTah.Caption = "< Tah";
    Place(cmdTlakNoty, "cmdTlakNoty", 2520, 9300, 975, 375);
    cmdTlakNoty.Caption = "> Tlak";
    Place(cmdTahNoty, "cmdTahNoty", 2520, 9720, 975, 375);
    cmdTahNoty.Caption = "< Tah";
    for (forms::CommandButton* b : {&cmdTlak, &cmdTah, &cmdTlakNoty, &cmdTahNoty}) b->Enabled = false;

    // ---- Reading, stepping and autoplay (one column right of the treble keyboard) ----
    {
        struct Step {
            forms::CommandButton* button;
            const char* name;
            const char* caption;
            float top;
        };
        const Step steps[] = {
            {&cmdReadTlak, "cmdReadTlak", "Tlak", 240},
            {&cmdReadTah, "cmdReadTah", "Tah", 660},
            {&cmdJakDal, "cmdJakDal", "?", 1200},
            {&cmdJakDalZpet, "cmdJakDalZpet", "Zpět", 1620},
            {&cmdPrvni, "cmdPrvni", "První", 2160},
            {&cmdPredchozi, "cmdPredchozi", "Předchozí", 2580},
            {&cmdPredTlak, "cmdPredTlak", "Před- chozí tlak", 3000},
            {&cmdPredTah, "cmdPredTah", "Před- chozí tah", 3420},
            {&cmdDalsi, "cmdDalsi", "Další", 3960},
            {&cmdDalsiTlak, "cmdDalsiTlak", "Další tlak", 4380},
            {&cmdDalsiTah, "cmdDalsiTah", "Další tah", 4800},
            {&cmdPosledni, "cmdPosledni", "Poslední", 5220},
            {&cmdTimer, "cmdTimer", "Automat", 5760},
        };
        for (const Step& s : steps) {
            Place(*s.button, s.name, 7680, s.top, 1380, 375);
            s.button->Caption = s.caption;
            s.button->Enabled = false;
        }
        for (forms::CommandButton* b : {&cmdJakDal, &cmdJakDalZpet}) {
            b->Style = forms::vbButtonGraphical;
            b->BackColor = kResetLook;
        }
    }
    Timer1.Name = "Timer1";
    Timer1.Enabled = false;
    Timer1.Interval = 2000;
    Place(Slider1, "Slider1", 7680, 6240, 1380, 315);
    Slider1.Min = -5;
    Slider1.Max = 5;
    Slider1.SmallChange = 1;
    Slider1.LargeChange = 1;
    Slider1.Value = 0;
    Slider1.Visible = false;
    Place(lblTempo, "lblTempo", 7680, 6600, 1380, 255);
    lblTempo.Caption = "<--- Tempo --->";
    lblTempo.Alignment = forms::vbCenter;
    lblTempo.Visible = false;

    // ---- Staff lines (behind everything they carry) ----
    auto staff = [this](forms::Container& in, float left, float top, const forms::Picture& lines) {
        auto img = std::make_unique<forms::Image>(in);
        img->Picture = lines;
        img->Move(left, top);
        img->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
        img->ZOrder(1);
        staffLines_.push_back(std::move(img));
    };
    staff(*this, 7740, 8040, StaffPicture(1440, 2055, 9980 - 8040, 105));  // reading staff
    staff(*this, 1470, 8040, StaffPicture(990, 2055, 9980 - 8040, 110));   // entry staff
    const forms::Picture stepLines = StaffPicture(375, 2295, 1943, 90);  // the same in every strip step

    // ---- Strip: 16 steps, each a frame with five note slots, and its syllable ----
    {
        forms::Layer::Gathering g(stripLayer);
        for (int i = 1; i <= 16; ++i) {
            const float left = 9120.0f + 360.0f * static_cast<float>(i - 1);
            auto& frame = fraNoty.Load(i, *this);
            frame.Move(left, 120, 375, 2295);
            frame.BackColor = forms::vbWindowBackground;
            frame.ForeColor = forms::vbWindowText;
            staff(frame, 0, 0, stepLines);

            // A syllable reaches over the next step, whose own syllable
            // stands on the other line; the last one ends with the strip.
            auto& syllable = lblSlabika2.Load(i, *this);
            syllable.Move(left, i % 2 ? 2400 : 2640, i == 16 ? 375 : 735, 255);
            syllable.BackColor = forms::vbWindowBackground;
            syllable.ForeColor = forms::vbWindowText;
            syllable.FontSize = 9.75f;
        }
    }

    // ---- Note heads, flats and sharps: 0-4 the reading staff, 5-84 the strip ----
    {
        forms::Layer::Gathering g(readingStaffLayer);
        for (int i = 0; i <= 4; ++i) {
            const float head = 7950.0f + 270.0f * static_cast<float>(i);
            auto& nota = imgNota.Load(i, *this);
            nota.Picture = resources::SourcePicture("imgNota");
            nota.Move(head, 9980);
            nota.Visible = false;
            auto& becko = imgBecko.Load(i, *this);
            becko.Picture = resources::SourcePicture("imgBecko");
            becko.Move(head - 120, 9840);
            becko.Visible = false;
            auto& krizek = imgKrizek.Load(i, *this);
            krizek.Picture = resources::SourcePicture("imgKrizek");
            krizek.Move(head - 120, 9880);
            krizek.Visible = false;
        }
    }

    for (int i = 5; i <= 84; ++i) {
        forms::Frame& frame = fraNoty(i / 5);
        auto& nota = imgNota.Load(i, frame);
        nota.Picture = resources::LoadResPicture(124);
        nota.Move(120, 1943);
        nota.Visible = false;
        auto& becko = imgBecko.Load(i, frame);  // its flat is given at load
        becko.Move(20, 1803, 90, 255);
        becko.Visible = false;
        auto& krizek = imgKrizek.Load(i, frame);
        krizek.Picture = resources::SourcePicture("imgKrizek");
        krizek.Move(20, 1843);
        krizek.Visible = false;
    }

    // ---- Bass keyboard, at the places the start-up layout gives it ----
    {
        forms::Layer::Gathering g(bassLayer);
        for (int b = 1; b <= 120; ++b) {
            auto& bass = ImgBas.Load(b, *this);
            bass.Picture = b == 30 ? imgBaVolC.Picture : (b == 26 || b == 34) ? imgBaVolMriz.Picture : imgBaVol.Picture;
            bass.Move(BassLeft(b), BassTop(b), 240, 240);
            bass.Tag = "0";
        }
    }

    // ---- Treble keyboard: buttons, their second pictures, the labels over them ----
    {
        forms::Layer::Gathering g(trebleLayer);
        for (int n = 1; n <= 49; ++n) {
            const std::string tag = IsBlackTone(n) ? "1" : "0";
            auto& img = imgDiskant.Load(n, *this);
            img.Tag = tag;
            img.Picture = imgKnoflikVol(IsBlackTone(n) ? 1 : 0).Picture;
            img.Move(TrebleLeft(n), TrebleTop(n), 600, 570);
        }
        auto secondPlace = [](int n, float& left, float& top) {
            if (n % 3 == 2) {
                left = 6600;
                top = TrebleTop(n + 1);
            } else {
                left = 4200;
                top = TrebleTop(n - 1);
            }
        };
        for (int n = 2; n <= 49; ++n) {
            if (n % 3 == 0) continue;
            float left = 0, top = 0;
            secondPlace(n, left, top);
            auto& img = imgDiskantPom.Load(n, *this);
            img.Tag = IsBlackTone(n) ? "1" : "0";
            img.Picture = imgKnoflikVol(IsBlackTone(n) ? 1 : 0).Picture;
            img.Move(left, top, 600, 570);
        }
        auto buttonLabel = [](forms::Label& l, float left, float top) {
            l.Move(left, top, 615, 615);
            l.BackStyle = 0;
            l.Alignment = forms::vbCenter;
        };
        for (int n = 1; n <= 49; ++n) {
            auto& l = lbl.Load(n, *this);
            buttonLabel(l, TrebleLeft(n), TrebleTop(n));
            l.Tag = "0";
        }
        for (int n = 2; n <= 49; ++n) {
            if (n % 3 == 0) continue;
            float left = 0, top = 0;
            secondPlace(n, left, top);
            buttonLabel(lblSynchro.Load(n, *this), left, top);
        }
    }

    // ---- Piano keys and the note read beside each ----
    {
        forms::Layer::Gathering g(pianoLayer);
        for (int n = 1; n <= 49; ++n) {
            const bool black = IsBlackTone(n);
            const float top = KeyTop(n);
            auto& key = cmdKlavesa.Load(n, *this);
            key.Move(9720, top, black ? 975 : 1575, black ? 200 : 255);
            key.Tag = black ? "1" : "0";
            key.Style = forms::vbButtonGraphical;
            key.BackColor = black ? kBlackKeyFree : kWhiteKeyFree;
            auto& name = lblTonKlav.Load(n, *this);
            if (black) {
                name.Move(9240, top, 465, 200);
                name.Alignment = forms::vbRightJustify;
            } else {
                name.Move(11400, top, 675, 240);
            }
        }
        // Black keys lie over the white keys they reach into.
        for (auto& key : cmdKlavesa)
            if (key.Tag == "1") key.ZOrder(0);
    }

    // ---- Entry staff: pools of heads and signs, key signature ----
    {
        const float notaLeft[] = {1440, 1560, 1680, 1515, 1650};
        const float notaTop[] = {8520, 8520, 8520, 8400, 8400};
        const float beckoLeft[] = {1080, 990, 900, 810, 720, 720, 810};
        const float krizekLeft[] = {480, 390, 300, 210, 120, 210, 120};
        const float odrazkaLeft[] = {1200, 1280, 1280, 1200, 1280, 1200, 1280};
        const float beckoStupLeft[] = {120, 240, 360, 480, 600, 960, 1080};
        auto pool = [](forms::PictureBox& p, float left, float top, float width, float height) {
            p.BorderStyle = 0;
            p.Move(left, top, width, height);
        };
        for (int i = 0; i <= 4; ++i) {
            auto& p = picNota.Load(i, *this);
            pool(p, notaLeft[i], notaTop[i], 135, 110);
            p.Picture = resources::SourcePicture("picNota");
        }
        for (int i = 0; i <= 6; ++i) {
            auto& becko = picBecko.Load(i, *this);
            pool(becko, beckoLeft[i], 8400, 90, 255);
            becko.Picture = resources::SourcePicture("picBecko");
            auto& krizek = picKrizek.Load(i, *this);
            pool(krizek, krizekLeft[i], 8400, 90, 255);
            krizek.Picture = resources::SourcePicture("picKrizek");
            // The natural and key-signature pictures are given at load.
            pool(picOdrazka.Load(i, *this), odrazkaLeft[i], 8400, 90, 255);
            pool(picBeckoStup.Load(i, *this), beckoStupLeft[i], 7680, 80, 255);
            pool(picKrizekStup.Load(i, *this), 120.0f + 120.0f * static_cast<float>(i), 7560, 90, 300);
        }
        // The key signature rests behind the scale button until the scale
        // puts it on the staff.
        cmdStupnice.ZOrder(0);
    }

    // ---- Intervals: upward buttons and ticks, downward buttons and ticks ----
    {
        forms::Layer::Gathering g(intervalLayer);
        for (int i = 0; i <= 14; ++i) {
            const float top = IntervalTop(i);
            for (auto* arr : {&cmdInterval, &cmdSpodInterval}) {
                auto& b = arr->Load(i, *this);
                b.Move(arr == &cmdInterval ? 12120 : 13680, top, 975, 375);
                b.Caption = kIntervalCaptions[i];
                b.Style = forms::vbButtonGraphical;
                b.BackColor = kResetLook;
                b.Enabled = i != 0;
            }
            chkInterval.Load(i, *this).Move(13200, top, 255, 370);
            chkSpodInterval.Load(i, *this).Move(14760, top, 255, 370);
        }
    }

    // ---- Numbering of the rows: a column on each side of the treble keyboard,
    //      level with the outer rows' buttons, counted from the bottom ----
    {
        auto number = [this](int i, float left, float top, int caption) {
            auto& l = lblCisKnofl.Load(i, *this);
            l.Move(left, top, 375, 255);
            l.Alignment = forms::vbCenter;
            l.Caption = std::to_string(caption);
        };
        {
            forms::Layer::Gathering g(leftNumbersLayer);
            for (int i = 0; i <= 12; ++i) number(i, 3720, 7440.0f - 600.0f * static_cast<float>(i), i + 5);
            for (int i = 25; i <= 28; ++i) number(i, 3720, 9840.0f - 600.0f * static_cast<float>(i - 25), i - 24);
        }
        forms::Layer::Gathering g(rightNumbersLayer);
        for (int i = 13; i <= 24; ++i) number(i, 7260, 6840.0f - 600.0f * static_cast<float>(i - 13), i - 9);
        for (int i = 29; i <= 31; ++i) number(i, 7260, 8640.0f - 600.0f * static_cast<float>(i - 29), i - 28);
    }

    // ---- Row overlays, one over each of the five treble rows (1 rightmost) ----
    for (int i = 1; i <= 5; ++i) {
        auto& z = cmdZabrana.Load(i, *this);
        z.Move(6600.0f - 600.0f * static_cast<float>(i - 1), 120, 615, 10215);
        z.Visible = false;
    }
}
