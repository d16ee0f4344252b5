// A song written by LibreOffice, opened and converted through the program's
// own commands, and the result read back by LibreOffice (where it is
// installed). The check does not use the scale table: each note's pitch is
// worked out from its name, every note of a scale part must move by one and
// the same interval, a note is marked exactly where the moved tone would lie
// outside the treble, and every name is spelled as the component calvira
// spells that tone in the target scale.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "mainwindow/shared.h"
#include "tests/conversion/konverze_fixture.h"
#include "tests/support/doubles/scripted_file_dialog.h"
#include "tests/support/soffice.h"

namespace {

using konverze_test::Bunky;
using konverze_test::KonverzeFixture;
namespace fs = std::filesystem;
using Tabulka = std::vector<std::vector<std::string>>;

constexpr int kRadku = 14;
constexpr int kPrvniVeFDur = 9;

// The pitch of a note name in semitones above the great c ("c," is 0 ... the
// tone named without a digit lies in the small octave): letters c d e f g a h
// with "is" for a sharp and "es"/"s" for a flat, "b" for b flat, the octave
// digit after them and the closing comma. nullopt for anything else.
std::optional<int> Vyska(const std::string& nota) {
    if (nota.size() < 2 || nota.back() != ',') return std::nullopt;
    std::string jmeno = nota.substr(0, nota.size() - 1);
    int oktava = 0;
    if (!jmeno.empty() && jmeno.back() >= '1' && jmeno.back() <= '4') {
        oktava = jmeno.back() - '0';
        jmeno.pop_back();
    }
    if (jmeno == "b") return 12 * oktava + 10;
    const std::string zaklady = "c d ef g a h";
    const auto z = jmeno.empty() ? std::string::npos : zaklady.find(jmeno[0]);
    if (z == std::string::npos || zaklady[z] == ' ') return std::nullopt;
    const std::string pripona = jmeno.substr(1);
    int posun = 0;
    if (pripona == "is") posun = 1;
    else if (pripona == "es" || pripona == "s") posun = -1;
    else if (!pripona.empty()) return std::nullopt;
    return 12 * oktava + static_cast<int>(z) + posun;
}

// Treble tone numbers run from "e," (1) to "e4," (49).
int Ton(int vyska) { return vyska - 3; }

// One line of LibreOffice's CSV: fields separated by commas, text in quotes.
std::vector<std::string> RadekCsv(const std::string& radek) {
    std::vector<std::string> pole(1);
    bool vUvozovkach = false;
    for (std::size_t i = 0; i < radek.size(); ++i) {
        const char z = radek[i];
        if (vUvozovkach) {
            if (z == '"' && i + 1 < radek.size() && radek[i + 1] == '"') pole.back() += radek[++i];
            else if (z == '"') vUvozovkach = false;
            else pole.back() += z;
        } else if (z == '"') {
            vUvozovkach = true;
        } else if (z == ',') {
            pole.emplace_back();
        } else {
            pole.back() += z;
        }
    }
    pole.resize(23);
    return pole;
}

// Answers the scale-change question with No, whenever it comes, and lets the
// scripted boxes record every box.
class NeNaZmenu : public forms::MessageBoxService {
public:
    explicit NeNaZmenu(forms::MessageBoxService* zaznam) : zaznam_(zaznam) {
        predtim_ = forms::SetMessageBoxService(this);
    }
    ~NeNaZmenu() override { forms::SetMessageBoxService(predtim_); }
    int Show(const std::string& prompt, int flags, const std::string& title) override {
        const int kod = zaznam_->Show(prompt, flags, title);
        return title == "Přechod do jiné stupnice" ? forms::vbNo : kod;
    }
    std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                     const std::string& text) override {
        return zaznam_->Input(prompt, title, text);
    }

private:
    forms::MessageBoxService* zaznam_;
    forms::MessageBoxService* predtim_ = nullptr;
};

