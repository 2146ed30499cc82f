// Realistic sample journals for benchmarks and tests.
#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

namespace quillmere::journaltool {

// The first day of a generated journal: 1 January 2000.
double generatedFirstDay();

// A simple RTF document (font table, paragraphs, now and then a bold word) of
// about `size` bytes of words drawn from a varied vocabulary.
QByteArray sampleEntryRtf(QRandomGenerator& random, int size);

// Creates a journal at `path` holding `days` consecutive days from
// generatedFirstDay(), each entry sampleEntryRtf(size) encoded as the program
// stores it. Throws Error when the file already exists (a diary is never
// overwritten), FileError when it cannot be written.
void generateJournal(const QString& path, int days, quint32 seed, int size);

}  // namespace quillmere::journaltool
