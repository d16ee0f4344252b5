#include "platform/forms/picture.h"

#include <atomic>
#include <optional>
#include <utility>

#include <QBitmap>

namespace forms {

struct Picture::Data {
    QImage image;
    int bitsPerPixel = 24;
    long handle = 0;
    std::optional<QRgb> transparent;
    // Made on first paint only: a pixmap needs the GUI, the image does not.
    mutable std::optional<QPixmap> pixmap;
};

namespace {
std::atomic<long> g_nextHandle{1};
}

Picture Picture::FromImage(QImage image, int bitsPerPixel) {
    Picture p;
    p.data_ = std::make_shared<Data>();
    p.data_->image = std::move(image);
    p.data_->bitsPerPixel = bitsPerPixel;
    p.data_->handle = g_nextHandle++;
    return p;
}

Picture Picture::FromImage(QImage image, int bitsPerPixel, QRgb transparent) {
    Picture p = FromImage(std::move(image), bitsPerPixel);
    p.data_->transparent = transparent;
    return p;
}

bool Picture::HasTransparency() const { return data_ && data_->transparent.has_value(); }

int Picture::Width() const { return data_ ? data_->image.width() : 0; }
int Picture::Height() const { return data_ ? data_->image.height() : 0; }
int Picture::BitsPerPixel() const { return data_ ? data_->bitsPerPixel : 0; }
long Picture::Handle() const { return data_ ? data_->handle : 0; }

const QImage& Picture::Image() const {
    static const QImage kNone;
    return data_ ? data_->image : kNone;
}

const QPixmap& Picture::Pixmap() const {
    static const QPixmap kNone;
    if (!data_) return kNone;
    if (!data_->pixmap) {
        data_->pixmap = QPixmap::fromImage(data_->image);
        if (data_->transparent)
            data_->pixmap->setMask(data_->pixmap->createMaskFromColor(QColor(*data_->transparent), Qt::MaskInColor));
    }
    return *data_->pixmap;
}

}  // namespace forms
