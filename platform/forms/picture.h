// The picture object that Image, PictureBox and the resources share. Copies
// refer to the same picture, so `a.Picture = b.Picture` makes both controls
// show one picture, and `==` asks whether two refer to the same one (VB's Is).
#pragma once

#include <memory>

#include <QImage>
#include <QPixmap>

namespace forms {

class Picture {
public:
    Picture() = default;  // the empty picture
    // A new picture of `image`; `bitsPerPixel` is the depth it is kept at (1, 4, 8 or 24).
    static Picture FromImage(QImage image, int bitsPerPixel);
    // The same, with the pixels of colour `transparent` left out when it is
    // painted (a sign drawn on white lets the staff lines through).
    static Picture FromImage(QImage image, int bitsPerPixel, QRgb transparent);

    bool IsEmpty() const { return !data_; }
    // Size in pixels; 0 for the empty picture.
    int Width() const;
    int Height() const;
    int BitsPerPixel() const;
    // VB's Picture.Handle: 0 for the empty picture, otherwise distinct per picture.
    long Handle() const;

    const QImage& Image() const;
    // Whether some pixels are left out when the picture is painted.
    bool HasTransparency() const;
    // The image as a pixmap for painting, made once per picture (needs the GUI).
    const QPixmap& Pixmap() const;

    friend bool operator==(const Picture& a, const Picture& b) { return a.data_ == b.data_; }

private:
    struct Data;
    std::shared_ptr<Data> data_;
};

// VB's LoadPicture() without a file: the empty picture.
inline Picture LoadPicture() { return Picture(); }

}  // namespace forms
