// Entry content is compressed with zlib (the stored form is zlib's level-1
// stream) and inflated with libdeflate, which decodes a whole buffer in one
// call at about twice zlib's speed. libdeflate only says whether a stream is
// good; when it is not, zlib inflates the same bytes again to name the failure
// with its own text, so a damaged entry reports exactly what zlib reports (and
// a stream zlib accepts is never refused).
#include "entry_codec.h"

#include "errors.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

namespace quillmere {

namespace {

constexpr int kCompressionLevel = 1;
constexpr int kWindowBits = 15;
constexpr int kMemoryLevel = 8;
constexpr qsizetype kInflateChunk = 64 * 1024;

// First guess of the inflated size: RTF text compresses about three to one.
constexpr qsizetype kExpectedRatio = 4;
// A thread's output buffer is kept for the next entry up to this size; a
// larger one (a picture entry) is given back at once.
constexpr qsizetype kKeptScratchBytes = 1024 * 1024;

[[noreturn]] void fail(int code) {
    throw ZlibError(code, QString::fromLatin1(zlibErrorText(code)));
}

// The reference inflation: zlib's inflate over the whole blob. Used to name
// the failure of a stream libdeflate refused (and to decode it should zlib
// accept it after all).
QByteArray inflateWithZlib(QByteArrayView blob) {
    z_stream zs{};
    int rc = inflateInit(&zs);
    if (rc != Z_OK) {
        fail(rc);
    }
    QByteArray out;
    try {
        out.resize(qMax<qsizetype>(kInflateChunk, blob.size() * kExpectedRatio));
    } catch (const std::bad_alloc&) {
        inflateEnd(&zs);
        fail(Z_MEM_ERROR);
    }
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(blob.data()));
    zs.avail_in = static_cast<uInt>(blob.size());
    for (;;) {
        const qsizetype used = static_cast<qsizetype>(zs.total_out);
        if (used == out.size()) {
            try {
                out.resize(out.size() * 2);
            } catch (const std::bad_alloc&) {
                inflateEnd(&zs);
                fail(Z_MEM_ERROR);
            }
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

// One libdeflate decompressor and one output buffer per thread, made on the
// thread's first entry and kept for the next ones.
class ThreadInflater {
public:
    ThreadInflater() : decompressor_(libdeflate_alloc_decompressor()) {}
    ~ThreadInflater() { libdeflate_free_decompressor(decompressor_); }
    ThreadInflater(const ThreadInflater&) = delete;
    ThreadInflater& operator=(const ThreadInflater&) = delete;

    QByteArray inflate(QByteArrayView blob, qsizetype maxBytes) {
        if (decompressor_ == nullptr) {
            fail(Z_MEM_ERROR);
        }
        qsizetype capacity =
            qMin(maxBytes, std::max({scratchSize_, kInflateChunk, blob.size() * kExpectedRatio}));
        for (;;) {
            reserve(capacity);
            std::size_t produced = 0;
            const libdeflate_result result = libdeflate_zlib_decompress(
                decompressor_, blob.data(), static_cast<std::size_t>(blob.size()), scratch_.get(),
                static_cast<std::size_t>(capacity), &produced);
            if (result == LIBDEFLATE_SUCCESS) {
                QByteArray out(scratch_.get(), static_cast<qsizetype>(produced));
                releaseIfLarge();
                return out;
            }
            if (result != LIBDEFLATE_INSUFFICIENT_SPACE) {
                // LIBDEFLATE_BAD_DATA (LIBDEFLATE_SHORT_OUTPUT cannot happen
                // when the produced size is asked for): let zlib name it.
                releaseIfLarge();
                QByteArray out = inflateWithZlib(blob);
                if (out.size() > maxBytes) {
                    fail(Z_MEM_ERROR);
                }
                return out;
            }
            if (capacity >= maxBytes) {
                releaseIfLarge();
                fail(Z_MEM_ERROR);
            }
            capacity = capacity > maxBytes / 2 ? maxBytes : capacity * 2;
        }
    }

private:
    void reserve(qsizetype capacity) {
        if (capacity <= scratchSize_) {
            return;
        }
        scratch_.reset();
        scratchSize_ = 0;
        scratch_.reset(new (std::nothrow) char[static_cast<std::size_t>(capacity)]);
        if (!scratch_) {
            fail(Z_MEM_ERROR);
        }
        scratchSize_ = capacity;
    }

    void releaseIfLarge() {
        if (scratchSize_ > kKeptScratchBytes) {
            scratch_.reset();
            scratchSize_ = 0;
        }
    }

    libdeflate_decompressor* decompressor_;
    std::unique_ptr<char[]> scratch_;
    qsizetype scratchSize_ = 0;
};

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

QByteArray DecodeEntryContent(QByteArrayView blob) {
    return DecodeEntryContent(blob, std::numeric_limits<qsizetype>::max() / 2);
}

QByteArray DecodeEntryContent(QByteArrayView blob, qsizetype maxBytes) {
    thread_local ThreadInflater inflater;
    try {
        return inflater.inflate(blob, qMax<qsizetype>(maxBytes, 0));
    } catch (const std::bad_alloc&) {
        fail(Z_MEM_ERROR);
    }
}

}  // namespace quillmere
