#include "store/dataset_error.h"

namespace quillmere {

QString statusText(uint16_t code) {
    switch (code) {
        case status::kOutOfMemory:
            return QStringLiteral("Not enough memory for the data packet");
        case status::kMissingArgument:
            return QStringLiteral("A required value is missing");
        case status::kOutOfOrder:
            return QStringLiteral("Data packet operation out of order");
        case status::kUnsupportedType:
            return QStringLiteral("Unsupported field type");
        case status::kNoMetadata:
            return QStringLiteral("The data packet has no field descriptions");
        case status::kNotAPacket:
            return QStringLiteral("Not a valid data packet");
        default:
            return QStringLiteral("Dataset engine error");
    }
}

namespace {

QString composeMessage(uint16_t code, const QString& detail) {
    QString text = statusText(code);
    if (!detail.isEmpty()) {
        text += QStringLiteral(": ") + detail;
    }
    return text + QStringLiteral(" [$%1]").arg(code, 4, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

DatasetError::DatasetError(uint16_t code, const QString& detail)
    : Error(composeMessage(code, detail)), code_(code) {}

DatasetError::DatasetError(uint16_t code, const QString& message, bool)
    : Error(message), code_(code) {}

DatasetError DatasetError::plain(const QString& message) {
    return DatasetError(status::kNone, message, true);
}

}  // namespace quillmere
