#pragma once

#include "image/TiffBlock.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zentrova {

// A field to put into the Exif sub-directory; the count follows from the value's size and the type.
struct ExifField {
    uint16_t tag = 0;
    uint16_t type = TiffType::BYTE;
    QByteArray value;
};

struct ExifChange {
    std::vector<uint16_t> removeEverywhere; // dropped from every directory (their old bytes are zeroed)
    std::vector<ExifField> addToExif;       // added to the Exif sub-directory, replacing fields with the tag
};

// The append-only EXIF writer. Existing bytes never move: the changed directories are written anew after
// the end of the block (old entries copied verbatim, ours added, sorted by tag), followed by the new values,
// and the pointers to them are redirected. The tail an earlier call appended is recognised and replaced,
// so repeated writes do not grow the block. Without an old block a fresh little-endian one is built.
namespace ExifPatcher {
// The new TIFF data, or no result with a message (a result over JpegHeader::MAX_TIFF_SIZE is refused,
// as is a block whose pointers cannot be redirected safely).
std::optional<QByteArray> apply(const TiffBlock* old, const ExifChange& change, QString* error, bool* tooLarge = nullptr);
// Where the tail of our own earlier write starts, or the block size when there is none.
uint32_t ownTailStart(const TiffBlock& block);
} // namespace ExifPatcher

} // namespace zentrova
