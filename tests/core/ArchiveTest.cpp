#include "TempHome.h"
#include "archive/PbeCipher.h"
#include "archive/PipelinedSink.h"
#include "archive/ZipStreamReader.h"
#include "archive/ZipStreamWriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <zlib.h>

using namespace zentrova;

namespace {

struct MemorySink : ByteSink {
    QByteArray bytes;
    bool finished = false;
    bool write(const char* data, qint64 size, QString*) override
    {
        bytes.append(data, size);
        return true;
    }
    bool finish(QString*) override { return finished = true; }
};

// Hands out the bytes in small, uneven pieces, as a pipe or a cipher would.
struct MemorySource : ByteSource {
    QByteArray bytes;
    qsizetype pos = 0;
    int step = 1;
    explicit MemorySource(QByteArray b) : bytes(std::move(b)) {}
    qint64 read(char* data, qint64 maximum, QString*) override
    {
        const qint64 n = std::min<qint64>({maximum, bytes.size() - pos, 1 + (step++ % 977)});
        std::memcpy(data, bytes.constData() + pos, static_cast<size_t>(n));
        pos += n;
        return n;
    }
};

struct Item {
    QString name;
    QByteArray data;
};

QByteArray writeArchive(const QList<Item>& items, const QByteArray& extra)
{
    MemorySink sink;
    ZipStreamWriter zip(sink);
    QString error;
    for (const Item& it : items) {
        EXPECT_TRUE(zip.beginEntry(it.name, extra, QDateTime(QDate(2010, 5, 1), QTime(12, 30, 10)), &error))
            << error.toStdString();
        EXPECT_TRUE(zip.write(it.data.constData(), it.data.size(), &error)) << error.toStdString();
    }
    EXPECT_TRUE(zip.finish(&error)) << error.toStdString();
    EXPECT_TRUE(sink.finished);
    return sink.bytes;
}

struct ReadResult {
    QList<Item> items;
    QList<QByteArray> extras;
    QString error;
};

ReadResult readArchive(ByteSource& source, qint64 limit = ZipStreamReader::DEFAULT_MAX_ENTRY_SIZE)
{
    ReadResult r;
    ZipStreamReader zip(source, limit);
    char buffer[1024];
    for (;;) {
        auto entry = zip.nextEntry(&r.error);
        if (!entry)
            break;
        Item item{entry->name, {}};
        qint64 n;
        while ((n = zip.read(buffer, sizeof buffer, &r.error)) > 0)
            item.data.append(buffer, n);
        r.items.append(item);
        r.extras.append(entry->extra);
        if (n < 0)
            break;
    }
    return r;
}

ReadResult readBytes(const QByteArray& bytes, qint64 limit = ZipStreamReader::DEFAULT_MAX_ENTRY_SIZE)
{
    MemorySource source(bytes);
    return readArchive(source, limit);
}

QByteArray randomBytes(int n, quint32 seed)
{
    QRandomGenerator rng(seed);
    QByteArray b(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i)
        b[i] = char(rng.bounded(256));
    return b;
}

QList<Item> sampleItems(int count)
{
    QList<Item> items;
    for (int i = 0; i < count; ++i) {
        QByteArray data = i % 5 == 0 ? QByteArray() : randomBytes(i * 37 % 3000, i) + QByteArray(i * 11, 'a');
        items.append({QStringLiteral("2010/May/img_%1.jpg").arg(i), data});
    }
    return items;
}

bool hasTool(const char* name)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

// Runs a program; answers its exit status and output.
int run(const QString& program, const QStringList& args, QString* output = nullptr, const QByteArray& input = {})
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(120000);
    if (output)
        *output = QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

TEST(ZipStream, RoundTripsEntryCountsDirectoriesAndNames)
{
    for (int count : {0, 1, 12, 1000}) {
        QList<Item> items = sampleItems(count);
        if (count == 12) {
            items.append(Item{QStringLiteral("2010/"), {}});
            items.append(Item{QStringLiteral("Sommer in Österreich/Straße 日本.jpg"), "bytes"});
        }
        const QByteArray zip = writeArchive(items, ZipStreamWriter::countExtra(items.size()));
        const ReadResult r = readBytes(zip);
        EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
        ASSERT_EQ(r.items.size(), items.size());
        for (int i = 0; i < items.size(); ++i) {
            EXPECT_EQ(r.items[i].name, items[i].name);
            EXPECT_EQ(r.items[i].data, items[i].data) << i;
            EXPECT_EQ(r.extras[i], QByteArray::number(items.size()));
        }
        if (count > 0) {
            EXPECT_EQ(ZipExtra::countOf(r.extras.first()), items.size());
        }
    }
}

TEST(ZipStream, TwoHundredMegabytesStreamThroughWriterCipherAndReader)
{
    // The data is made as it goes and checked by CRC; only the (well compressing) archive is kept.
    const auto k = PbeCipher::derive("big file pass");
    MemorySink file;
    PbeEncryptSink cipher(file, k);
    ZipStreamWriter zip(cipher);
    QString error;
    ASSERT_TRUE(zip.beginEntry("big.bin", "1", QDateTime::currentDateTime(), &error));
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    quint32 crc = 0;
    const qint64 total = 200LL << 20;
    for (int i = 0; i < 200; ++i) {
        for (int j = 0; j < chunk.size(); ++j)
            chunk[j] = char((j % 251) ^ (i * 13) ^ (j >> 12));
        crc = quint32(::crc32(crc, reinterpret_cast<const Bytef*>(chunk.constData()), uInt(chunk.size())));
        ASSERT_TRUE(zip.write(chunk.constData(), chunk.size(), &error));
    }
    ASSERT_TRUE(zip.finish(&error));
    ASSERT_LT(file.bytes.size(), total / 4);

    MemorySource source(file.bytes);
    PbeDecryptSource plain(source, k);
    ZipStreamReader reader(plain);
    ASSERT_TRUE(reader.nextEntry(&error).has_value()) << error.toStdString();
    char buffer[1024];
    qint64 n, got = 0;
    quint32 readCrc = 0;
    while ((n = reader.read(buffer, sizeof buffer, &error)) > 0) {
        readCrc = quint32(::crc32(readCrc, reinterpret_cast<const Bytef*>(buffer), uInt(n)));
        got += n;
    }
    EXPECT_EQ(n, 0) << error.toStdString();
    EXPECT_EQ(got, total);
    EXPECT_EQ(readCrc, crc);
    EXPECT_FALSE(reader.nextEntry(&error).has_value());
    EXPECT_TRUE(error.isEmpty());
}

TEST(ZipStream, LayoutAsTheFormatSays)
{
    const QByteArray zip = writeArchive({{"a.jpg", "hello"}}, "12");
    EXPECT_EQ(zip.left(4), QByteArray("PK\x03\x04", 4));
    EXPECT_EQ(zip.at(6) & 0x08, 0x08) << "general-purpose bit 3";
    EXPECT_EQ(zip.at(8), 8) << "deflated";
    EXPECT_EQ(zip.mid(30, 7), "a.jpg12") << "name, then the bare digits as the extra field";
    EXPECT_TRUE(zip.contains(QByteArray("PK\x07\x08", 4)));
    EXPECT_TRUE(zip.contains(QByteArray("PK\x01\x02", 4)));
    const qsizetype central = zip.indexOf(QByteArray("PK\x01\x02", 4));
    EXPECT_EQ(zip.mid(central + 46, 7), "a.jpg12") << "the same extra field in the central directory";

    MemorySink sink;
    ZipStreamWriter writer(sink);
    QString error;
    ASSERT_TRUE(writer.beginEntry("x/a.jpg", {}, QDateTime::currentDateTime(), &error));
    EXPECT_FALSE(writer.beginEntry("x/a.jpg", {}, QDateTime::currentDateTime(), &error));
    EXPECT_EQ(error, "duplicate entry: x/a.jpg");
}

TEST(ZipStream, IndependentReadersAcceptOurArchives)
{
    zentrova::test::TempHome home;
    QList<Item> items = sampleItems(12);
    items.append(Item{"folder/", {}});
    items.append(Item{QStringLiteral("Fotos/été.jpg"), "x"});
    const QString path = home.write("ours.zip", writeArchive(items, ZipStreamWriter::countExtra(items.size())));
    QString out;
    if (hasTool("unzip")) {
        EXPECT_EQ(run("unzip", {"-t", path}, &out), 0) << out.toStdString();
    }
    if (hasTool("python3")) {
        EXPECT_EQ(run("python3", {"-m", "zipfile", "-t", path}, &out), 0) << out.toStdString();
    }
    if (hasTool("7z")) {
        // 7-Zip reads every entry; it may report the bare-digit extra field as a minor header problem.
        const int status = run("7z", {"t", path}, &out);
        if (qEnvironmentVariableIsSet("ZENTROVA_SHOW_TOOLS"))
            std::printf("%s\n", qPrintable(out));
        EXPECT_TRUE(status == 0 || status == 1) << out.toStdString();
        EXPECT_TRUE(out.contains("Files: 13") || out.contains("Everything is Ok")) << out.toStdString();
    }
}

TEST(ZipStream, ReadsArchivesOfOtherTools)
{
    zentrova::test::TempHome home;
    home.write("src/a.txt", QByteArray(5000, 'a'));
    home.write("src/b.bin", randomBytes(3000, 7));
    home.write("src/empty.txt", {});
    home.write("src/sub/c.txt", "deep");
    const QString src = home.path() + "/src";
    const QMap<QString, QByteArray> expected{{"a.txt", QByteArray(5000, 'a')}, {"b.bin", randomBytes(3000, 7)},
                                             {"empty.txt", {}}, {"sub/c.txt", "deep"}};
    auto check = [&](const QString& path, const char* what) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << what;
        DeviceSource source(f);
        const ReadResult r = readArchive(source);
        EXPECT_TRUE(r.error.isEmpty()) << what << ": " << r.error.toStdString();
        QMap<QString, QByteArray> got;
        for (const Item& it : r.items)
            if (!it.name.endsWith('/'))
                got.insert(it.name, it.data);
        EXPECT_EQ(got, expected) << what;
        if (!r.extras.isEmpty()) {
            EXPECT_EQ(ZipExtra::countOf(r.extras.first()), 0) << what << ": tagged extra records count as unknown";
        }
    };
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(src);
    if (hasTool("zip")) {
        run("zip", {"-qr", home.path() + "/deflated.zip", "."});
        check(home.path() + "/deflated.zip", "zip");
        run("zip", {"-qr0", home.path() + "/stored.zip", "."});
        check(home.path() + "/stored.zip", "zip -0");
        // Written to a pipe, zip cannot seek back and uses data descriptors.
        QString ignored;
        QProcess p;
        p.setStandardOutputFile(home.path() + "/streamed.zip");
        p.start("zip", {"-qr", "-", "."});
        p.waitForFinished();
        check(home.path() + "/streamed.zip", "zip to a pipe");
    }
    if (hasTool("7z")) {
        run("7z", {"a", "-tzip", home.path() + "/seven.zip", "."});
        check(home.path() + "/seven.zip", "7z");
    }
    QDir::setCurrent(cwd);
    if (hasTool("python3")) {
        const char* script =
            "import zipfile, os, sys\n"
            "src, out, stream = sys.argv[1], sys.argv[2], sys.argv[3] == '1'\n"
            "class Pipe:\n"
            "    def __init__(s, f): s.f = f\n"
            "    def write(s, b): return s.f.write(b)\n"
            "    def flush(s): s.f.flush()\n"
            "with open(out, 'wb') as raw:\n"
            "    z = zipfile.ZipFile(Pipe(raw) if stream else raw, 'w', zipfile.ZIP_DEFLATED)\n"
            "    for root, dirs, files in os.walk(src):\n"
            "        for n in sorted(files):\n"
            "            p = os.path.join(root, n)\n"
            "            z.write(p, os.path.relpath(p, src))\n"
            "    z.close()\n";
        for (const char* stream : {"0", "1"}) {
            const QString out = home.path() + "/python" + stream + ".zip";
            QString log;
            ASSERT_EQ(run("python3", {"-c", script, src, out, stream}, &log), 0) << log.toStdString();
            check(out, stream[0] == '1' ? "python zipfile, streamed" : "python zipfile");
        }
    }
}

