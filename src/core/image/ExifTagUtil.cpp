#include "image/ExifTagUtil.h"

#include "event/ListenerList.h"
#include "image/ExifFile.h"
#include "image/ImageIO.h"
#include "util/Console.h"
#include "util/ProgressTarget.h"
#include "util/Prompter.h"
#include "util/ValueFile.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QStringDecoder>

#include <algorithm>
#include <mutex>

namespace zentrova {

namespace {

struct Registry {
    std::mutex lock;
    QStringList tags;
    ListenerList<TagListListener> tagListeners;
    ListenerList<FileConversionListener> conversionListeners;
};

Registry& registry()
{
    static Registry r;
    return r;
}

bool isReserved(const QString& name)
{
    return std::any_of(ExifTagUtil::DEFAULT_TAGS.begin(), ExifTagUtil::DEFAULT_TAGS.end(),
                       [&](const QString& r) { return r.compare(name, Qt::CaseInsensitive) == 0; });
}

QString decodeAscii(const QByteArray& bytes)
{
    QString s;
    s.reserve(bytes.size());
    for (char c : bytes)
        s.append(uchar(c) > 0x7F ? QChar(QChar::ReplacementCharacter) : QChar(uchar(c)));
    return s;
}

QString decodeWith(const char* encoding, const QByteArray& bytes)
{
    QStringDecoder decoder(encoding);
    if (!decoder.isValid())
        return decodeAscii(bytes);
    return decoder(bytes);
}

bool writeUserComment(const QString& file, const QStringList& names)
{
    ExifChange change;
    change.removeEverywhere = {ExifTag::USER_COMMENT};
    change.addToExif = {{ExifTag::USER_COMMENT, TiffType::BYTE, ExifTagUtil::albumCommentFor(names)}};
    ExifFile::RewriteOptions options;
    options.tempName = ExifFile::TempName::UNIQUE_EXIF;
    QString error;
    if (ExifFile::rewrite(file, change, options, nullptr, &error))
        return true;
    Console::err(QStringLiteral("Cannot write the album tags of ") + file + QStringLiteral(": ") + error);
    return false;
}

// Sets an unreadable JPEG aside or replaces it by a re-encoded copy; the copy's path when that worked.
std::optional<QString> repair(const QString& file, const QString& firstError)
{
    Console::err(firstError + QLatin1Char(' ') + file + QStringLiteral("\nAttempting to fix"));
    if (const std::optional<QString> converted = ExifTagUtil::convertToJpg(file)) {
        ExifFile::Contents contents;
        if (ExifFile::read(*converted, &contents))
            return converted;
    }
    Console::err(firstError + QStringLiteral(" cannot repair ") + file);
    const QString absolute = QFileInfo(file).absoluteFilePath();
    if (QFileInfo::exists(absolute)) {
        QFile f(absolute);
        if (!f.rename(absolute + QStringLiteral(".errored")))
            Console::err(QStringLiteral("In ExitTagUtil.readImageUserComment(File):\n\t") + absolute
                         + QStringLiteral("\n\tCannot be converted or saved.\n") + f.errorString());
    }
    return std::nullopt;
}

void setProgressText(ProgressTarget* bar, const QString& text, int max, int value)
{
    bar->setIndeterminate(false);
    bar->setString(text);
    bar->setDeterminate(0, max, value);
}

QStringList filterWithProgress(const QStringList& files, ProgressTarget* bar, const QString& text,
                               const std::function<bool(const QStringList&)>& keep)
{
    if (bar) {
        bar->setIndeterminate(true);
        bar->setStringPainted(true);
    }
    QStringList result;
    for (int i = 0; i < files.size(); ++i) {
        if (keep(ExifTagUtil::getAlbumTags(files[i])))
            result.append(files[i]);
        if (bar)
            setProgressText(bar, text, int(files.size()), i + 1);
    }
    return result;
}

} // namespace

std::optional<QString> ExifTagUtil::decodeUserComment(uint16_t type, const QByteArray& value)
{
    if (type == TiffType::ASCII) {
        const qsizetype nul = value.indexOf('\0');
        return decodeAscii(nul >= 0 ? value.left(nul) : value);
    }
    if (type != TiffType::BYTE && type != TiffType::UNDEFINED)
        return std::nullopt;
    if (value.size() < 8)
        return decodeAscii(value);
    const QByteArray code = value.left(8);
    const QByteArray rest = value.mid(8);
    if (code == QByteArray("ASCII\0\0\0", 8))
        return decodeAscii(rest);
    if (code == QByteArray("JIS\0\0\0\0\0", 8))
        return decodeWith("ISO-2022-JP", rest);
    if (code == QByteArray("UNICODE\0", 8))
        return QString::fromUtf8(rest);
    if (code == QByteArray(8, '\0'))
        return QString::fromLatin1(rest);
    return decodeAscii(value);
}

QStringList ExifTagUtil::albumNamesIn(const QString& comment)
{
    QStringList names;
    if (!comment.startsWith(ALBUM_TAG_HEADER) || comment.size() <= ALBUM_TAG_HEADER.size())
        return names;
    for (const QString& piece : comment.mid(ALBUM_TAG_HEADER.size()).split(QLatin1Char(','), Qt::SkipEmptyParts))
        if (!names.contains(piece))
            names.append(piece);
    return names;
}

QByteArray ExifTagUtil::albumCommentFor(const QStringList& names)
{
    return (ALBUM_TAG_HEADER + names.join(QLatin1Char(','))).toUtf8();
}

bool ExifTagUtil::isJpegFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName().toLower();
    return name.endsWith(QLatin1String(".jpg")) || name.endsWith(QLatin1String(".jpeg"));
}

