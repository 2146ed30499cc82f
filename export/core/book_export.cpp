#include "export/core/book_export.h"

#include "editor/rtf/rtf.h"
#include "export/core/book_writers.h"
#include "store/day.h"
#include "store/day_caption.h"
#include "store/entry_codec.h"
#include "store/errors.h"
#include "store/file_access.h"
#include "store/journal_table.h"

#include <QFileInfo>
#include <QTextDocument>

namespace quillmere {

namespace {

constexpr char kBookBaseName[] = "Diary";

struct FormNames {
    ExportForm form;
    const char* key;
    const char* extension;
};

constexpr FormNames kForms[] = {
    {ExportForm::kRtfFiles, "rtf", "rtf"},
    {ExportForm::kHtml, "html", "html"},
    {ExportForm::kMarkdown, "md", "md"},
    {ExportForm::kPdf, "pdf", "pdf"},
};

const FormNames& namesOf(ExportForm form) {
    for (const FormNames& names : kForms) {
        if (names.form == form) {
            return names;
        }
    }
    return kForms[0];
}

std::unique_ptr<book::BookWriter> writerOf(ExportForm form, const QString& path,
                                           const QString& title, const QPageSize& pageSize) {
    switch (form) {
        case ExportForm::kMarkdown:
            return book::makeMarkdownBook(title, path);
        case ExportForm::kPdf:
            return book::makePdfBook(title, pageSize);
        default:
            return book::makeHtmlBook(title);
    }
}

bool hasFrom(const DayRange& days) {
    return days.from != -std::numeric_limits<double>::infinity();
}
bool hasTo(const DayRange& days) {
    return days.to != std::numeric_limits<double>::infinity();
}

// Reads one record into the book. Throws Error (zlib's or the reader's
// message) when the entry cannot be read.
void addRecord(const JournalTable& journal, int index, book::BookWriter& writer) {
    const QByteArray bytes = DecodeEntryContent(journal.entryAt(index));
    QTextDocument doc;
    rtf::loadEntryBytes(bytes, doc);
    writer.addDay(dateFromDay(journal.dayAt(index)), book::paragraphsOf(doc));
}

}  // namespace

QString ExportFormKey(ExportForm form) {
    return QString::fromLatin1(namesOf(form).key);
}

std::optional<ExportForm> ExportFormOfKey(const QString& key) {
    for (const FormNames& names : kForms) {
        if (key == QLatin1String(names.key)) {
            return names.form;
        }
    }
    return std::nullopt;
}

QString BookFileName(ExportForm form, const DayRange& days) {
    QString name = QLatin1String(kBookBaseName);
    if (hasFrom(days) && hasTo(days)) {
        name += QStringLiteral("_%1_%2").arg(isoTextOfDay(days.from), isoTextOfDay(days.to));
    } else if (hasFrom(days)) {
        name += QStringLiteral("_from_%1").arg(isoTextOfDay(days.from));
    } else if (hasTo(days)) {
        name += QStringLiteral("_to_%1").arg(isoTextOfDay(days.to));
    }
    return name + QLatin1Char('.') + QLatin1String(namesOf(form).extension);
}

QString BookTitle(const DayRange& days) {
    QString title = QStringLiteral("Quillmere diary");
    const auto caption = [](double day) { return DayCaption(dateFromDay(day)); };
    if (hasFrom(days) && hasTo(days)) {
        title += QStringLiteral(", %1 to %2").arg(caption(days.from), caption(days.to));
    } else if (hasFrom(days)) {
        title += QStringLiteral(", from %1").arg(caption(days.from));
    } else if (hasTo(days)) {
        title += QStringLiteral(", to %1").arg(caption(days.to));
    }
    return title;
}

QPageSize BookPageSize(const QLocale& locale) {
    return book::pageSizeOfLocale(locale);
}

ExportSummary ExportBook(const JournalTable& journal, const QString& path, ExportForm form,
                         const ExportCallbacks& callbacks, const DayRange& days,
                         const QPageSize& pageSize) {
    ExportSummary summary;
    summary.bookPath = path;
    const auto endWith = [&summary](const QString& message) {
        summary.end = ExportEnd::kFolderFailed;
        summary.folderError = message;
        return summary;
    };
    const QString folder = QFileInfo(path).absolutePath();
    if (const QString problem = ExportFolderProblem(folder); !problem.isEmpty()) {
        return endWith(problem);
    }
    try {
        if (fileAccess().status(path).kind != FileKind::kMissing &&
            !callbacks.confirmOverwrite(path)) {
            summary.skipped = 1;
            return summary;
        }
    } catch (const Error& e) {
        return endWith(e.message());
    }
    const std::unique_ptr<book::BookWriter> writer =
        writerOf(form, path, BookTitle(days), pageSize);
    const int first = RecordsOfRange(journal, days).first;
    for (int index = first; index < journal.recordCount(); ++index) {
        const double day = journal.dayAt(index);
        if (!days.contains(day)) {
            break;
        }
        bool stop = false;
        try {
            addRecord(journal, index, *writer);
            ++summary.written;
        } catch (const Error& e) {
            ++summary.failed;
            summary.failedDays.push_back(day);
            stop = callbacks.entryFailed(day, e.message()) == FailureAnswer::kStop;
        }
        if (FinishExportStep(summary, callbacks,
                             stop ? std::optional(ExportEnd::kStopped) : std::nullopt)) {
            return summary;
        }
    }
    try {
        writer->write(path);
    } catch (const Error& e) {
        summary.written = 0;
        return endWith(e.message());
    }
    return summary;
}

}  // namespace quillmere
