#include "ImageFixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>

namespace zentrova::test {

QImage gradientImage(QSize size, QImage::Format format)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            row[x] = qRgb(x * 255 / std::max(1, size.width() - 1), y * 255 / std::max(1, size.height() - 1), (x + y) % 256);
    }
    return format == QImage::Format_RGB32 ? image : image.convertToFormat(format);
}

QString writeImage(const QString& path, const QImage& image)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImageWriter writer(path);
    if (path.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) || path.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive))
        writer.setQuality(90);
    return writer.write(image) ? path : QString();
}

namespace {
// The segments before the first scan as [start, end) pairs, walked independently of the code under test.
QList<QPair<int, int>> headerSegments(const QByteArray& b)
{
    QList<QPair<int, int>> out;
    int pos = 2;
    while (pos + 4 <= b.size()) {
        if (uchar(b[pos]) != 0xFF) { ++pos; continue; }
        const uchar m = uchar(b[pos + 1]);
        if (m == 0xFF) { ++pos; continue; }
        if (m == 0xDA || m == 0xD9)
            break;
        const int len = uchar(b[pos + 2]) << 8 | uchar(b[pos + 3]);
        out.append({pos, pos + 2 + len});
        pos += 2 + len;
    }
    return out;
}
bool isExifApp1(const QByteArray& b, QPair<int, int> s)
{
    return uchar(b[s.first + 1]) == 0xE1 && b.mid(s.first + 4, 6) == QByteArray("Exif\0\0", 6);
}
} // namespace

QByteArray withoutExif(const QByteArray& jpeg)
{
    QByteArray out = jpeg;
    const auto segments = headerSegments(jpeg);
    for (auto it = segments.rbegin(); it != segments.rend(); ++it)
        if (isExifApp1(jpeg, *it))
            out.remove(it->first, it->second - it->first);
    return out;
}

QByteArray withExif(const QByteArray& jpeg, const QByteArray& tiff)
{
    QByteArray stripped = withoutExif(jpeg);
    QByteArray app1("\xFF\xE1", 2);
    const int len = 2 + 6 + int(tiff.size());
    app1.append(char(len >> 8)).append(char(len & 0xFF)).append("Exif\0\0", 6).append(tiff);
    return stripped.insert(2, app1);
}

namespace {
void put(QByteArray& b, int pos, uint32_t v, int bytes, bool big)
{
    for (int i = 0; i < bytes; ++i)
        b[pos + i] = char(big ? v >> (8 * (bytes - 1 - i)) : v >> (8 * i));
}
void writeDir(QByteArray& b, int at, const QList<TestEntry>& entries, bool big, QByteArray& values)
{
    put(b, at, uint32_t(entries.size()), 2, big);
    for (int i = 0; i < entries.size(); ++i) {
        const TestEntry& e = entries[i];
        const int p = at + 2 + 12 * i;
        put(b, p, e.tag, 2, big);
        put(b, p + 2, e.type, 2, big);
        put(b, p + 4, e.count, 4, big);
        if (e.value.size() <= 4) {
            for (int k = 0; k < e.value.size(); ++k)
                b[p + 8 + k] = e.value[k];
        } else {
            put(b, p + 8, uint32_t(b.size() + values.size()), 4, big);
            values.append(e.value);
            if (values.size() % 2)
                values.append('\0');
        }
    }
}
} // namespace

QByteArray tiffBlock(bool big, const QList<TestEntry>& ifd0, const QList<TestEntry>& exif)
{
    QByteArray b(big ? QByteArray("MM\0*\0\0\0\x08", 8) : QByteArray("II*\0\x08\0\0\0", 8));
    QList<TestEntry> first = ifd0;
    const int ifd0Size = 2 + 12 * int(first.size() + (exif.isEmpty() ? 0 : 1)) + 4;
    if (!exif.isEmpty()) {
        QByteArray pointer(4, '\0');
        put(pointer, 0, uint32_t(8 + ifd0Size), 4, big);
        first.append({0x8769, 4, 1, pointer});
        std::stable_sort(first.begin(), first.end(), [](const TestEntry& a, const TestEntry& c) { return a.tag < c.tag; });
    }
    const int exifSize = exif.isEmpty() ? 0 : 2 + 12 * int(exif.size()) + 4;
    b.append(QByteArray(ifd0Size + exifSize, '\0'));
    QByteArray values;
    writeDir(b, 8, first, big, values);
    if (!exif.isEmpty())
        writeDir(b, 8 + ifd0Size, exif, big, values);
    return b + values;
}

bool toolInstalled(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

QByteArray runTool(const QString& program, const QStringList& args, int* status, QByteArray* errors)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(120000);
    if (status)
        *status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    if (errors)
        *errors = p.readAllStandardError();
    return p.readAllStandardOutput();
}

} // namespace zentrova::test
