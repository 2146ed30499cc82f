#include "editor/pictures/picture_preparation.h"

#include "editor/pictures/picture_file.h"
#include "editor/rtf/jpeg.h"
#include "editor/rtf/picture.h"
#include "store/file_access.h"

#include <QFileInfo>

#include <cstring>

namespace quillmere {

namespace {

PreparedPicture prepared(const QImage& image, const QByteArray& encoded, QSize pixels = {}) {
    PreparedPicture picture;
    picture.stored = rtf::storedBitmapPicture(image, encoded, pixels);
    if (picture.isNull()) {
        return picture;
    }
    picture.shown = rtf::decodePicture(picture.stored.kind, picture.stored.data);
    if (picture.stored.kind == u"jpegblip") {
        picture.jpeg = encoded;
    }
    return picture;
}

// A JPEG file: its bytes are kept and decoded once, at the reduced scale the
// editor shows photos at; the metafile's small copy comes from that decode.
PreparedPicture prepareJpegFile(const QString& path) {
    const QByteArray bytes = fileAccess().readAll(path);
    QString error;
    const QImage shown = rtf::decodeJpegScaled(bytes, rtf::kShownDecodeMinSide, &error);
    if (shown.isNull()) {
        throw PictureError(error);
    }
    PreparedPicture picture;
    picture.stored = rtf::storedBitmapPicture(shown, bytes, rtf::jpegSize(bytes));
    picture.shown = shown;
    picture.jpeg = bytes;
    return picture;
}

bool isJpegName(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    return extension == u"jpg" || extension == u"jpeg";
}

PreparedPicture preparedLoaded(const LoadedPicture& loaded) {
    if (loaded.image.isNull()) {
        return {};
    }
    return prepared(loaded.image, loaded.jpeg.isEmpty() ? loaded.png : loaded.jpeg);
}

// How many times the JPEG the estimated PNG must be to be taken for a
// photograph's without encoding it whole.
constexpr qint64 kSampleMargin = 2;
// The sample: this many strips, together an eighth of the picture's height.
constexpr int kSampleStrips = 8;
constexpr int kSampleShare = 8;

// Strips of whole rows spread evenly over the picture's height, or a null
// image for a picture too small to be worth sampling.
QImage sampleStrips(const QImage& image) {
    const int stripRows = image.height() / (kSampleStrips * kSampleShare);
    if (stripRows < 4) {
        return {};
    }
    QImage sample(image.width(), kSampleStrips * stripRows, image.format());
    sample.setColorTable(image.colorTable());  // an indexed picture's colours
    const int gap = image.height() / kSampleStrips;
    for (int strip = 0; strip < kSampleStrips; ++strip) {
        for (int row = 0; row < stripRows; ++row) {
            std::memcpy(sample.scanLine(strip * stripRows + row),
                        image.constScanLine(strip * gap + row), size_t(image.bytesPerLine()));
        }
    }
    return sample;
}

}  // namespace

PreparedPicture preparePictureFile(const QString& path) {
    if (isJpegName(path)) {
        return prepareJpegFile(path);
    }
    return preparedLoaded(loadPictureFile(path));
}

PreparedPicture prepareImageFile(const QString& path) {
    if (isJpegName(path)) {
        return prepareJpegFile(path);
    }
    return preparedLoaded(loadImageFile(path));
}

PreparedPicture preparePastedImage(const QImage& image, const QByteArray& jpeg) {
    if (image.isNull()) {
        return {};
    }
    if (!jpeg.isEmpty() && rtf::jpegSize(jpeg) == image.size()) {
        return prepared(image, jpeg);
    }
    if (rtf::hasTransparency(image)) {
        return prepared(image, rtf::pngOf(image));
    }
    const QByteArray asJpeg = rtf::encodeJpeg(image, kPastedJpegQuality);
    // The PNG is wanted only when it is smaller. A photograph's is several
    // times the JPEG: the PNG of strips spread over the picture tells it
    // without encoding the whole.
    const QImage sample = sampleStrips(image);
    const bool photograph = !asJpeg.isEmpty() && !sample.isNull() &&
                            rtf::pngOf(sample).size() * qint64(image.height()) / sample.height() >
                                kSampleMargin * asJpeg.size();
    const QByteArray asPng = photograph ? QByteArray() : rtf::pngOf(image);
    if (asJpeg.isEmpty() || (!asPng.isEmpty() && asPng.size() <= asJpeg.size())) {
        return prepared(image, asPng);
    }
    PreparedPicture picture = prepared(image, asJpeg);
    picture.jpeg.clear();  // made here, not a file's own bytes
    return picture;
}

}  // namespace quillmere
