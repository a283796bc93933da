// Fuzz target: the JPEG header walk, the TIFF reader and the append-only patcher.
// The first input byte chooses the path: even walks the rest as a JPEG file, odd reads it as TIFF data
// and, when that succeeds, writes album names or a date into it and reads the result back.
#include "image/ExifPatcher.h"
#include "image/JpegSegments.h"
#include "image/TiffBlock.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

using namespace zentrova;

namespace {

void walkJpeg(const std::uint8_t* data, size_t size)
{
    const int fd = memfd_create("fuzz", 0);
    if (fd < 0)
        return;
    if (::write(fd, data, size) == ssize_t(size)) {
        for (auto walk : {JpegHeader::Walk::UNTIL_EXIF, JpegHeader::Walk::UNTIL_SCAN}) {
            JpegHeader header;
            if (header.read(fd, walk, nullptr) && header.hasExif()) {
                if (header.exifStart < 2 || header.exifEnd > qint64(size) || header.exifEnd > header.head.size())
                    abort();
                TiffBlock block;
                block.parse(header.exifTiff());
            }
        }
    }
    ::close(fd);
}

void patchTiff(const std::uint8_t* data, size_t size, bool date)
{
    TiffBlock block;
    if (!block.parse(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        return;
    ExifChange change;
    if (date) {
        change.removeEverywhere = {ExifTag::CREATE_DATE, ExifTag::DATE_TIME_ORIGINAL};
        change.addToExif = {{ExifTag::CREATE_DATE, TiffType::ASCII, "2010:03:05 14:22:10"},
                            {ExifTag::DATE_TIME_ORIGINAL, TiffType::ASCII, "2010:03:05 14:22:10"}};
    } else {
        change.removeEverywhere = {ExifTag::USER_COMMENT};
        change.addToExif = {{ExifTag::USER_COMMENT, TiffType::BYTE, "TolvexAlbumTags:Holiday,Family"}};
    }
    const std::optional<QByteArray> out = ExifPatcher::apply(&block, change, nullptr);
    if (!out)
        return;
    TiffBlock result;
    if (!result.parse(*out) || out->size() > JpegHeader::MAX_TIFF_SIZE)
        abort();
    const TiffIfd* exif = result.directory(IfdKind::EXIF);
    for (const ExifField& f : change.addToExif) {
        const TiffEntry* e = exif ? exif->find(f.tag) : nullptr;
        if (!e || result.value(*e) != f.value)
            abort();
    }
    // A second write replaces our tail: the block does not grow.
    const std::optional<QByteArray> again = ExifPatcher::apply(&result, change, nullptr);
    if (!again || again->size() > out->size())
        abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] % 2 == 0)
        walkJpeg(data + 1, size - 1);
    else
        patchTiff(data + 1, size - 1, data[0] & 2);
    return 0;
}
