// The XML form of a data packet. It is a faithful transcription of the binary
// packet, so a table saved as XML loads back to the same table and the same
// binary bytes:
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <DATAPACKET Version="1.0">
//     <METADATA>
//       <FIELDS>
//         <FIELD attrname="JournalEntry" type="004B0004" flags="0">
//           <ATTR name="SUBTYPE" type="00490002" value="070042696E61727900"/>
//         </FIELD>
//       </FIELDS>
//       <PARAMS> <ATTR .../> ... </PARAMS>        packet attributes
//     </METADATA>
//     <ROWDATA>
//       <ROW status="0"><V>00007C1D28D6CC42</V><V>616263</V></ROW>
//       <ROW status="0"><B/><U/></ROW>            blank, unchanged
//     </ROWDATA>
//   </DATAPACKET>
//
// Type words are 8 hex digits; attribute values are their packet bytes
// (length prefix included) in hex; a row value <V> is the value's bytes
// without prefix in hex. Names are written as text when they are printable
// Latin-1, otherwise as hex in "attrhex" / "namehex".
#include "store/dataset.h"

#include "store/dataset_error.h"
#include "store/packet_reader.h"
#include "store/packet_writer.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <optional>

namespace quillmere {

namespace {

bool printable(QByteArrayView name) {
    for (const char ch : name) {
        const auto c = static_cast<uint8_t>(ch);
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0)) {
            return false;
        }
    }
    return true;
}

void writeName(QXmlStreamWriter& x, const char* textKey, const char* hexKey, QByteArrayView name) {
    if (printable(name)) {
        x.writeAttribute(QLatin1String(textKey), QString::fromLatin1(name));
    } else {
        x.writeAttribute(QLatin1String(hexKey), QString::fromLatin1(name.toByteArray().toHex()));
    }
}

QString hexWord(uint32_t word) {
    return QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0')).toUpper();
}

QString hex(QByteArrayView bytes) {
    return QString::fromLatin1(bytes.toByteArray().toHex().toUpper());
}

void writeAttribute(QXmlStreamWriter& x, const AttributeView& a) {
    x.writeEmptyElement(QStringLiteral("ATTR"));
    writeName(x, "name", "namehex", a.name);
    x.writeAttribute(QStringLiteral("type"), hexWord(a.typeWord));
    x.writeAttribute(QStringLiteral("value"), hex(a.value));
}

}  // namespace

QByteArray packetToXml(const QByteArray& binaryPacket) {
    DSEXTRACT in;
    in.openPacket(QByteArrayView(binaryPacket));
    QByteArray out;
    QXmlStreamWriter x(&out);
    x.setAutoFormatting(true);
    x.writeStartDocument();
    x.writeStartElement(QStringLiteral("DATAPACKET"));
    x.writeAttribute(QStringLiteral("Version"), QStringLiteral("1.0"));
    x.writeStartElement(QStringLiteral("METADATA"));
    x.writeStartElement(QStringLiteral("FIELDS"));
    ColumnDescriptor d;
    AttributeView a;
    while (in.nextColumn(&d)) {
        x.writeStartElement(QStringLiteral("FIELD"));
        writeName(x, "attrname", "attrhex", d.name);
        x.writeAttribute(QStringLiteral("type"), hexWord(d.typeWord));
        x.writeAttribute(QStringLiteral("flags"), QString::number(d.flags));
        while (in.nextAttribute(&a)) {
            writeAttribute(x, a);
        }
        x.writeEndElement();
    }
    x.writeEndElement();  // FIELDS
    x.writeStartElement(QStringLiteral("PARAMS"));
    while (in.nextAttribute(&a)) {
        writeAttribute(x, a);
    }
    x.writeEndElement();  // PARAMS
    x.writeEndElement();  // METADATA
    x.writeStartElement(QStringLiteral("ROWDATA"));
    ExtractedValue v;
    bool open = false;
    while (in.nextValue(&v)) {
        if (v.column < 0) {
            if (open) {
                x.writeEndElement();
            }
            x.writeStartElement(QStringLiteral("ROW"));
            x.writeAttribute(QStringLiteral("status"), QString::number(v.rowStatus));
            open = true;
        } else if (v.state == ValueState::kBlank) {
            x.writeEmptyElement(QStringLiteral("B"));
        } else if (v.state == ValueState::kUnchanged) {
            x.writeEmptyElement(QStringLiteral("U"));
        } else {
            x.writeTextElement(QStringLiteral("V"), hex(v.bytes));
        }
    }
    if (open) {
        x.writeEndElement();
    }
    x.writeEndDocument();
    return out;
}