std::optional<QString> ExifTagUtil::readImageUserComment(const QString& file)
{
    if (!isJpegFile(file) || !QFileInfo::exists(file))
        return std::nullopt;
    ExifFile::Contents contents;
    QString error;
    if (!ExifFile::read(file, &contents, &error)) {
        const std::optional<QString> repaired = repair(file, error);
        if (!repaired || !ExifFile::read(*repaired, &contents, &error))
            return std::nullopt;
    }
    if (!contents.hasExif)
        return std::nullopt;
    const TiffEntry* e = contents.block.findFirst(ExifTag::USER_COMMENT);
    if (!e)
        return std::nullopt;
    const std::optional<QString> text = decodeUserComment(e->type, contents.block.value(*e));
    if (!text)
        Console::err(QStringLiteral("UserComment of %1 has field type %2, which holds no text").arg(file).arg(e->type));
    return text;
}

QStringList ExifTagUtil::getAlbumTags(const QString& file)
{
    const std::optional<QString> comment = readImageUserComment(file);
    return comment ? albumNamesIn(*comment) : QStringList();
}

bool ExifTagUtil::addImageAlbumTag(const QString& file, const QString& album, bool fireEvent)
{
    QString target = file;
    if (!isJpegFile(target)) {
        Prompter* prompter = Prompter::current();
        const int answer = prompter ? prompter->confirm(QStringLiteral("Invalid File Type Dialog"),
                                                        QStringLiteral("The file:\n\n") + QFileInfo(file).fileName() + QStringLiteral("\n\n")
                                                            + QStringLiteral("Is not a JPEG file and cannot be tagged.\n")
                                                            + QStringLiteral("Would you like to convert it?\n\n"),
                                                        Prompt::Buttons::YesNo)
                                    : Prompter::NO;
        if (answer != Prompter::YES)
            return false;
        const std::optional<QString> converted = convertToJpg(file);
        if (!converted)
            return false;
        target = *converted;
    }
    const QString name = album.trimmed();
    QStringList names = getAlbumTags(target);
    if (!names.contains(name))
        names.append(name);
    if (!writeUserComment(target, names))
        return false;
    addTag(name);
    if (fireEvent)
        fireTagListEvent();
    return true;
}

bool ExifTagUtil::removeImageAlbumTag(const QString& file, const QString& album)
{
    if (!isJpegFile(file))
        return false;
    QStringList names = getAlbumTags(file);
    names.removeOne(album.trimmed());
    return writeUserComment(file, names);
}

int ExifTagUtil::albumTagAllFiles(const QStringList& files, const QString& album, ProgressTarget* bar)
{
    if (bar)
        bar->setDeterminate(0, int(files.size()), 0);
    int count = 0;
    for (int i = 0; i < files.size(); ++i) {
        count += addImageAlbumTag(files[i], album, false) ? 1 : 0;
        if (bar)
            bar->setValue(i + 1);
    }
    return count;
}

int ExifTagUtil::albumUntagAllFiles(const QStringList& files, const QString& album, ProgressTarget* bar)
{
    if (bar)
        bar->setDeterminate(0, int(files.size()), 0);
    int count = 0;
    for (int i = 0; i < files.size(); ++i) {
        count += removeImageAlbumTag(files[i], album) ? 1 : 0;
        if (bar)
            bar->setValue(i + 1);
    }
    return count;
}

QStringList ExifTagUtil::filterFilesOn(const QStringList& files, const QString& album, ProgressTarget* bar)
{
    if (album.compare(QLatin1String("untagged"), Qt::CaseInsensitive) == 0)
        return getUntagged(files, bar);
    return filterWithProgress(files, bar, QStringLiteral("Filtering files on tag: ") + album,
                              [&](const QStringList& names) { return names.contains(album); });
}

QStringList ExifTagUtil::getUntagged(const QStringList& files, ProgressTarget* bar)
{
    return filterWithProgress(files, bar, QStringLiteral("Filtering files for untagged"),
                              [](const QStringList& names) { return names.isEmpty(); });
}

