// The program's bitmaps, painted once at first use and kept for the run.
//
// Treble buttons (40 x 38): a round button on the panel colour. Free buttons
// are white or black like the piano key of their tone; a button pressed while
// recording is red; a button read on push is purple and on pull blue (the
// colours of the piano keys in those states); a button marked from the staff
// is green and one marked as an interval brown. The second picture of a
// button (the repeated outer rows) carries a white ring.
//
// Bass buttons (16 x 16): the same colours; the C button carries a "C" mark
// and the two guide buttons beside it a ridged (grooved) face, as on the
// instrument. Same-pitch partners of a pressed bass are pink.
//
// Staff signs and note heads are drawings on white, painted without their
// white so the staff lines show through; the note head of the current strip
// step is red.
#include <functional>
#include <map>
#include <algorithm>
#include <string>
#include <utility>

#include <QImage>
#include <QPainter>

#include "platform/vb/runtime_error.h"
#include "resources/bitmaps/pictures.h"

namespace resources {

using forms::Picture;

namespace {

const QColor kPanel(212, 208, 200);
const QColor kWhiteKey(255, 255, 255);
const QColor kBlackKey(24, 24, 24);
const QColor kPressed(220, 0, 0);
const QColor kPush(128, 0, 128);    // the push colour of the piano keys (&H800080)
const QColor kPull(0, 0, 192);      // the pull colour (&HC00000)
const QColor kStaff(0, 150, 0);     // marked from the entry staff
const QColor kInterval(128, 64, 0); // the interval colour (&H4080)
const QColor kPartner(255, 150, 170);

// Reduces a painted image to the depth the bitmap is kept at.
QImage ToDepth(const QImage& image, int bits) {
    switch (bits) {
    case 1: return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::AvoidDither);
    case 4: {
        // The sixteen colours of a 4-bit bitmap.
        static const QList<QRgb> kVga = {
            qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
        };
        return image.convertToFormat(QImage::Format_Indexed8, kVga, Qt::ThresholdDither | Qt::AvoidDither);
    }
    default: return image.convertToFormat(QImage::Format_RGB888);
    }
}

QImage PaintImage(int w, int h, int bits, const QColor& background, const std::function<void(QPainter&)>& draw) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(background);
    {
        QPainter p(&image);
        draw(p);
    }
    return ToDepth(image, bits);
}

Picture Paint(int w, int h, int bits, const QColor& background, const std::function<void(QPainter&)>& draw) {
    return Picture::FromImage(PaintImage(w, h, bits, background, draw), bits);
}

// A drawing on white whose white is left out when painted, so the staff
// lines behind it stay in sight.
Picture PaintOnStaff(int w, int h, int bits, const std::function<void(QPainter&)>& draw) {
    return Picture::FromImage(PaintImage(w, h, bits, Qt::white, draw), bits, qRgb(255, 255, 255));
}

// ------------------------------------------------------------ buttons

// A treble button: a disc of `face` with a dark rim; `ring` adds the white
// ring of a second picture, `dot` a small centre mark in the contrasting
// colour (a pressed black-key button keeps a dark centre).
Picture TrebleButton(const QColor& face, bool ring, const QColor& dot = QColor()) {
    return Paint(40, 38, 24, kPanel, [&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF disc(3.5, 2.5, 33, 33);
        p.setPen(QPen(QColor(64, 64, 64), 2));
        p.setBrush(face);
        p.drawEllipse(disc);
        if (ring) {
            p.setPen(QPen(Qt::white, 2.5));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(disc.adjusted(5, 5, -5, -5));
        }
        if (dot.isValid()) {
            p.setPen(Qt::NoPen);
            p.setBrush(dot);
            p.drawEllipse(disc.center(), 5, 5);
        }
    });
}

enum class BassMark { None, C, Ridged };

Picture BassButton(const QColor& face, BassMark mark) {
    return Paint(16, 16, 24, kPanel, [&](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(64, 64, 64), 1));
        p.setBrush(face);
        p.drawEllipse(QRectF(1, 1, 14, 14));
        const QColor ink = face.lightness() > 128 ? QColor(0, 0, 0) : QColor(255, 255, 255);
        if (mark == BassMark::C) {
            // The letter C as an open arc.
            p.setPen(QPen(ink, 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(4.5, 4.5, 7, 7), 45 * 16, 270 * 16);
        } else if (mark == BassMark::Ridged) {
            // Grooves across the face.
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(ink, 1));
            for (int y = 5; y <= 11; y += 2) p.drawLine(4, y, 11, y);
        }
    });
}

// ------------------------------------------------------------ staff signs

void DrawFlat(QPainter& p, int w, int h) {
    // Stem at the left edge, bowl at the bottom.
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 0, 0, h - 1);
    const int top = h - std::max(5, h / 3);
    p.drawLine(0, top, w - 2, top - 1);
    p.drawLine(w - 2, top - 1, w - 1, top);
    p.drawLine(w - 1, top, w - 1, top + 1);
    p.drawLine(w - 1, top + 1, 0, h - 1);
}

void DrawSharp(QPainter& p, int w, int h) {
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(1, 1, 1, h - 1);
    p.drawLine(w - 2, 0, w - 2, h - 2);
    const int y1 = h / 3, y2 = 2 * h / 3;
    p.fillRect(0, y1, w, 2, Qt::black);
    p.fillRect(0, y2, w, 2, Qt::black);
}

void DrawNatural(QPainter& p, int w, int h) {
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 0, 0, 2 * h / 3 + 1);
    p.drawLine(w - 1, h / 3, w - 1, h - 1);
    p.fillRect(0, h / 3, w, 2, Qt::black);
    p.fillRect(0, 2 * h / 3, w, 2, Qt::black);
}