TEST(ZipStream, HostileInputsFailCleanly)
{
    const QByteArray good = writeArchive({{"a.jpg", QByteArray(3000, 'x')}, {"b.jpg", "short"}}, "2");
    // Cut at every byte: never a crash, never a wrong file handed out as complete.
    for (qsizetype cut = 0; cut < good.size(); ++cut) {
        const ReadResult r = readBytes(good.left(cut));
        for (const Item& it : r.items) {
            const bool complete = it.name == "a.jpg" ? it.data == QByteArray(3000, 'x') : it.data == "short";
            EXPECT_TRUE(complete || !r.error.isEmpty()) << "cut at " << cut;
        }
    }

    auto patched = [&](qsizetype at, QByteArray bytes) {
        QByteArray z = good;
        z.replace(at, bytes.size(), bytes);
        return z;
    };
    struct Case {
        const char* what;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"unknown method", patched(8, QByteArray("\x63\x00", 2)), "invalid compression method 99"},
        {"encrypted entry", patched(6, QByteArray("\x09\x00", 2)), "encrypted ZIP entry not supported"},
        {"stored with descriptor and no size", patched(8, QByteArray("\x00\x00", 2)), "stored entry with a data descriptor"},
        {"stored, size running past the end",
         patched(6, QByteArray("\x00\x00\x00\x00", 4)).replace(18, 8, QByteArray("\xff\xff\xff\x7f\xff\xff\xff\x7f", 8)),
         "Unexpected end of stored entry"},
        {"corrupted data", patched(40, QByteArray("\xff\xff\xff\xff", 4)), "in a.jpg"},
    };
    for (const Case& c : cases) {
        const ReadResult r = readBytes(c.bytes);
        EXPECT_TRUE(r.error.contains(c.message)) << c.what << ": " << r.error.toStdString();
    }

    // Garbage after the last entry (where the central directory would start) ends the entries quietly.
    const QByteArray twoEntries = good.left(good.indexOf(QByteArray("PK\x01\x02", 4)));
    const ReadResult garbage = readBytes(twoEntries + "garbage that is no signature");
    EXPECT_TRUE(garbage.error.isEmpty());
    EXPECT_EQ(garbage.items.size(), 2);

    // A bomb: 50 MB of zeros inflate from a few kilobytes; the caller's limit stops it.
    MemorySink sink;
    ZipStreamWriter bomb(sink);
    QString error;
    bomb.beginEntry("bomb.bin", {}, QDateTime::currentDateTime(), &error);
    const QByteArray zeros(1 << 20, '\0');
    for (int i = 0; i < 50; ++i)
        bomb.write(zeros.constData(), zeros.size(), &error);
    bomb.finish(&error);
    ASSERT_LT(sink.bytes.size(), 200000);
    const ReadResult stopped = readBytes(sink.bytes, 10 << 20);
    EXPECT_TRUE(stopped.error.contains("entry exceeds the size limit: bomb.bin")) << stopped.error.toStdString();
    EXPECT_LE(stopped.items.value(0).data.size(), (10 << 20) + 1024);
}