namespace {

struct XmlAttr {
    QByteArray name;
    uint32_t type = 0;
    QByteArray value;
};
struct XmlField {
    QByteArray name;
    uint32_t type = 0;
    uint16_t flags = 0;
    std::vector<XmlAttr> attrs;
};
struct XmlRow {
    uint8_t status = 0;
    std::vector<std::optional<QByteArray>> values;  // nullopt: blank
    std::vector<bool> unchanged;
};
struct XmlPacket {
    std::vector<XmlField> fields;
    std::vector<XmlAttr> params;
    std::vector<XmlRow> rows;
};

[[noreturn]] void notAPacket(const QString& why) {
    throw DatasetError(status::kNotAPacket, why);
}

QByteArray fromHexStrict(QStringView text) {
    if (text.size() % 2 != 0) {
        notAPacket(QStringLiteral("odd number of hex digits"));
    }
    for (const QChar c : text) {
        if (!isxdigit(c.unicode() < 128 ? c.unicode() : 'x')) {
            notAPacket(QStringLiteral("bad hex digit"));
        }
    }
    return QByteArray::fromHex(text.toLatin1());
}

uint32_t number(QStringView text, int base, uint32_t max) {
    bool ok = false;
    const qulonglong n = text.toULongLong(&ok, base);
    if (!ok || n > max) {
        notAPacket(QStringLiteral("bad number \"%1\"").arg(text));
    }
    return static_cast<uint32_t>(n);
}

QByteArray nameOf(const QXmlStreamAttributes& at, const char* textKey, const char* hexKey) {
    if (at.hasAttribute(QLatin1String(hexKey))) {
        return fromHexStrict(at.value(QLatin1String(hexKey)));
    }
    return at.value(QLatin1String(textKey)).toString().toLatin1();
}

XmlAttr readAttr(const QXmlStreamAttributes& at) {
    return {nameOf(at, "name", "namehex"), number(at.value(QLatin1String("type")), 16, 0xFFFFFFFF),
            fromHexStrict(at.value(QLatin1String("value")))};
}

void readElement(QXmlStreamReader& x, XmlPacket& p) {
    const QStringView tag = x.name();
    const QXmlStreamAttributes at = x.attributes();
    if (tag == QLatin1String("FIELD")) {
        p.fields.push_back(
            {nameOf(at, "attrname", "attrhex"),
             number(at.value(QLatin1String("type")), 16, 0xFFFFFFFF),
             static_cast<uint16_t>(number(at.value(QLatin1String("flags")), 10, 0xFFFF)),
             {}});
    } else if (tag == QLatin1String("ROW")) {
        p.rows.push_back(
            {static_cast<uint8_t>(number(at.value(QLatin1String("status")), 10, 0xFF)), {}, {}});
    }
}

XmlPacket parse(const QByteArray& xml) {
    QXmlStreamReader x(xml);
    XmlPacket p;
    std::vector<QString> path;
    while (!x.atEnd()) {
        const auto token = x.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QString tag = x.name().toString();
            const QString parent = path.empty() ? QString() : path.back();
            if (path.empty() && tag != QLatin1String("DATAPACKET")) {
                notAPacket(QStringLiteral("not a data packet"));
            }
            if (tag == QLatin1String("FIELD") || tag == QLatin1String("ROW")) {
                readElement(x, p);
            } else if (tag == QLatin1String("ATTR") && parent == QLatin1String("FIELD")) {
                p.fields.back().attrs.push_back(readAttr(x.attributes()));
            } else if (tag == QLatin1String("ATTR") && parent == QLatin1String("PARAMS")) {
                p.params.push_back(readAttr(x.attributes()));
            } else if (parent == QLatin1String("ROW")) {
                XmlRow& row = p.rows.back();
                if (tag == QLatin1String("V")) {
                    row.values.emplace_back(fromHexStrict(x.readElementText()));
                    row.unchanged.push_back(false);
                    continue;  // readElementText consumed the end element
                }
                row.values.emplace_back(std::nullopt);
                row.unchanged.push_back(tag == QLatin1String("U"));
            }
            path.push_back(tag);
        } else if (token == QXmlStreamReader::EndElement) {
            if (!path.empty()) {
                path.pop_back();
            }
        }
    }
    if (x.hasError()) {
        notAPacket(x.errorString());
    }
    return p;
}

}  // namespace

QByteArray packetFromXml(const QByteArray& xml) {
    const XmlPacket p = parse(xml);
    if (p.fields.empty()) {
        notAPacket(QStringLiteral("the packet has no fields"));
    }
    DSDATAPACKET w;
    w.beginPacket(static_cast<int>(p.fields.size()));
    for (const XmlField& f : p.fields) {
        w.addColumn(f.name, f.type, f.flags);
        for (const XmlAttr& a : f.attrs) {
            w.addAttribute(AttributeArea::kColumn, a.name, a.type, a.value);
        }
    }
    for (const XmlAttr& a : p.params) {
        w.addAttribute(AttributeArea::kPacket, a.name, a.type, a.value);
    }
    w.closeMetadata();
    for (const XmlRow& row : p.rows) {
        if (row.values.size() != p.fields.size()) {
            notAPacket(QStringLiteral("a row does not match the fields"));
        }
        const char rowStatus = static_cast<char>(row.status);
        w.putValue(QByteArrayView(&rowStatus, 1));
        for (size_t j = 0; j < row.values.size(); ++j) {
            if (row.values[j]) {
                w.putValue(*row.values[j]);
            } else if (row.unchanged[j]) {
                w.putUnchanged();
            } else {
                w.putBlank();
            }
        }
    }
    return w.finishPacket();
}

}  // namespace quillmere