std::optional<QString> ExifTagUtil::convertToJpg(const QString& file)
{
    const QFileInfo info(file);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString base = dot >= 0 ? name.left(dot) : name;
    QString error;
    QImage image = ImageIO::read(file, &error);
    if (image.isNull()) {
        Console::err(QStringLiteral("convertToJpg: ") + error);
        return std::nullopt;
    }
    if (image.hasAlphaChannel()) {
        // JPEG has no transparency: transparent parts become white, as on paper.
        QImage flat(image.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, image);
        p.end();
        image = flat;
    }
    const QString dir = info.absolutePath() + QLatin1Char('/');
    QString target = dir + base + QStringLiteral(".jpg");
    for (int i = 0; QFileInfo::exists(target); ++i)
        target = dir + base + QLatin1Char('_') + QString::number(i) + QStringLiteral(".jpg");
    if (!ImageIO::write(image, target, "jpg", ImageIO::Replace::NEVER, &error)) {
        Console::err(QStringLiteral("convertToJpg: ") + error);
        return std::nullopt;
    }
    const FileConversionEvent event(target);
    registry().conversionListeners.notify([&](FileConversionListener* l) { l->handleFileConversion(event); });
    if (!QFile::remove(file))
        Console::err(QStringLiteral("convertToJpg: cannot remove ") + file);
    return target;
}

void ExifTagUtil::loadTagsFromFiles(const QStringList& files)
{
    QStringList found;
    for (const QString& f : files)
        for (const QString& name : getAlbumTags(f))
            if (!found.contains(name))
                found.append(name);
    if (!found.isEmpty())
        addAllTags(found);
}

bool ExifTagUtil::addTag(const QString& album)
{
    {
        Registry& r = registry();
        std::lock_guard guard(r.lock);
        if (r.tags.contains(album) || isReserved(album))
            return false;
        r.tags.append(album);
    }
    fireTagListEvent();
    return true;
}

bool ExifTagUtil::addAllTags(const QStringList& albums)
{
    {
        Registry& r = registry();
        std::lock_guard guard(r.lock);
        QStringList fresh;
        for (const QString& a : albums)
            if (!isReserved(a) && !r.tags.contains(a))
                fresh.append(a);
        if (fresh.isEmpty())
            return false;
        r.tags.append(fresh);
    }
    fireTagListEvent();
    return true;
}

bool ExifTagUtil::removeTag(const QString& album)
{
    {
        Registry& r = registry();
        std::lock_guard guard(r.lock);
        if (!r.tags.removeOne(album))
            return false;
    }
    fireTagListEvent();
    return true;
}

QStringList ExifTagUtil::getTags()
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    return DEFAULT_TAGS + r.tags;
}

void ExifTagUtil::fireTagListEvent()
{
    Registry& r = registry();
    {
        std::lock_guard guard(r.lock);
        std::stable_sort(r.tags.begin(), r.tags.end(),
                         [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    }
    const TagListEvent event(getTags());
    r.tagListeners.notify([&](TagListListener* l) { l->tagListChanged(event); });
}

bool ExifTagUtil::loadTagList(const QString& file)
{
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile() || !info.isReadable())
        return false;
    QString error;
    const std::optional<QStringList> names = ValueFile::readTextList(file, &error);
    Registry& r = registry();
    {
        std::lock_guard guard(r.lock);
        r.tags = names ? *names : QStringList();
    }
    if (!names) {
        Console::err(QStringLiteral("loadTagList: ") + error);
        return false;
    }
    fireTagListEvent();
    return true;
}

bool ExifTagUtil::storeTagList(const QString& file)
{
    QStringList names;
    {
        Registry& r = registry();
        std::lock_guard guard(r.lock);
        names = r.tags;
    }
    QString error;
    if (ValueFile::writeTextList(file, names, &error))
        return true;
    Console::err(QStringLiteral("storeTagList: ") + error);
    return false;
}

void ExifTagUtil::resetRegistry()
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.tags.clear();
    for (TagListListener* l : r.tagListeners.snapshot())
        r.tagListeners.remove(l);
    for (FileConversionListener* l : r.conversionListeners.snapshot())
        r.conversionListeners.remove(l);
}

void ExifTagUtil::addTagChangelistener(TagListListener* listener) { registry().tagListeners.add(listener); }
void ExifTagUtil::removeTagChangelistener(TagListListener* listener) { registry().tagListeners.remove(listener); }
void ExifTagUtil::addFileConversionListener(FileConversionListener* listener) { registry().conversionListeners.add(listener); }
void ExifTagUtil::removeFileConversionListener(FileConversionListener* listener) { registry().conversionListeners.remove(listener); }

} // namespace zentrova