TEST(ZipStream, StoredEntryWithSizesAndADescriptor)
{
    // Some writers set bit 3 on a stored entry and still put its sizes in the local header.
    auto le = [](QByteArray& b, quint32 v, int n) {
        for (int i = 0; i < n; ++i)
            b.append(char((v >> (8 * i)) & 0xff));
    };
    auto storedEntry = [&](const QByteArray& name, const QByteArray& data) {
        const quint32 crc = quint32(::crc32(0, reinterpret_cast<const Bytef*>(data.constData()), uInt(data.size())));
        QByteArray b;
        le(b, 0x04034b50, 4), le(b, 20, 2), le(b, 8, 2), le(b, 0, 2), le(b, 0, 4);
        le(b, crc, 4), le(b, quint32(data.size()), 4), le(b, quint32(data.size()), 4);
        le(b, quint32(name.size()), 2), le(b, 0, 2);
        b += name + data;
        le(b, 0x08074b50, 4), le(b, crc, 4), le(b, quint32(data.size()), 4), le(b, quint32(data.size()), 4);
        return b;
    };
    const ReadResult r = readBytes(storedEntry("a.jpg", "first") + storedEntry("b.jpg", "second"));
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_EQ(r.items.size(), 2);
    EXPECT_EQ(r.items[1].data, "second");
}

