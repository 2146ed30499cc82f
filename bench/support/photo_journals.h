// Generated journals of photographs for the benchmarks: each day a few words
// and one 12-megapixel JPEG (4000x3000, about 2.6 MB) stored as an inserted
// photo is, its bytes raw in the entry (\binN). One JPEG is encoded per run;
// each day's copy differs by a comment segment naming the day, so no two
// entries are the same.
#pragma once

#include <QByteArray>
#include <QString>

namespace quillmere::bench {

// The synthetic photograph: smooth light with grain, as a camera gives.
// Made once per run.
const QByteArray& samplePhotoJpeg();

// The entry RTF of photo day `index`: a line of text naming the day (and the
// word "sunrise" on every day) and the photo.
QByteArray photoEntryRtf(int index);

// The path of a generated journal of `days` photo days in the run's scratch
// folder, written on the first call for that size (a few dozen days at a
// time, so that generating never holds the whole diary), or the file
// QUILLMERE_PHOTO_JOURNAL names when it exists. Throws
// quillmere::Error when it cannot be written.
QString generatedPhotoJournal(int days);

}  // namespace quillmere::bench