void DrawHead(QPainter& p, int w, int h, const QColor& colour) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(0, 0, w, h));
}

Picture Sign(int w, int h, int bits, void (*draw)(QPainter&, int, int)) {
    return PaintOnStaff(w, h, bits, [&](QPainter& p) { draw(p, w, h); });
}

Picture Head(int w, int h, int bits, const QColor& colour) {
    return PaintOnStaff(w, h, bits, [&](QPainter& p) { DrawHead(p, w, h, colour); });
}

// ------------------------------------------------------------ tables

struct Tables {
    std::map<int, Picture> bitmaps;
    std::map<std::pair<std::string, int>, Picture> sources;
};

const Tables& AllPictures() {
    static const Tables tables = [] {
        Tables t;
        t.bitmaps[102] = TrebleButton(kStaff, false);
        t.bitmaps[122] = Sign(6, 17, 1, DrawFlat);
        t.bitmaps[123] = Head(8, 6, 4, QColor(255, 0, 0));
        t.bitmaps[124] = Head(8, 6, 1, Qt::black);
        t.bitmaps[129] = TrebleButton(kInterval, false);
        t.bitmaps[130] = TrebleButton(kInterval, true);
        t.bitmaps[131] = Sign(6, 20, 4, DrawSharp);
        t.bitmaps[132] = Sign(5, 17, 4, DrawFlat);
        t.bitmaps[133] = Sign(6, 20, 4, DrawNatural);

        auto& s = t.sources;
        s[{"imgKnoflikVol", 0}] = TrebleButton(kWhiteKey, false);
        s[{"imgKnoflikVol", 1}] = TrebleButton(kBlackKey, false);
        s[{"imgKnofCerv", 0}] = TrebleButton(kPressed, false, kWhiteKey);
        s[{"imgKnofCerv", 1}] = TrebleButton(kPressed, false, kBlackKey);
        s[{"imgKnofTlak", 0}] = TrebleButton(kPush, false);
        s[{"imgKnofTlak2", 0}] = TrebleButton(kPush, true);
        s[{"imgKnofTah", 0}] = TrebleButton(kPull, false);
        s[{"imgKnofTah2", 0}] = TrebleButton(kPull, true);

        s[{"imgBaVol", 0}] = BassButton(kWhiteKey, BassMark::None);
        s[{"imgBaVolC", 0}] = BassButton(kWhiteKey, BassMark::C);
        s[{"imgBaVolMriz", 0}] = BassButton(kWhiteKey, BassMark::Ridged);
        s[{"imgBaTlak1", 0}] = BassButton(kPush, BassMark::None);
        s[{"imgBaTlakC", 0}] = BassButton(kPush, BassMark::C);
        s[{"imgBaTlakMriz", 0}] = BassButton(kPush, BassMark::Ridged);
        s[{"imgBaTah1", 0}] = BassButton(kPull, BassMark::None);
        s[{"imgBaTahC", 0}] = BassButton(kPull, BassMark::C);
        s[{"imgBaTahMriz", 0}] = BassButton(kPull, BassMark::Ridged);
        s[{"imgBaCerv1", 0}] = BassButton(kPressed, BassMark::None);
        s[{"imgBaStiskC", 0}] = BassButton(kPressed, BassMark::C);
        s[{"imgBaStiskMriz", 0}] = BassButton(kPressed, BassMark::Ridged);
        s[{"imgBaCerv2", 0}] = BassButton(kPartner, BassMark::None);

        // Entry staff (135 x 110 heads, 90 x 255 signs) and reading staff.
        s[{"picNota", 0}] = Head(9, 7, 24, Qt::black);
        s[{"picBecko", 0}] = Sign(6, 17, 24, DrawFlat);
        s[{"picKrizek", 0}] = Sign(6, 17, 24, DrawSharp);
        s[{"picOdrazka", 0}] = Sign(6, 17, 24, DrawNatural);
        s[{"imgNota", 0}] = Head(9, 7, 24, Qt::black);
        s[{"imgBecko", 0}] = Sign(6, 17, 24, DrawFlat);
        s[{"imgKrizek", 0}] = Sign(6, 17, 24, DrawSharp);
        return t;
    }();
    return tables;
}

}  // namespace

Picture LoadResPicture(int id) {
    const auto& bitmaps = AllPictures().bitmaps;
    auto it = bitmaps.find(id);
    if (it == bitmaps.end())
        vb::Raise(326, "LoadResPicture", "Resource with identifier '" + std::to_string(id) + "' not found");
    return it->second;
}

std::vector<int> ResourceBitmapIds() {
    std::vector<int> ids;
    for (const auto& [id, picture] : AllPictures().bitmaps) ids.push_back(id);
    return ids;
}

Picture SourcePicture(const std::string& name, int index) {
    const auto& sources = AllPictures().sources;
    auto it = sources.find({name, index});
    if (it == sources.end())
        vb::Raise(326, "SourcePicture",
                  "Resource with identifier '" + name + "(" + std::to_string(index) + ")' not found");
    return it->second;
}

std::vector<std::string> SourcePictureNames() {
    std::vector<std::string> names;
    const auto& sources = AllPictures().sources;
    for (const auto& [key, picture] : sources) {
        const bool indexed = sources.count({key.first, 1}) != 0;
        names.push_back(indexed ? key.first + "(" + std::to_string(key.second) + ")" : key.first);
    }
    return names;
}

}  // namespace resources