TEST(ZipExtra, CountOfTheFirstExtraField)
{
    EXPECT_EQ(ZipExtra::countOf("12"), 12);
    EXPECT_EQ(ZipExtra::countOf(""), 0);
    EXPECT_EQ(ZipExtra::countOf(QByteArray("UT\x05\x00\x03\x10\x20\x30\x40", 9)), 0);
    EXPECT_EQ(ZipExtra::countOf("12a"), 0);
    EXPECT_EQ(ZipExtra::countOf("99999999999999999999"), 0);
}

TEST(ArchiveMarker, Recognition)
{
    EXPECT_TRUE(ArchiveMarker::isEncrypted("encrypted\x01\x02"));
    EXPECT_TRUE(ArchiveMarker::isEncrypted("encrypted"));
    EXPECT_FALSE(ArchiveMarker::isEncrypted("encrypte"));
    EXPECT_FALSE(ArchiveMarker::isEncrypted(QByteArray("PK\x03\x04", 4) + "encrypted"));
    EXPECT_TRUE(ArchiveMarker::isCrptName("Holiday.CRPT"));
    EXPECT_FALSE(ArchiveMarker::isCrptName("Holiday.crpt.zip"));
}

namespace {
QByteArray encrypt(const QByteArray& plain, const PbeCipher::KeyIv& k, int chunk = 1000)
{
    MemorySink sink;
    PbeEncryptSink cipher(sink, k);
    QString error;
    for (qsizetype i = 0; i < plain.size(); i += chunk)
        EXPECT_TRUE(cipher.write(plain.constData() + i, std::min<qsizetype>(chunk, plain.size() - i), &error));
    EXPECT_TRUE(cipher.finish(&error));
    return sink.bytes;
}

std::optional<QByteArray> decrypt(const QByteArray& encrypted, const PbeCipher::KeyIv& k, QString* error)
{
    MemorySource source(encrypted);
    PbeDecryptSource cipher(source, k);
    QByteArray out;
    char buf[700];
    qint64 n;
    while ((n = cipher.read(buf, sizeof buf, error)) > 0)
        out.append(buf, n);
    if (n < 0)
        return std::nullopt;
    return out;
}
} // namespace

