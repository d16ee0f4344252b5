// The one typeface the program shows its text in: every control of its
// forms, its message and input boxes, its file dialogs and its workbook
// windows.
//
// The forms were laid out for MS Sans Serif, whose captions fill the widths
// they were given. Wine's Tahoma (Debian's fonts-wine, installed with the
// program) comes near its widths, size for size, and keeps the accents of
// Czech letters apart from the letters at the forms' small sizes (the free
// faces of the same widths lose the acute of "í" at 11 pixels). It is loaded
// from its own files, so that neither the desktop's choice of fonts nor
// fontconfig's substitutions can put another face in its place.
// Sizes are given in points, as the forms give them, and shown in pixels at
// the forms' 15 twips a pixel (96 dots an inch) with the same hinting
// everywhere: the text keeps the size and width the layout was made for,
// whatever resolution and hinting the desktop's font settings ask for.
#pragma once

#include <QFont>
#include <QString>

namespace forms {

// The forms' size when a control gives none.
inline constexpr double kDefaultFontSize = 8.25;

// The pixel size a point size is shown in: 8.25 points are 11 pixels,
// 9.75 are 13, 12 are 16.
int FontPixels(double points);

// The program's font at `points`, bold or not.
QFont ProgramFont(double points = kDefaultFontSize, bool bold = false);

// Makes the program's font the application's, for everything Qt draws that
// is not one of the forms' controls (message boxes, dialogs, workbook
// windows, menus). Call once the QApplication exists, before any window.
void UseProgramFont();

// The family the program's font files hold; empty when they could not be
// loaded (the font is then looked up by that family's name).
QString ProgramFontFamily();

// The desktop's own font, bold: what the window manager's title bars are
// measured in, as they show a window's title in a font of their own.
QFont TitleBarFont();

// The files the program's font is loaded from.
inline constexpr const char* kProgramFontFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
};

}  // namespace forms
