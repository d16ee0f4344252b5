// Pictures of looks that are painted again and again. A control whose look
// comes back (a piano key pressed and let go, a tone name over a button that
// was repainted) is drawn from a picture made the first time, instead of its
// text being laid out and its frame stroked anew.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <type_traits>

class QFont;
class QPalette;

namespace forms {

// A key that names everything a look depends on, field by field.
class LookKey {
public:
    template <class T>
        requires std::is_trivially_copyable_v<T>
    LookKey& operator<<(const T& v) {
        bytes_.append(reinterpret_cast<const char*>(&v), sizeof v);
        return *this;
    }
    LookKey& operator<<(const QString& s);
    LookKey& operator<<(const QFont& f);
    // The colours of every role in the palette's current colour group.
    LookKey& operator<<(const QPalette& p);
    const QByteArray& bytes() const { return bytes_; }

private:
    QByteArray bytes_;
};

class LookPictures {
public:
    // The picture of the look `key` of `size` (in device-independent pixels),
    // painted by `paint` the first time onto a transparent picture, or onto
    // one of the colour `ground`.
    template <class Paint>
    const QPixmap& Get(const LookKey& key, QSize size, qreal ratio, Paint&& paint,
                       const QColor& ground = Qt::transparent) {
        auto it = pictures_.constFind(key.bytes());
        if (it != pictures_.cend()) return *it;
        if (pictures_.size() >= kMaxPictures) pictures_.clear();
        QPixmap picture(size * ratio);
        picture.setDevicePixelRatio(ratio);
        picture.fill(ground);
        {
            QPainter p(&picture);
            paint(p);
        }
        return *pictures_.insert(key.bytes(), picture);
    }

private:
    // More looks than a window shows at once: the pictures start afresh.
    static constexpr qsizetype kMaxPictures = 512;
    QHash<QByteArray, QPixmap> pictures_;
};

}  // namespace forms
