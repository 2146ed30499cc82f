#include "entry_codec.h"

#include "errors.h"

#include <zlib.h>

#include <limits>

namespace quillmere {

namespace {

constexpr int kCompressionLevel = 1;
constexpr int kWindowBits = 15;
constexpr int kMemoryLevel = 8;
constexpr qsizetype kInflateChunk = 64 * 1024;

[[noreturn]] void fail(int code) {
    throw ZlibError(code, QString::fromLatin1(zlibErrorText(code)));
}

}  // namespace

const char* zlibErrorText(int code) {
    switch (code) {
        case Z_ERRNO:
            return "file error";
        case Z_STREAM_ERROR:
            return "stream error";
        case Z_DATA_ERROR:
            return "data error";
        case Z_MEM_ERROR:
            return "insufficient memory";
        case Z_BUF_ERROR:
            return "buffer error";
        case Z_VERSION_ERROR:
            return "incompatible version";
        default:
            return "unknown zlib error";
    }
}

QByteArray EncodeEntryContent(const QByteArray& rtf) {
    z_stream zs{};
    int rc = deflateInit2(&zs, kCompressionLevel, Z_DEFLATED, kWindowBits, kMemoryLevel,
                          Z_DEFAULT_STRATEGY);
    if (rc != Z_OK) {
        fail(rc);
    }
    const uLong bound = deflateBound(&zs, static_cast<uLong>(rtf.size()));
    QByteArray out(static_cast<qsizetype>(bound), Qt::Uninitialized);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(rtf.constData()));
    zs.avail_in = static_cast<uInt>(rtf.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    rc = deflate(&zs, Z_FINISH);
    const qsizetype written = static_cast<qsizetype>(zs.total_out);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END) {
        fail(rc == Z_OK ? Z_BUF_ERROR : rc);
    }
    out.truncate(written);
    return out;
}

QByteArray DecodeEntryContent(const QByteArray& blob) {
    z_stream zs{};
    int rc = inflateInit(&zs);
    if (rc != Z_OK) {
        fail(rc);
    }
    QByteArray out;
    // RTF compresses well; start with a guess and grow as needed.
    out.resize(qMax<qsizetype>(kInflateChunk, blob.size() * 4));
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(blob.constData()));
    zs.avail_in = static_cast<uInt>(blob.size());
    for (;;) {
        const qsizetype used = static_cast<qsizetype>(zs.total_out);
        if (used == out.size()) {
            out.resize(out.size() * 2);
        }
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + used);
        zs.avail_out =
            static_cast<uInt>(qMin<qsizetype>(out.size() - used, std::numeric_limits<uInt>::max()));
        rc = inflate(&zs, Z_NO_FLUSH);
        if (rc == Z_STREAM_END) {
            break;
        }
        if (rc == Z_BUF_ERROR && zs.avail_in == 0) {
            // The input ended before the stream did: a truncated blob.
            inflateEnd(&zs);
            fail(Z_BUF_ERROR);
        }
        if (rc != Z_OK && rc != Z_BUF_ERROR) {
            inflateEnd(&zs);
            fail(rc == Z_NEED_DICT ? Z_DATA_ERROR : rc);
        }
        if (rc == Z_OK && zs.avail_in == 0 && zs.avail_out != 0) {
            inflateEnd(&zs);
            fail(Z_BUF_ERROR);
        }
    }
    out.truncate(static_cast<qsizetype>(zs.total_out));
    inflateEnd(&zs);
    return out;
}

}  // namespace quillmere
