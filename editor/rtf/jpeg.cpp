#include "editor/rtf/jpeg.h"

#include <QPainter>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace quillmere::rtf {
namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void onError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void onMessage(j_common_ptr) {}  // warnings are not shown

// Only plain C objects live in this frame, so the jump out of libjpeg on an
// error skips no destructor; the image belongs to the caller.
// The largest libjpeg scale 1/denominator (8, 4, 2 or 1) that keeps at least
// `minLongSide` pixels on the longer side.
unsigned scaleDenominator(const jpeg_decompress_struct& info, int minLongSide) {
    if (minLongSide <= 0) {
        return 1;
    }
    const unsigned long longSide = std::max(info.image_width, info.image_height);
    for (unsigned denom = 8; denom > 1; denom /= 2) {
        if (longSide / denom >= static_cast<unsigned long>(minLongSide)) {
            return denom;
        }
    }
    return 1;
}

bool decodeInto(const unsigned char* data, unsigned long size, int minLongSide, QImage* image,
                char* message) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    errors.message[0] = '\0';
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    if (setjmp(errors.jump)) {
        std::memcpy(message, errors.message, JMSG_LENGTH_MAX);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = scaleDenominator(info, minLongSide);
    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : (info.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB);
    if (static_cast<long long>(info.image_width) * info.image_height > kMaxJpegPixels) {
        std::snprintf(message, JMSG_LENGTH_MAX, "JPEG image is too large (%u x %u pixels)",
                      info.image_width, info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                    QImage::Format_RGB32);
    if (image->isNull()) {
        std::snprintf(message, JMSG_LENGTH_MAX, "Out of memory for a JPEG image");
        jpeg_destroy_decompress(&info);
        return false;
    }
    const int components = info.output_components;
    JSAMPARRAY row =
        (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                  info.output_width * static_cast<JDIMENSION>(components), 1);
    while (info.output_scanline < info.output_height) {
        int y = static_cast<int>(info.output_scanline);
        jpeg_read_scanlines(&info, row, 1);
        auto* line = reinterpret_cast<QRgb*>(image->scanLine(y));
        const JSAMPLE* s = row[0];
        for (JDIMENSION x = 0; x < info.output_width; ++x, s += components) {
            if (components == 1) {
                line[x] = qRgb(s[0], s[0], s[0]);
            } else if (components == 3) {
                line[x] = qRgb(s[0], s[1], s[2]);
            } else {
                // Adobe's CMYK JPEGs store the inks inverted.
                int k = s[3];
                line[x] = qRgb(s[0] * k / 255, s[1] * k / 255, s[2] * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool readHeaderSize(const unsigned char* data, unsigned long size, QSize* result) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    *result = QSize(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
    jpeg_destroy_decompress(&info);
    return true;
}

// Compresses the rows of an RGB888 image into a buffer libjpeg allocates
// (*out, freed by the caller with free()). Only plain C objects live in this
// frame, as in decodeInto.
bool encodeInto(const QImage& rgb, int quality, unsigned char** out, unsigned long* size) {
    jpeg_compress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPLE*>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

QByteArray encodeJpeg(const QImage& image, int quality) {
    if (image.isNull()) {
        return {};
    }
    QImage rgb;
    if (image.hasAlphaChannel()) {
        rgb = QImage(image.size(), QImage::Format_RGB888);
        rgb.fill(Qt::white);
        QPainter painter(&rgb);
        painter.drawImage(0, 0, image);
    } else {
        rgb = image.convertToFormat(QImage::Format_RGB888);
    }
    if (rgb.isNull()) {
        return {};
    }
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    const bool done = encodeInto(rgb, std::clamp(quality, 1, 100), &buffer, &size);
    QByteArray bytes;
    if (done && buffer != nullptr) {
        bytes = QByteArray(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    }
    std::free(buffer);
    return bytes;
}

QImage decodeJpeg(const QByteArray& bytes) {
    return decodeJpegScaled(bytes, 0);
}

QImage decodeJpegScaled(const QByteArray& bytes, int minLongSide, QString* error) {
    char message[JMSG_LENGTH_MAX] = "Not a JPEG file";
    QImage image;
    if (bytes.size() < 4 ||
        !decodeInto(reinterpret_cast<const unsigned char*>(bytes.constData()),
                    static_cast<unsigned long>(bytes.size()), minLongSide, &image, message)) {
        if (error != nullptr) {
            *error = QString::fromLocal8Bit(message);
        }
        return {};
    }
    return image;
}

QSize jpegSize(const QByteArray& bytes) {
    if (bytes.size() < 4) {
        return {};
    }
    QSize size;
    readHeaderSize(reinterpret_cast<const unsigned char*>(bytes.constData()),
                   static_cast<unsigned long>(bytes.size()), &size);
    return size;
}

}  // namespace quillmere::rtf
