#include "image/ExifPatcher.h"

#include "image/JpegSegments.h"

#include <algorithm>

namespace zentrova {

namespace {

bool isOwnTag(uint16_t tag)
{
    return tag == ExifTag::CREATE_DATE || tag == ExifTag::DATE_TIME_ORIGINAL || tag == ExifTag::USER_COMMENT;
}

bool outOfLine(const TiffEntry& e)
{
    return e.valueValid && e.valueSize > 4;
}

struct Range {
    uint32_t start;
    uint32_t end;
};

// One entry of a directory being written.
struct OutEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    uint32_t oldEntryPos = 0;  // the entry copied verbatim, 0 for a new one
    bool hasOldEntry = false;
    bool placeValue = false;   // the value bytes go into the new tail (or inline)
    QByteArray value;
    int pointsToDir = -1;      // the value field holds the new offset of that output directory
};

struct OutDir {
    const TiffIfd* old = nullptr;
    IfdKind kind = IfdKind::IFD0;
    std::vector<OutEntry> entries;
    uint32_t next = 0;
    int nextPointsToDir = -1;
    uint32_t newPos = 0;
};

class Writer {
public:
    Writer(QByteArray& out, bool big) : out(out), big(big) {}
    void put16(uint32_t pos, uint16_t v)
    {
        auto p = reinterpret_cast<uint8_t*>(out.data()) + pos;
        if (big) { p[0] = uint8_t(v >> 8); p[1] = uint8_t(v); }
        else { p[1] = uint8_t(v >> 8); p[0] = uint8_t(v); }
    }
    void put32(uint32_t pos, uint32_t v)
    {
        auto p = reinterpret_cast<uint8_t*>(out.data()) + pos;
        if (big) { p[0] = uint8_t(v >> 24); p[1] = uint8_t(v >> 16); p[2] = uint8_t(v >> 8); p[3] = uint8_t(v); }
        else { p[3] = uint8_t(v >> 24); p[2] = uint8_t(v >> 16); p[1] = uint8_t(v >> 8); p[0] = uint8_t(v); }
    }
private:
    QByteArray& out;
    bool big;
};

bool fail(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

uint32_t ExifPatcher::ownTailStart(const TiffBlock& block)
{
    const uint32_t size = uint32_t(block.bytes().size());
    std::vector<uint32_t> candidates;
    for (const TiffIfd& d : block.directories())
        candidates.push_back(d.pos);
    std::sort(candidates.begin(), candidates.end());

    for (uint32_t t : candidates) {
        bool ok = true;
        std::vector<Range> tail;
        for (const TiffIfd& d : block.directories()) {
            // Any directory may sit in our tail: we rewrite every one that lost a field or that lies there.
            if (d.pos >= t) {
                tail.push_back({d.pos, d.pos + d.byteSize()});
            } else if (d.pos + d.byteSize() > t) {
                ok = false;
                break;
            }
            for (const TiffEntry& e : d.entries) {
                if (!outOfLine(e))
                    continue;
                if (e.valuePos >= t) {
                    // Only values we write ourselves may sit in our tail, and only under directories we rewrite.
                    if (d.pos < t || !isOwnTag(e.tag)) { ok = false; break; }
                    tail.push_back({e.valuePos, e.valuePos + e.valueSize});
                } else if (e.valuePos + e.valueSize > t) {
                    ok = false;
                    break;
                }
            }
            if (!ok)
                break;
            if (const TiffEntry* off = d.find(ExifTag::THUMBNAIL_OFFSET)) {
                const TiffEntry* len = d.find(ExifTag::THUMBNAIL_LENGTH);
                if (len && uint64_t(off->valueField) + len->valueField > t && off->valueField < size) {
                    ok = false;
                    break;
                }
            }
        }
        if (!ok)
            continue;
        // Our tail is exactly our directories and values, with at most one alignment byte between them.
        std::sort(tail.begin(), tail.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
        uint32_t cur = t;
        for (const Range& r : tail) {
            if (r.start < cur || r.start - cur > 1) { ok = false; break; }
            cur = r.end;
        }
        if (ok && size - cur <= 1)
            return t;
    }
    return size;
}

std::optional<QByteArray> ExifPatcher::apply(const TiffBlock* old, const ExifChange& change, QString* error, bool* tooLarge)
{
    if (tooLarge)
        *tooLarge = false;
    const bool big = old ? old->bigEndian() : false;
    QByteArray out;
    uint32_t tail;
    if (old) {
        tail = ownTailStart(*old);
        out = old->bytes().left(qsizetype(tail));
    } else {
        out = QByteArray("II*\0\x08\0\0\0", 8);
        tail = 8;
    }
    Writer w(out, big);
    auto removed = [&](uint16_t tag) {
        return std::find(change.removeEverywhere.begin(), change.removeEverywhere.end(), tag) != change.removeEverywhere.end()
            || std::any_of(change.addToExif.begin(), change.addToExif.end(), [tag](const ExifField& f) { return f.tag == tag; });
    };

    // Which directories are written anew: the Exif one always, any other that loses a field or sits in our tail.
    std::vector<OutDir> dirs;
    auto addDir = [&](const TiffIfd* d, IfdKind kind) {
        OutDir o;
        o.old = d;
        o.kind = kind;
        if (d) {
            o.next = d->next;
            for (const TiffEntry& e : d->entries) {
                if (removed(e.tag))
                    continue;
                OutEntry oe;
                oe.tag = e.tag;
                oe.type = e.type;
                oe.count = e.count;
                oe.oldEntryPos = e.entryPos;
                oe.hasOldEntry = true;
                if (outOfLine(e) && e.valuePos >= tail) {
                    oe.placeValue = true;
                    oe.value = old->value(e);
                }
                o.entries.push_back(oe);
            }
        }
        dirs.push_back(std::move(o));
        return int(dirs.size()) - 1;
    };
    const TiffIfd* oldIfd0 = old ? old->directory(IfdKind::IFD0) : nullptr;
    const TiffIfd* oldExif = old ? old->directory(IfdKind::EXIF) : nullptr;
    const int exifDir = addDir(oldExif, IfdKind::EXIF);
    int ifd0Dir = -1;
    if (old) {
        for (const TiffIfd& d : old->directories()) {
            if (&d == oldExif)
                continue;
            const bool losesField = std::any_of(d.entries.begin(), d.entries.end(), [&](const TiffEntry& e) { return removed(e.tag); });
            const bool needsPointer = &d == oldIfd0 && !oldExif;
            if (losesField || needsPointer || d.pos >= tail) {
                const int i = addDir(&d, d.kind);
                if (&d == oldIfd0)
                    ifd0Dir = i;
            }
        }
    } else {
        ifd0Dir = addDir(nullptr, IfdKind::IFD0);
    }

    // Our fields, in the order given; a second field with the same tag replaces the first.
    for (const ExifField& f : change.addToExif) {
        const unsigned unit = TiffType::sizeOf(f.type);
        if (unit == 0 || f.value.size() % unit != 0) {
            fail(error, QStringLiteral("EXIF field 0x%1 has an invalid value").arg(f.tag, 4, 16, QLatin1Char('0')));
            return std::nullopt;
        }
        auto& entries = dirs[exifDir].entries;
        entries.erase(std::remove_if(entries.begin(), entries.end(), [&](const OutEntry& e) { return e.tag == f.tag && !e.hasOldEntry; }),
                      entries.end());
        OutEntry e;
        e.tag = f.tag;
        e.type = f.type;
        e.count = uint32_t(f.value.size() / unit);
        e.placeValue = true;
        e.value = f.value;
        entries.push_back(e);
    }
    if (!oldExif) {
        // A pointer entry that led nowhere readable gives way to ours, so readers find one Exif directory.
        auto& entries = dirs[ifd0Dir].entries;
        entries.erase(std::remove_if(entries.begin(), entries.end(), [](const OutEntry& e) { return e.tag == ExifTag::EXIF_IFD_POINTER; }),
                      entries.end());
        OutEntry p;
        p.tag = ExifTag::EXIF_IFD_POINTER;
        p.type = TiffType::LONG;
        p.count = 1;
        p.pointsToDir = exifDir;
        dirs[ifd0Dir].entries.push_back(p);
    }

    // Redirect the pointer to every rewritten directory: inside another rewritten one, or in place.
    auto redirect = [&](int target) -> bool {
        const TiffIfd* d = dirs[target].old;
        if (!d)
            return true; // a new directory is reached through its new pointer entry
        const uint32_t p = d->parentPointerPos;
        for (OutDir& r : dirs) {
            if (!r.old || p < r.old->pos || p >= r.old->pos + r.old->byteSize())
                continue;
            if (p == r.old->nextLinkPos) {
                r.nextPointsToDir = target;
                return true;
            }
            for (OutEntry& e : r.entries)
                if (e.hasOldEntry && e.oldEntryPos + 8 == p) {
                    e.pointsToDir = target;
                    return true;
                }
            return false;
        }
        return p + 4 <= tail; // patched in place below, once the new position is known
    };
    // A directory reached by a second link would be left behind at its old place by that link.
    for (const TiffBlock::Link& link : old ? old->repeatedLinks() : std::vector<TiffBlock::Link>{})
        for (const OutDir& d : dirs)
            if (d.old && d.old->pos == link.target) {
                fail(error, QStringLiteral("EXIF directory at %1 is linked twice").arg(link.target));
                return std::nullopt;
            }
    for (int i = 0; i < int(dirs.size()); ++i)
        if (!redirect(i)) {
            fail(error, QStringLiteral("EXIF directory pointer cannot be redirected"));
            return std::nullopt;
        }
    // Directories that share bytes cannot be changed one at a time without damaging each other; nor can
    // a directory named by two pointers of the same kind (only one of them would follow the move).
    if (old) {
        for (const TiffIfd& d : old->directories())
            for (uint16_t tag : {ExifTag::EXIF_IFD_POINTER, ExifTag::GPS_IFD_POINTER, ExifTag::INTEROP_IFD_POINTER})
                if (std::count_if(d.entries.begin(), d.entries.end(), [tag](const TiffEntry& e) { return e.tag == tag; }) > 1) {
                    fail(error, QStringLiteral("EXIF directory holds two pointers 0x%1").arg(tag, 4, 16, QLatin1Char('0')));
                    return std::nullopt;
                }
        const auto& all = old->directories();
        for (std::size_t i = 0; i < all.size(); ++i)
            for (std::size_t j = i + 1; j < all.size(); ++j)
                if (all[i].pos < all[j].pos + all[j].byteSize() && all[j].pos < all[i].pos + all[i].byteSize()) {
                    fail(error, QStringLiteral("EXIF directories overlap"));
                    return std::nullopt;
                }
    }
    // A kept field whose value lay past the end would, once we append, read our new bytes as its value.
    if (old) {
        for (const TiffIfd& d : old->directories())
            for (const TiffEntry& e : d.entries) {
                const uint64_t bytes = uint64_t(TiffType::sizeOf(e.type)) * e.count;
                if (!removed(e.tag) && !e.valueValid && bytes > 4 && bytes <= 0x10000 && e.valueField + bytes > tail
                    && e.valueField <= 0x10000) {
                    fail(error, QStringLiteral("EXIF field 0x%1 points past the end of the block").arg(e.tag, 4, 16, QLatin1Char('0')));
                    return std::nullopt;
                }
            }
        for (const TiffIfd& d : old->directories()) {
            const TiffEntry* off = d.find(ExifTag::THUMBNAIL_OFFSET);
            const TiffEntry* len = d.find(ExifTag::THUMBNAIL_LENGTH);
            if (off && len && off->valueField <= 0x10000 && uint64_t(off->valueField) + len->valueField > tail) {
                fail(error, QStringLiteral("EXIF thumbnail runs past the end of the block"));
                return std::nullopt;
            }
        }
    }
    // A link to a directory that ran past the end led nowhere; once we append it would lead into our new
    // data. Such a next link is cleared; a sub-directory pointer of that kind makes the block unwritable.
    if (old) {
        auto parsedAt = [&](uint32_t pos) {
            return std::any_of(old->directories().begin(), old->directories().end(), [&](const TiffIfd& d) { return d.pos == pos; });
        };
        auto reachesPast = [&](uint32_t pos) {
            if (uint64_t(pos) + 2 > tail)
                return true;
            return uint64_t(pos) + 2 + 12ull * old->read16(pos) + 4 > tail;
        };
        for (const TiffIfd& d : old->directories()) {
            for (const TiffEntry& e : d.entries) {
                const bool subPointer = (e.tag == ExifTag::GPS_IFD_POINTER || e.tag == ExifTag::INTEROP_IFD_POINTER
                                         || e.tag == ExifTag::EXIF_IFD_POINTER)
                    && (e.type == TiffType::LONG || e.type == TiffType::IFD) && e.count == 1;
                // (a pointer into the header is refused by every reader anyway)
                if (subPointer && e.valueField >= 8 && !parsedAt(e.valueField) && e.valueField <= 0x10000 && reachesPast(e.valueField)) {
                    fail(error, QStringLiteral("EXIF sub-directory pointer 0x%1 leads past the end of the block").arg(e.tag, 4, 16, QLatin1Char('0')));
                    return std::nullopt;
                }
            }
            if (d.next == 0 || parsedAt(d.next) || !reachesPast(d.next))
                continue;
            auto copy = std::find_if(dirs.begin(), dirs.end(), [&](const OutDir& o) { return o.old == &d; });
            if (copy != dirs.end())
                copy->next = 0;
            else
                w.put32(d.nextLinkPos, 0);
        }
    }
    for (OutDir& d : dirs)
        std::stable_sort(d.entries.begin(), d.entries.end(), [](const OutEntry& a, const OutEntry& b) { return a.tag < b.tag; });

    // Zero the bytes of dropped values that lie before the tail, unless a kept field still uses them.
    if (old) {
        // The header and every directory count as kept too: a value pointing into them is not ours to clear.
        std::vector<Range> kept = {{0, 8}};
        for (const TiffIfd& d : old->directories())
            kept.push_back({d.pos, d.pos + d.byteSize()});
        for (const TiffIfd& d : old->directories())
            for (const TiffEntry& e : d.entries)
                if (outOfLine(e) && !removed(e.tag))
                    kept.push_back({e.valuePos, e.valuePos + e.valueSize});
        for (const TiffIfd& d : old->directories())
            for (const TiffEntry& e : d.entries) {
                if (!removed(e.tag) || !outOfLine(e) || e.valuePos + e.valueSize > tail)
                    continue;
                const bool shared = std::any_of(kept.begin(), kept.end(), [&](const Range& r) {
                    return r.start < e.valuePos + e.valueSize && e.valuePos < r.end;
                });
                if (!shared)
                    std::fill(out.begin() + e.valuePos, out.begin() + e.valuePos + e.valueSize, '\0');
            }
    }

    // Lay out the new tail: the directories, then their values, each on an even offset.
    auto align = [&]() { if (out.size() % 2) out.append('\0'); };
    align();
    for (OutDir& d : dirs) {
        d.newPos = uint32_t(out.size());
        out.append(QByteArray(int(2 + 12 * d.entries.size() + 4), '\0'));
    }
    for (OutDir& d : dirs) {
        w.put16(d.newPos, uint16_t(d.entries.size()));
        for (std::size_t i = 0; i < d.entries.size(); ++i) {
            const OutEntry& e = d.entries[i];
            const uint32_t at = d.newPos + 2 + 12 * uint32_t(i);
            if (e.hasOldEntry)
                std::copy_n(old->bytes().constData() + e.oldEntryPos, 12, out.data() + at);
            else {
                w.put16(at, e.tag);
                w.put16(at + 2, e.type);
                w.put32(at + 4, e.count);
            }
            if (e.pointsToDir >= 0)
                w.put32(at + 8, dirs[e.pointsToDir].newPos);
            else if (e.placeValue) {
                if (e.value.size() <= 4) {
                    std::fill_n(out.data() + at + 8, 4, '\0');
                    std::copy(e.value.begin(), e.value.end(), out.data() + at + 8);
                } else {
                    align();
                    w.put32(at + 8, uint32_t(out.size()));
                    out.append(e.value);
                }
            }
        }
        const uint32_t link = d.newPos + 2 + 12 * uint32_t(d.entries.size());
        w.put32(link, d.nextPointsToDir >= 0 ? dirs[d.nextPointsToDir].newPos : d.next);
    }
    for (int i = 0; i < int(dirs.size()); ++i) {
        const TiffIfd* d = dirs[i].old;
        if (!d)
            continue;
        const uint32_t p = d->parentPointerPos;
        const bool inRewritten = std::any_of(dirs.begin(), dirs.end(), [&](const OutDir& r) {
            return r.old && p >= r.old->pos && p < r.old->pos + r.old->byteSize();
        });
        if (!inRewritten)
            w.put32(p, dirs[i].newPos);
    }
    if (!old)
        w.put32(4, dirs[ifd0Dir].newPos);

    if (out.size() > JpegHeader::MAX_TIFF_SIZE) {
        if (tooLarge)
            *tooLarge = true;
        fail(error, QStringLiteral("EXIF block of %1 bytes exceeds the JPEG segment limit").arg(out.size()));
        return std::nullopt;
    }
    return out;
}

} // namespace zentrova
