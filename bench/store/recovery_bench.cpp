// The recovery log: appending one stored entry of 2 KB and forcing it to
// disk, against the same append without the flush as a yardstick measured in
// the same run; and what a draft costs the thread that hands it over.
#include "store/journal_session.h"
#include "store/recovery_log.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace quillmere;

QByteArray entryBytes(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char& c : bytes) {
        c = static_cast<char>(random.bounded(256));
    }
    return bytes;
}

void BM_AppendStoredEntryDurably(benchmark::State& state) {
    QTemporaryDir dir;
    RecoveryLog log(dir.filePath(QString::fromLatin1(kRecoveryFileName)));
    const RecoveryRecord record{
        RecoveryKind::kStored, 45371.0, entryBytes(static_cast<int>(state.range(0))), {}};
    for (auto _ : state) {
        log.append(record);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AppendStoredEntryDurably)->Arg(2048)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same record bytes appended without a flush: the cost of the disk alone
// is the difference.
void BM_AppendWithoutFlush(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray path = dir.filePath(QStringLiteral("plain.log")).toLocal8Bit();
    const QByteArray bytes = EncodeRecoveryRecord(
        {RecoveryKind::kStored, 45371.0, entryBytes(static_cast<int>(state.range(0))), {}});
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT, 0600);
        benchmark::DoNotOptimize(::write(fd, bytes.constData(), static_cast<size_t>(bytes.size())));
        ::close(fd);
    }
}
BENCHMARK(BM_AppendWithoutFlush)->Arg(2048)->Unit(benchmark::kMillisecond)->UseRealTime();

// What typing waits for when a draft is handed over: the worker compresses
// and writes it.
void BM_HandOverDraft(benchmark::State& state) {
    QTemporaryDir dir;
    JournalSession session(dir.path());
    QByteArray rtf = "{\\rtf1\\ansi " + QByteArray(static_cast<int>(state.range(0)), 'a') + "}";
    int n = 0;
    for (auto _ : state) {
        rtf[12] = static_cast<char>('a' + (++n % 26));  // never the same text twice
        session.saveDraft(rtf);
    }
    // After the timed loop: the worker finishes what it was handed.
    session.waitForDrafts();
}
BENCHMARK(BM_HandOverDraft)->Arg(2048)->Arg(65536)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