class InteropTest : public KonverzeFixture {
protected:
    // The song as LibreOffice writes it: converted from the sample now, or the
    // copy it wrote earlier where it is not installed.
    fs::path PisenOdLibreOffice() {
        const fs::path zdroje = testsupport::SourceDir() / "tests/fixtures/conversion";
        if (testsupport::HaveSoffice()) {
            const fs::path ven = Root() / "lo";
            fs::create_directories(ven);
            if (testsupport::SofficeConvert(Root(), "xls", {(zdroje / "konverze.fods").string()}, ven) &&
                fs::exists(ven / "konverze.xls"))
                return ven / "konverze.xls";
            ADD_FAILURE() << "LibreOffice did not convert the sample; see " << testsupport::SofficeLog(Root());
        }
        return zdroje / "konverze.xls";
    }

    // The first sheet of a workbook file as LibreOffice reads it; nullopt
    // where LibreOffice is not installed.
    std::optional<Tabulka> PrectiLibreOffici(const fs::path& soubor) {
        if (!testsupport::HaveSoffice()) return std::nullopt;
        const fs::path ven = Root() / "csv";
        fs::create_directories(ven);
        if (!testsupport::SofficeConvert(Root(), "csv:Text - txt - csv (StarCalc):44,34,76,1", {soubor.string()}, ven)) {
            ADD_FAILURE() << "LibreOffice did not read " << soubor << "; see " << testsupport::SofficeLog(Root());
            return std::nullopt;
        }
        std::ifstream in(ven / (soubor.stem().string() + ".csv"));
        Tabulka t;
        for (std::string radek; std::getline(in, radek);) t.push_back(RadekCsv(radek));
        return t;
    }

    // Rows 1 .. kRadku + 1, columns A..W, of the active sheet.
    static Tabulka PrectiSesit() {
        Tabulka t;
        for (int r = 1; r <= kRadku + 1; ++r) t.push_back(Bunky(r, 1, 23));
        return t;
    }

    // The tone's name in the scale as the component spells it, and whether
    // the tone lies outside that scale.
    std::pair<std::string, bool> Hlaskuj(int ton, const std::string& stupnice) {
        std::int16_t cislo = static_cast<std::int16_t>(ton);
        bool mimo = false;
        std::string jmeno = TonVeStupnici(Hlavni().Klic(), cislo, stupnice, mimo);
        return {std::move(jmeno), mimo};
    }
};