TEST(PbeCipher, FixedVectors)
{
    const auto k = PbeCipher::derive("secret", {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(encrypt({}, k).toHex(' '), "68 28 77 c2 9d e9 81 07");
    EXPECT_EQ(encrypt("abc", k).toHex(' '), "06 2e cc 17 63 f4 34 58");
}

TEST(PbeCipher, AgreesWithOpenSslAndRoundTrips)
{
    const auto k = PbeCipher::derive("a long pass phrase");
    const QString key = QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(k.key.data()), 8).toHex());
    const QString iv = QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(k.iv.data()), 8).toHex());
    for (int size : {0, 1, 7, 8, 9, 4095, 65536, 200001}) {
        const QByteArray plain = randomBytes(size, size);
        const QByteArray ours = encrypt(plain, k, 333);
        EXPECT_EQ(ours.size(), (size / 8 + 1) * 8);
        QString error;
        EXPECT_EQ(decrypt(ours, k, &error), plain) << error.toStdString();
        if (hasTool("openssl") && size < 100000) {
            QProcess p;
            p.start("openssl", {"enc", "-des-cbc", "-provider", "legacy", "-provider", "default", "-K", key, "-iv", iv});
            p.write(plain);
            p.closeWriteChannel();
            p.waitForFinished();
            EXPECT_EQ(p.readAllStandardOutput(), ours) << size << p.readAllStandardError().toStdString();
        }
    }
}

