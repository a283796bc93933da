#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace zentrova {

// Tags the organizer reads or writes, and the directory pointers it follows.
namespace ExifTag {
constexpr uint16_t ORIENTATION = 0x0112;
constexpr uint16_t EXIF_IFD_POINTER = 0x8769;
constexpr uint16_t GPS_IFD_POINTER = 0x8825;
constexpr uint16_t INTEROP_IFD_POINTER = 0xA005;
constexpr uint16_t DATE_TIME_ORIGINAL = 0x9003;
constexpr uint16_t CREATE_DATE = 0x9004;
constexpr uint16_t USER_COMMENT = 0x9286;
constexpr uint16_t THUMBNAIL_OFFSET = 0x0201;
constexpr uint16_t THUMBNAIL_LENGTH = 0x0202;
} // namespace ExifTag

namespace TiffType {
constexpr uint16_t BYTE = 1;
constexpr uint16_t ASCII = 2;
constexpr uint16_t SHORT = 3;
constexpr uint16_t LONG = 4;
constexpr uint16_t UNDEFINED = 7;
constexpr uint16_t IFD = 13;
// Bytes per value of a field type, 0 for a type we do not know.
unsigned sizeOf(uint16_t type);
} // namespace TiffType

// One 12-byte directory entry as it stands in the block.
struct TiffEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    uint32_t valueField = 0; // the last four bytes read as an offset
    uint32_t entryPos = 0;   // where the entry starts in the block
    // Value bytes in the block: [valuePos, valuePos + valueSize). Inline values point into the entry.
    uint32_t valuePos = 0;
    uint32_t valueSize = 0;
    bool valueValid = false; // false for unknown types and for values that leave the block
    bool isInline() const { return valueValid && valueSize <= 4; }
};

enum class IfdKind { IFD0, EXIF, GPS, INTEROP, CHAINED };

struct TiffIfd {
    IfdKind kind = IfdKind::IFD0;
    uint32_t pos = 0;
    uint32_t parentPointerPos = 0; // the four bytes that hold this directory's offset
    std::vector<TiffEntry> entries;
    uint32_t nextLinkPos = 0; // where the next-directory offset sits
    uint32_t next = 0;
    uint32_t byteSize() const { return 2 + 12 * uint32_t(entries.size()) + 4; }
    const TiffEntry* find(uint16_t tag) const;
};

// A read-only, bounds-checked view of an EXIF TIFF block. Every offset, count and size is checked against
// the block; a directory is visited once (loops end), only the standard sub-directories are followed
// (depth is bounded), and a damaged entry is marked invalid instead of being read.
class TiffBlock {
public:
    static constexpr int MAX_DIRECTORIES = 64;

    bool parse(const QByteArray& block, QString* error = nullptr);

    const QByteArray& bytes() const { return data; }
    bool bigEndian() const { return big; }
    // Directories in reading order: IFD0, its sub-directories, then the chained ones (IFD1...).
    const std::vector<TiffIfd>& directories() const { return ifds; }
    const TiffIfd* directory(IfdKind kind) const;
    // The first entry with this tag, searching the directories in reading order.
    const TiffEntry* findFirst(uint16_t tag) const;
    QByteArray value(const TiffEntry& e) const;
    // Links to a directory that was already read (loops, shared directories): where the link sits, and
    // the directory it names.
    struct Link {
        uint32_t pointerPos;
        uint32_t target;
    };
    const std::vector<Link>& repeatedLinks() const { return repeats; }

    uint16_t read16(uint32_t pos) const;
    uint32_t read32(uint32_t pos) const;

private:
    bool readIfd(uint32_t pos, uint32_t parentPointerPos, IfdKind kind, int depth, QString* error);

    QByteArray data;
    bool big = false;
    std::vector<TiffIfd> ifds;
    std::vector<uint32_t> visited;
    std::vector<Link> repeats;
};

} // namespace zentrova
