#include "store/dataset_error.h"

#include <QCoreApplication>

namespace quillmere {

QString statusText(uint16_t code) {
    switch (code) {
        case status::kOutOfMemory:
            return QCoreApplication::translate("quillmere::Store", "Not enough memory for the data packet");
        case status::kMissingArgument:
            return QCoreApplication::translate("quillmere::Store", "A required value is missing");
        case status::kOutOfOrder:
            return QCoreApplication::translate("quillmere::Store", "Data packet operation out of order");
        case status::kUnsupportedType:
            return QCoreApplication::translate("quillmere::Store", "Unsupported field type");
        case status::kNoMetadata:
            return QCoreApplication::translate("quillmere::Store", "The data packet has no field descriptions");
        case status::kNotAPacket:
            return QCoreApplication::translate("quillmere::Store", "Not a valid data packet");
        default:
            return QCoreApplication::translate("quillmere::Store", "Dataset engine error");
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
