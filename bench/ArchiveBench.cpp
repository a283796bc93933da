// Archive throughput: writes the files of a corpus into a ZIP, plain and encrypted, reads each back,
// and times `zip -r` and `zip -r - | openssl enc -des-cbc` on the same files in the same run.
// Also streams one 200 MB entry through writer, cipher and reader and reports the peak memory.
//   ZENTROVA_CORPUS=/tmp/corpus12mp build/bench/bench_archive [work folder]
#include "archive/PbeCipher.h"
#include "archive/PipelinedSink.h"
#include "archive/ZipStreamReader.h"
#include "archive/ZipStreamWriter.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace zentrova;

namespace {
qint64 peakRssKb()
{
    QFile f("/proc/self/status");
    f.open(QIODevice::ReadOnly);
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

struct NullSink : ByteSink {
    bool write(const char*, qint64, QString*) override { return true; }
    bool finish(QString*) override { return true; }
};

bool writeZip(const QStringList& files, const QString& root, const QString& out, const QString& pass)
{
    QFile file(out);
    file.open(QIODevice::WriteOnly);
    DeviceSink fileSink(file);
    std::optional<PbeEncryptSink> cipher;
    std::optional<PipelinedSink> pipe;
    ByteSink* sink = &fileSink;
    if (!pass.isEmpty()) {
        file.write("encrypted", 9);
        cipher.emplace(fileSink, PbeCipher::derive(pass.toLatin1()));
        sink = &*cipher;
    }
    // The cipher and the file writes run on a second core, as the export will do it.
    if (!pass.isEmpty()) {
        pipe.emplace(*sink);
        sink = &*pipe;
    }
    ZipStreamWriter zip(*sink);
    QString error;
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (const QString& f : files) {
        QFile in(f);
        in.open(QIODevice::ReadOnly);
        if (!zip.beginEntry(f.mid(root.size() + 1), ZipStreamWriter::countExtra(files.size()),
                            QFileInfo(f).lastModified(), &error))
            return false;
        qint64 n;
        while ((n = in.read(buffer.data(), buffer.size())) > 0)
            if (!zip.write(buffer.constData(), n, &error))
                return false;
    }
    return zip.finish(&error);
}

qint64 readZip(const QString& path, const QString& pass)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    if (!pass.isEmpty())
        file.read(9);
    DeviceSource fileSource(file);
    std::optional<PbeDecryptSource> cipher;
    ByteSource* source = &fileSource;
    if (!pass.isEmpty()) {
        cipher.emplace(fileSource, PbeCipher::derive(pass.toLatin1()));
        source = &*cipher;
    }
    ZipStreamReader zip(*source);
    QString error;
    char buffer[1024];
    qint64 total = 0, n;
    while (zip.nextEntry(&error))
        while ((n = zip.read(buffer, sizeof buffer, &error)) > 0)
            total += n;
    if (!error.isEmpty())
        std::fprintf(stderr, "read error: %s\n", qPrintable(error));
    return total;
}

double shell(const QString& command, const QString& cwd)
{
    QElapsedTimer t;
    t.start();
    QProcess p;
    p.setWorkingDirectory(cwd);
    p.start("/bin/sh", {"-c", command});
    p.waitForFinished(-1);
    return t.elapsed() / 1000.0;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir tmp(argc > 1 ? QString::fromLocal8Bit(argv[1]) + "/bench-XXXXXX" : QString());
    const QString work = tmp.path();
    const QString pass = "benchmark pass phrase";

    // One 200 MB entry, generated as it goes: memory must stay flat.
    {
        const qint64 before = peakRssKb();
        NullSink null;
        PbeEncryptSink cipher(null, PbeCipher::derive(pass.toLatin1()));
        ZipStreamWriter zip(cipher);
        QString error;
        zip.beginEntry("big.bin", {}, QDateTime::currentDateTime(), &error);
        QByteArray chunk(1 << 20, Qt::Uninitialized);
        for (int i = 0; i < chunk.size(); ++i)
            chunk[i] = char((i * 2654435761u) >> 24);
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 200; ++i)
            zip.write(chunk.constData(), chunk.size(), &error);
        zip.finish(&error);
        std::printf("200 MB entry, deflate+encrypt to nowhere: %.0f MB/s, peak memory grew by %lld kB\n",
                    200.0 / (t.elapsed() / 1000.0), peakRssKb() - before);
    }

    const QString corpus = qEnvironmentVariable("ZENTROVA_CORPUS");
    if (corpus.isEmpty()) {
        std::printf("set ZENTROVA_CORPUS to a folder made by make_corpus.sh for the corpus figures\n");
        return 0;
    }
    QStringList files;
    qint64 bytes = 0;
    QDirIterator it(corpus, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << it.next();
        bytes += it.fileInfo().size();
    }
    files.sort();
    const double mb = bytes / 1048576.0;
    std::printf("corpus: %lld files, %.0f MB\n", qlonglong(files.size()), mb);
    shell("cat $(find . -type f) > /dev/null", corpus); // warm the page cache for everyone

    auto timeIt = [](auto fn) {
        QElapsedTimer t;
        t.start();
        fn();
        return t.elapsed() / 1000.0;
    };
    const bool encryptedOnly = qEnvironmentVariableIsSet("ZENTROVA_ENCRYPTED_ONLY");
    const double ourPlain = encryptedOnly ? 1 : timeIt([&] { writeZip(files, corpus, work + "/plain.zip", {}); });
    const double ourRead = encryptedOnly ? 1 : timeIt([&] { readZip(work + "/plain.zip", {}); });
    const double ourEnc = timeIt([&] { writeZip(files, corpus, work + "/enc.zip", pass); });
    const double ourEncRead = encryptedOnly ? 1 : timeIt([&] { readZip(work + "/enc.zip", pass); });
    const auto k = PbeCipher::derive(pass.toLatin1());
    const QString key = QByteArray(reinterpret_cast<const char*>(k.key.data()), 8).toHex();
    const QString iv = QByteArray(reinterpret_cast<const char*>(k.iv.data()), 8).toHex();
    const double zipPlain = encryptedOnly ? 1 : shell("zip -qr " + work + "/ref.zip .", corpus);
    const double zipEnc = shell("zip -qr - . | openssl enc -des-cbc -provider legacy -provider default -K " + key
                                    + " -iv " + iv + " > " + work + "/ref.enc",
                                corpus);
    const double unzipRead = encryptedOnly ? 1 : shell("unzip -qt " + work + "/ref.zip > /dev/null", work);
    std::printf("%-34s %8s %8s\n", "", "s", "MB/s");
    auto row = [&](const char* what, double s) { std::printf("%-34s %8.2f %8.1f\n", what, s, mb / s); };
    row("ours: write plain", ourPlain);
    row("zip -r", zipPlain);
    row("ours: write encrypted", ourEnc);
    row("zip -r - | openssl enc -des-cbc", zipEnc);
    row("ours: read plain", ourRead);
    row("unzip -t", unzipRead);
    row("ours: read encrypted", ourEncRead);
    std::printf("ratios: plain %.2fx of zip, encrypted %.2fx of zip|openssl; peak memory %lld kB\n",
                ourPlain / zipPlain, ourEnc / zipEnc, peakRssKb());
    return 0;
}
