// Failures of the dataset engine. The engine speaks in 16-bit status codes; a
// table operation turns a non-zero status into a DatasetError that carries the
// code and a text a user can read.
#pragma once

#include "store/errors.h"

#include <cstdint>

namespace quillmere {

namespace status {
// No engine status: an error of the table layer (closed table, bad definition).
constexpr uint16_t kNone = 0x0000;
// Memory for the packet or for a value could not be obtained.
constexpr uint16_t kOutOfMemory = 0x2501;
// A required argument is missing, or a varying string column has no width.
constexpr uint16_t kMissingArgument = 0x2702;
// An operation out of order.
constexpr uint16_t kOutOfOrder = 0x2A04;
// A type word with an unsupported type code or size.
constexpr uint16_t kUnsupportedType = 0x2710;
// The packet carries no column descriptors.
constexpr uint16_t kNoMetadata = 0x4003;
// Not a data packet (or a damaged one).
constexpr uint16_t kNotAPacket = 0x4005;
}  // namespace status

// The engine's text for a status code, e.g. "Not a valid data packet" for
// 0x4005; "Dataset engine error" for a code without a text of its own.
QString statusText(uint16_t code);

class DatasetError : public Error {
public:
    // An engine status: the message is the code's text, followed by ": " and
    // `detail` when a detail is given, and the code in hex: "... [$4005]".
    explicit DatasetError(uint16_t code, const QString& detail = QString());
    // A table-layer error (code 0) with exactly `message` as its text.
    static DatasetError plain(const QString& message);

    uint16_t code() const noexcept { return code_; }

private:
    DatasetError(uint16_t code, const QString& message, bool);
    uint16_t code_;
};

}  // namespace quillmere
