#include "image/TiffBlock.h"

#include <algorithm>

namespace zentrova {

unsigned TiffType::sizeOf(uint16_t type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: case 13: return 4;
    case 5: case 10: case 12: return 8;
    default: return 0;
    }
}

const TiffEntry* TiffIfd::find(uint16_t tag) const
{
    for (const TiffEntry& e : entries)
        if (e.tag == tag)
            return &e;
    return nullptr;
}

uint16_t TiffBlock::read16(uint32_t pos) const
{
    auto p = reinterpret_cast<const uint8_t*>(data.constData()) + pos;
    return big ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
}

uint32_t TiffBlock::read32(uint32_t pos) const
{
    auto p = reinterpret_cast<const uint8_t*>(data.constData()) + pos;
    return big ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
               : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

static bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

bool TiffBlock::parse(const QByteArray& block, QString* error)
{
    data = block;
    ifds.clear();
    visited.clear();
    repeats.clear();
    if (data.size() < 8)
        return fail(error, QStringLiteral("EXIF block too short"));
    if (data.startsWith("II"))
        big = false;
    else if (data.startsWith("MM"))
        big = true;
    else
        return fail(error, QStringLiteral("EXIF block has no byte order mark"));
    if (read16(2) != 42)
        return fail(error, QStringLiteral("EXIF block is not TIFF data"));
    if (!readIfd(read32(4), 4, IfdKind::IFD0, 0, error))
        return false;
    // The chain after IFD0 (IFD1 holds the thumbnail). Sub-directories were read with their parent.
    for (std::size_t i = 0; i < ifds.size(); ++i) {
        if (ifds[i].kind != IfdKind::IFD0 && ifds[i].kind != IfdKind::CHAINED)
            continue;
        const uint32_t next = ifds[i].next;
        if (next == 0 || int(ifds.size()) >= MAX_DIRECTORIES)
            continue;
        if (std::find(visited.begin(), visited.end(), next) != visited.end()) {
            repeats.push_back({ifds[i].nextLinkPos, next}); // a loop back to a directory already read
            continue;
        }
        QString ignored;
        readIfd(next, ifds[i].nextLinkPos, IfdKind::CHAINED, 1, &ignored); // a damaged IFD1 is skipped
    }
    return true;
}

bool TiffBlock::readIfd(uint32_t pos, uint32_t parentPointerPos, IfdKind kind, int depth, QString* error)
{
    const uint32_t size = uint32_t(data.size());
    if (pos < 8 || uint64_t(pos) + 2 > size)
        return fail(error, QStringLiteral("EXIF directory offset out of range"));
    const uint32_t count = read16(pos);
    if (uint64_t(pos) + 2 + 12ull * count + 4 > size)
        return fail(error, QStringLiteral("EXIF directory runs past the end of the block"));
    visited.push_back(pos);

    TiffIfd ifd;
    ifd.kind = kind;
    ifd.pos = pos;
    ifd.parentPointerPos = parentPointerPos;
    ifd.entries.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        TiffEntry e;
        e.entryPos = pos + 2 + 12 * i;
        e.tag = read16(e.entryPos);
        e.type = read16(e.entryPos + 2);
        e.count = read32(e.entryPos + 4);
        e.valueField = read32(e.entryPos + 8);
        const unsigned unit = TiffType::sizeOf(e.type);
        const uint64_t bytes = uint64_t(unit) * e.count;
        if (unit != 0 && bytes <= size) {
            e.valueSize = uint32_t(bytes);
            e.valuePos = bytes <= 4 ? e.entryPos + 8 : e.valueField;
            e.valueValid = uint64_t(e.valuePos) + bytes <= size;
        }
        ifd.entries.push_back(e);
    }
    ifd.nextLinkPos = pos + 2 + 12 * count;
    ifd.next = read32(ifd.nextLinkPos);
    ifds.push_back(ifd);

    // Follow the standard sub-directory pointers, each at most once.
    if (depth >= 2)
        return true;
    const std::vector<TiffEntry> entries = ifds.back().entries;
    for (const TiffEntry& e : entries) {
        IfdKind sub;
        if (e.tag == ExifTag::EXIF_IFD_POINTER && (kind == IfdKind::IFD0))
            sub = IfdKind::EXIF;
        else if (e.tag == ExifTag::GPS_IFD_POINTER && kind == IfdKind::IFD0)
            sub = IfdKind::GPS;
        else if (e.tag == ExifTag::INTEROP_IFD_POINTER && kind == IfdKind::EXIF)
            sub = IfdKind::INTEROP;
        else
            continue;
        if ((e.type != TiffType::LONG && e.type != TiffType::IFD) || e.count != 1)
            continue;
        if (int(ifds.size()) >= MAX_DIRECTORIES || directory(sub))
            continue;
        if (std::find(visited.begin(), visited.end(), e.valueField) != visited.end()) {
            repeats.push_back({e.entryPos + 8, e.valueField});
            continue;
        }
        QString subError;
        if (!readIfd(e.valueField, e.entryPos + 8, sub, depth + 1, &subError) && sub == IfdKind::EXIF)
            return fail(error, subError); // without a readable Exif directory there is nothing to trust
    }
    return true;
}

const TiffIfd* TiffBlock::directory(IfdKind kind) const
{
    for (const TiffIfd& ifd : ifds)
        if (ifd.kind == kind)
            return &ifd;
    return nullptr;
}

const TiffEntry* TiffBlock::findFirst(uint16_t tag) const
{
    for (const TiffIfd& ifd : ifds)
        if (const TiffEntry* e = ifd.find(tag))
            return e;
    return nullptr;
}

QByteArray TiffBlock::value(const TiffEntry& e) const
{
    if (!e.valueValid)
        return {};
    return data.mid(qsizetype(e.valuePos), qsizetype(e.valueSize));
}

} // namespace zentrova