// The copy used where LibreOffice is missing is what LibreOffice makes of the sample.
TEST_F(InteropTest, TheCheckedInSongIsWhatItsSampleMakes) {
    if (!testsupport::HaveSoffice()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    fs::create_directories(SongFolder());
    fs::copy_file(PisenOdLibreOffice(), Soubor("Nova.xls"));
    fs::copy_file(testsupport::SourceDir() / "tests/fixtures/conversion/konverze.xls", Soubor("Ulozena.xls"));
    ExcelAplikace->Workbooks().Open(std::string(PracovniAdresar) + "\\Nova.xls");
    const Tabulka nova = PrectiSesit();
    ExcelAplikace->Workbooks().Open(std::string(PracovniAdresar) + "\\Ulozena.xls");
    EXPECT_EQ(PrectiSesit(), nova);
    EXPECT_EQ(ExcelAplikace->ActiveSheet().Name(), "Calvira12");
}

TEST_F(InteropTest, EveryNoteMovesByItsPartsIntervalAndIsSpelledForTheTarget) {
    fs::create_directories(SongFolder());
    fs::copy_file(PisenOdLibreOffice(), Soubor("Kolibrik.xls"));

    // Opened in the main window as the user does it.
    xl::ScriptedFileDialogs dialogy;
    dialogy.Answer(Soubor("Kolibrik.xls").string());
    Hlavni().cmdEdit_Click();
    ASSERT_EQ(AktualniPisen, "Kolibrik.xls");
    const Tabulka zdroj = PrectiSesit();
    ASSERT_EQ(zdroj[0][1], "e,");
    ASSERT_EQ(zdroj[kPrvniVeFDur - 1][22], "F Dur");
    TakeBoxes();  // the strip's word on the seven-note grip

    // Converted into D Dur, the F Dur part too.
    const std::string cil = "D Dur";
    class frmKonverze& d = OtevriDialog();
    VyberCil(d, cil);
    {
        NeNaZmenu ne(&Boxes());
        d.cmdGo.PerformClick();
    }
    const auto boxes = TakeBoxes();
    ASSERT_FALSE(boxes.empty());
    ASSERT_EQ(boxes.back().title, "Hotovo");

    const fs::path soubor = Soubor("Kolibrik D Dur.xls");
    ASSERT_TRUE(fs::exists(soubor));
    const std::optional<Tabulka> odLibreOffice = PrectiLibreOffici(soubor);
    const Tabulka vysledek = odLibreOffice ? *odLibreOffice : PrectiSesit();
    ASSERT_GE(vysledek.size(), static_cast<std::size_t>(kRadku));

    int oznacenych = 0;
    for (const auto& [od, do_] : {std::pair{1, kPrvniVeFDur - 1}, std::pair{kPrvniVeFDur, kRadku}}) {
        SCOPED_TRACE("rows " + std::to_string(od) + "-" + std::to_string(do_));
        std::optional<int> interval;
        std::vector<std::pair<int, std::string>> noty;  // source pitch, result
        for (int r = od; r <= do_; ++r) {
            const auto& z = zdroj[static_cast<std::size_t>(r - 1)];
            const auto& v = vysledek[static_cast<std::size_t>(r - 1)];
            for (int s = 1; s <= 7; ++s) {
                if (z[static_cast<std::size_t>(s)].empty()) {
                    EXPECT_EQ(v[static_cast<std::size_t>(s)], "") << "row " << r;
                    continue;
                }
                const std::optional<int> vyska = Vyska(z[static_cast<std::size_t>(s)]);
                ASSERT_TRUE(vyska) << z[static_cast<std::size_t>(s)];
                const std::string& nova = v[static_cast<std::size_t>(s)];
                noty.emplace_back(*vyska, nova);
                if (nova == kNeprekonvertovano) continue;
                const std::optional<int> novaVyska = Vyska(nova);
                ASSERT_TRUE(novaVyska) << "row " << r << ": " << nova;
                if (!interval) interval = *novaVyska - *vyska;
                EXPECT_EQ(*novaVyska - *vyska, *interval) << "row " << r << ": " << z[static_cast<std::size_t>(s)]
                                                          << " -> " << nova;
                const auto [jmeno, mimoStupnici] = Hlaskuj(Ton(*novaVyska), cil);
                EXPECT_EQ(nova, jmeno) << "row " << r;
                EXPECT_FALSE(mimoStupnici) << "row " << r << ": " << nova;
            }
            // Only the treble and the scale change; the fingering is cleared.
            EXPECT_EQ(v[0], z[0]) << "row " << r;
            for (int s = 8; s <= 20; ++s)
                EXPECT_EQ(v[static_cast<std::size_t>(s)], z[static_cast<std::size_t>(s)]) << "row " << r;
            EXPECT_EQ(v[21], "") << "row " << r;
            EXPECT_EQ(v[22], cil) << "row " << r;
        }
        ASSERT_TRUE(interval);
        // A note is marked exactly where its moved tone leaves the treble.
        for (const auto& [vyska, nova] : noty) {
            const int ton = Ton(vyska + *interval);
            EXPECT_EQ(nova == kNeprekonvertovano, ton < 1 || ton > 49) << vyska << " -> " << nova;
            oznacenych += nova == kNeprekonvertovano;
        }
    }
    // The sample reaches both ends of the treble, so each direction marks a note.
    EXPECT_GE(oznacenych, 2);
    EXPECT_EQ(boxes.size(), static_cast<std::size_t>(oznacenych) + 2);  // the scale change and "Hotovo"
    // Nothing below the song.
    if (vysledek.size() > static_cast<std::size_t>(kRadku)) {
        for (const std::string& bunka : vysledek[kRadku]) EXPECT_EQ(bunka, "");
    }
}

}  // namespace
