#include "platform/forms/font.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

namespace forms {

namespace {

constexpr const char* kFamilyByName = "Tahoma";

// Loaded once, the first time a font is asked for.
const QString& LoadedFamily() {
    static const QString family = [] {
        QString found;
        for (const char* file : kProgramFontFiles) {
            const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(file));
            if (id < 0) {
                qWarning("Belmora: the font file %s could not be loaded", file);
                continue;
            }
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (found.isEmpty() && !families.isEmpty()) found = families.front();
        }
        return found;
    }();
    return family;
}

const QFont& BaseFont() {
    static const QFont base = [] {
        const QString family = LoadedFamily();
        QFont font(family.isEmpty() ? QString::fromUtf8(kFamilyByName) : family);
        // Light hinting keeps the glyphs' own widths, whatever hinting the
        // desktop's settings prefer.
        font.setHintingPreference(QFont::PreferVerticalHinting);
        font.setPixelSize(FontPixels(kDefaultFontSize));
        return font;
    }();
    return base;
}

}  // namespace

int FontPixels(double points) { return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))); }

QFont ProgramFont(double points, bool bold) {
    QFont font = BaseFont();
    font.setPixelSize(FontPixels(points > 0 ? points : kDefaultFontSize));
    font.setBold(bold);
    return font;
}

void UseProgramFont() {
    // Replaces the desktop's font for every kind of widget (menus and
    // message boxes may have their own in the desktop's settings).
    QApplication::setFont(ProgramFont());
}

QString ProgramFontFamily() { return LoadedFamily(); }

QFont TitleBarFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setBold(true);
    return font;
}

}  // namespace forms
