// An encrypted journal of 100 years (36 500 days, about 2 KB of RTF a day)
// against the same journal plain, in the same run: opening (read, decrypt,
// loadPacket, date index) with the key already derived, the key derivation
// on its own, writing (savePacket, encrypt, safe write), a day lookup on the
// opened table, and encoding one 2 KB recovery log record with and without
// encryption (the flush to disk, the same for both, aside); and the journal's
// part of the program's start as the program does it: the read ahead, the
// opening that finds the journal encrypted, the opening with the key (its
// derivation aside).
//
// CPU time is the process's, so the second thread that opens half of a
// large encrypted file counts as well.
#include "generated_journals.h"

#include "crypto/journal_cipher.h"
#include "store/file_access.h"
#include "store/journal_session.h"
#include "store/journal_table.h"
#include "store/packet_preload.h"
#include "store/recovery_log.h"
#include "tools/journal/journal_generate.h"

#include <QDir>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <memory>

using namespace quillmere;

namespace {

constexpr int kDays = 36500;

const std::shared_ptr<const crypto::JournalCipher>& cipher() {
    static const std::shared_ptr<const crypto::JournalCipher> c =
        crypto::JournalCipher::create(QStringLiteral("benchmark password"));
    return c;
}

// The generated journal encrypted, written once per run.
QString sealedJournal() {
    static const QString path = [] {
        const QString out = bench::scratchFolder().filePath(QStringLiteral("sealed.cds"));
        const QByteArray plain = fileAccess().readAll(bench::generatedJournal(kDays));
        fileAccess().writeAtomic(out, cipher()->sealFile(plain));
        return out;
    }();
    return path;
}

void openJournal(benchmark::State& state, const QString& path,
                 const std::shared_ptr<const FileCipher>& with) {
    for (auto _ : state) {
        JournalTable journal;
        journal.setCipher(with);
        journal.OpenJournal(path);
        benchmark::DoNotOptimize(journal.recordCount());
        journal.abandon();
    }
}

void BM_OpenPlain(benchmark::State& state) {
    openJournal(state, bench::generatedJournal(kDays), nullptr);
}
BENCHMARK(BM_OpenPlain)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_OpenEncrypted(benchmark::State& state) {
    openJournal(state, sealedJournal(), cipher());
}
BENCHMARK(BM_OpenEncrypted)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

// A data folder holding `journal` as its "Journal.cds", made once per run.
QString folderWith(const QString& journal, const QString& name) {
    const QString folder = bench::scratchFolder().filePath(name);
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QString::fromLatin1(kJournalFileName));
    if (!fileAccess().exists(path)) {
        fileAccess().writeAtomic(path, fileAccess().readAll(journal));
    }
    return folder;
}

// The start: the read ahead begun first thing, the session's opening, and
// for an encrypted journal the opening again once the login has the key.
void startJournal(benchmark::State& state, const QString& folder,
                  const std::shared_ptr<const FileCipher>& with) {
    const QString path = QDir(folder).filePath(QString::fromLatin1(kJournalFileName));
    for (auto _ : state) {
        PreloadDataFile(path);
        JournalSession session(folder);
        session.OpenJournal();
        if (with) {
            if (!session.journalLocked()) {
                state.SkipWithError("the encrypted journal opened without its key");
                break;
            }
            session.unlock(with);
        }
        benchmark::DoNotOptimize(session.journal().recordCount());
    }
}

void BM_StartPlain(benchmark::State& state) {
    startJournal(state, folderWith(bench::generatedJournal(kDays), QStringLiteral("start-plain")),
                 nullptr);
}
BENCHMARK(BM_StartPlain)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_StartEncrypted(benchmark::State& state) {
    startJournal(state, folderWith(sealedJournal(), QStringLiteral("start-sealed")), cipher());
}
BENCHMARK(BM_StartEncrypted)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_DeriveKey(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(crypto::JournalCipher::create(QStringLiteral("a password")));
    }
}
BENCHMARK(BM_DeriveKey)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void writeJournal(benchmark::State& state, const std::shared_ptr<const FileCipher>& with) {
    JournalTable journal;
    journal.OpenJournal(bench::generatedJournal(kDays));
    // The table writes to its own path; a copy is written in the scratch
    // folder instead, as at the end of a run.
    JournalTable copy;
    copy.setCipher(with);
    copy.OpenJournal(bench::scratchFolder().filePath(QStringLiteral("written.cds")));
    for (int i = 0; i < journal.recordCount(); ++i) {
        const QByteArray blob = journal.entryAt(i);
        copy.StoreDay(journal.dayAt(i), [&blob] { return blob; });
    }
    journal.abandon();
    for (auto _ : state) {
        benchmark::DoNotOptimize(copy.saveAlways());
    }
    copy.abandon();
}

void BM_WritePlain(benchmark::State& state) {
    writeJournal(state, nullptr);
}
BENCHMARK(BM_WritePlain)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void BM_WriteEncrypted(benchmark::State& state) {
    writeJournal(state, cipher());
}
BENCHMARK(BM_WriteEncrypted)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();

void lookUp(benchmark::State& state, const QString& path,
            const std::shared_ptr<const FileCipher>& with) {
    JournalTable journal;
    journal.setCipher(with);
    journal.OpenJournal(path);
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            journal.find(journaltool::generatedFirstDay() + (i++ * 7919) % kDays));
    }
    journal.abandon();
}

void BM_LookupPlain(benchmark::State& state) {
    lookUp(state, bench::generatedJournal(kDays), nullptr);
}
BENCHMARK(BM_LookupPlain);

void BM_LookupEncrypted(benchmark::State& state) {
    lookUp(state, sealedJournal(), cipher());
}
BENCHMARK(BM_LookupEncrypted);

RecoveryRecord record2k() {
    QByteArray bytes(2048, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char& c : bytes) {
        c = static_cast<char>(random.bounded(256));
    }
    return {RecoveryKind::kStored, 45371.0, bytes, {}};
}

void BM_LogRecordPlain(benchmark::State& state) {
    const RecoveryRecord record = record2k();
    for (auto _ : state) {
        benchmark::DoNotOptimize(EncodeRecoveryRecord(record));
    }
}
BENCHMARK(BM_LogRecordPlain)->Unit(benchmark::kMicrosecond);

void BM_LogRecordEncrypted(benchmark::State& state) {
    const RecoveryRecord record = record2k();
    uint64_t offset = 72;
    for (auto _ : state) {
        const QByteArray bytes = EncodeSealedRecoveryRecord(record, *cipher(), offset);
        offset += static_cast<uint64_t>(bytes.size());
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_LogRecordEncrypted)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