TEST(PbeCipher, BadLengthPaddingAndPassPhrases)
{
    const auto k = PbeCipher::derive("correct horse");
    const QByteArray good = encrypt("some archive bytes", k);
    QString error;
    EXPECT_FALSE(decrypt(good.left(good.size() - 3), k, &error).has_value());
    EXPECT_FALSE(decrypt({}, k, &error).has_value());
    // Wrong pass phrases: a padding error, or bytes that hold no entries, never a file.
    int paddingErrors = 0;
    const QByteArray archive = writeArchive(sampleItems(5), "5");
    const QByteArray encrypted = encrypt(archive, k);
    for (int i = 0; i < 200; ++i) {
        const auto wrong = PbeCipher::derive(QByteArray("wrong pass ") + QByteArray::number(i));
        const auto plain = decrypt(encrypted, wrong, &error);
        if (!plain) {
            ++paddingErrors;
            continue;
        }
        EXPECT_TRUE(readBytes(*plain).items.isEmpty());
    }
    EXPECT_GT(paddingErrors, 150);
    EXPECT_TRUE(PbeCipher::checkPassphrase("Printable ~ ASCII!", &error));
    EXPECT_FALSE(PbeCipher::checkPassphrase(QStringLiteral("caf\u00e9 au lait"), &error));
    EXPECT_FALSE(PbeCipher::checkPassphrase("tab\there", &error));
}

TEST(PbeCipher, ArchiveThroughTheCipherBothWays)
{
    const auto k = PbeCipher::derive("pass phrase 1");
    const QList<Item> items = sampleItems(12);
    MemorySink file;
    {
        PbeEncryptSink cipher(file, k);
        ZipStreamWriter zip(cipher);
        QString error;
        for (const Item& it : items) {
            ASSERT_TRUE(zip.beginEntry(it.name, "12", QDateTime::currentDateTime(), &error));
            ASSERT_TRUE(zip.write(it.data.constData(), it.data.size(), &error));
        }
        ASSERT_TRUE(zip.finish(&error));
    }
    EXPECT_TRUE(file.finished);
    MemorySource source(file.bytes);
    PbeDecryptSource cipher(source, k);
    const ReadResult r = readArchive(cipher);
    EXPECT_TRUE(r.error.isEmpty()) << r.error.toStdString();
    ASSERT_EQ(r.items.size(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(r.items[i].data, items[i].data);
}

TEST(PipelinedSink, SameBytesAsDirectAndFailuresComeBack)
{
    const auto k = PbeCipher::derive("pipelined pass");
    const QByteArray plain = randomBytes(3 * 256 * 1024 + 77, 3);
    MemorySink direct;
    {
        PbeEncryptSink cipher(direct, k);
        QString error;
        ASSERT_TRUE(cipher.write(plain.constData(), plain.size(), &error));
        ASSERT_TRUE(cipher.finish(&error));
    }
    MemorySink piped;
    {
        PbeEncryptSink cipher(piped, k);
        PipelinedSink pipe(cipher, 4096, 2);
        QString error;
        for (qsizetype i = 0; i < plain.size(); i += 1000)
            ASSERT_TRUE(pipe.write(plain.constData() + i, std::min<qsizetype>(1000, plain.size() - i), &error));
        ASSERT_TRUE(pipe.finish(&error));
    }
    EXPECT_EQ(piped.bytes, direct.bytes);
    EXPECT_TRUE(piped.finished);

    struct FullDisk : ByteSink {
        qint64 room = 10000;
        bool write(const char*, qint64 size, QString* error) override
        {
            room -= size;
            if (room >= 0)
                return true;
            *error = "No space left on device";
            return false;
        }
        bool finish(QString*) override { return true; }
    } disk;
    PipelinedSink pipe(disk, 4096, 2);
    QString error;
    bool ok = true;
    for (int i = 0; i < 100 && ok; ++i)
        ok = pipe.write(plain.constData(), 4096, &error);
    ok = ok && pipe.finish(&error);
    EXPECT_FALSE(ok);
    EXPECT_EQ(error, "No space left on device");
}
