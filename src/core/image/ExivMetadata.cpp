#include "image/ExivMetadata.h"

#include <QFile>

#include <mutex>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace zentrova {

namespace {

constexpr int MAX_ITEM_TEXT = 256;

std::mutex& libraryLock()
{
    static std::mutex lock;
    static std::once_flag once;
    std::call_once(once, [] {
        Exiv2::XmpParser::initialize();
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute); // its warnings are not our messages
    });
    return lock;
}

Exiv2::Image::AutoPtr openImage(const QString& path)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()));
    image->readMetadata();
    return image;
}

QString itemText(const std::string& text)
{
    QString s = QString::fromUtf8(text.data(), qsizetype(text.size())).simplified();
    if (s.size() > MAX_ITEM_TEXT)
        s = s.left(MAX_ITEM_TEXT) + QStringLiteral("...");
    return s;
}

template <typename Data>
void appendItems(const Data& data, const Exiv2::ExifData* exif, QStringList* items)
{
    for (const auto& d : data)
        items->append(QString::fromStdString(d.key()) + QStringLiteral(" = ") + itemText(d.print(exif)));
}

} // namespace

bool ExivMetadata::readItems(const QString& path, QStringList* items, QString* error)
{
    std::lock_guard guard(libraryLock());
    try {
        Exiv2::Image::AutoPtr image = openImage(path);
        items->clear();
        const Exiv2::ExifData& exif = image->exifData();
        appendItems(exif, &exif, items);
        appendItems(image->iptcData(), &exif, items);
        appendItems(image->xmpData(), &exif, items);
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return false;
    }
}

bool ExivMetadata::confirms(const QString& path, const ExifChange& change, QString* error)
{
    std::lock_guard guard(libraryLock());
    try {
        Exiv2::Image::AutoPtr image = openImage(path);
        const Exiv2::ExifData& exif = image->exifData();
        for (const ExifField& f : change.addToExif) {
            const auto it = exif.findKey(Exiv2::ExifKey(f.tag, "Photo"));
            bool same = it != exif.end() && it->typeId() == Exiv2::TypeId(f.type);
            if (same) {
                std::vector<Exiv2::byte> bytes(std::size_t(it->size()));
                it->copy(bytes.data(), image->byteOrder());
                if (f.type == 2) // the library may add the NUL that ASCII values usually carry
                    while (!bytes.empty() && bytes.back() == 0 && bytes.size() > std::size_t(f.value.size()))
                        bytes.pop_back();
                same = bytes.size() == std::size_t(f.value.size())
                    && std::equal(bytes.begin(), bytes.end(), f.value.begin(), [](Exiv2::byte a, char b) { return a == Exiv2::byte(b); });
            }
            if (!same) {
                if (error)
                    *error = QStringLiteral("exiv2 does not read back field 0x%1").arg(f.tag, 4, 16, QLatin1Char('0'));
                return false;
            }
        }
        for (const auto& d : exif) {
            const bool mainGroup = d.groupName() == "Image" || d.groupName() == "Photo";
            if (!mainGroup)
                continue;
            const bool gone = std::find(change.removeEverywhere.begin(), change.removeEverywhere.end(), d.tag()) != change.removeEverywhere.end();
            const bool added = std::any_of(change.addToExif.begin(), change.addToExif.end(),
                                           [&](const ExifField& f) { return f.tag == d.tag() && d.groupName() == "Photo"; });
            if (gone && !added) {
                if (error)
                    *error = QStringLiteral("exiv2 still reads removed field ") + QString::fromStdString(d.key());
                return false;
            }
        }
        return true;
    } catch (const std::exception& e) {
        if (error)
            *error = QString::fromLocal8Bit(e.what());
        return false;
    }
}

} // namespace zentrova

#pragma GCC diagnostic pop
