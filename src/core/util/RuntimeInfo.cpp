#include "util/RuntimeInfo.h"

#include <QFile>
#include <QLibraryInfo>
#include <QSysInfo>
#include <QtGlobal>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

namespace zentrova::RuntimeInfo {

namespace {
QString compilerName()
{
#if defined(__clang__)
    return QStringLiteral("Clang ") + QStringLiteral(__clang_version__);
#elif defined(__GNUC__)
    return QStringLiteral("GCC %1.%2.%3").arg(__GNUC__).arg(__GNUC_MINOR__).arg(__GNUC_PATCHLEVEL__);
#else
    return QStringLiteral("an unknown compiler");
#endif
}

qint64 physicalMemory()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long size = ::sysconf(_SC_PAGESIZE);
    qint64 bytes = pages > 0 && size > 0 ? qint64(pages) * size : 0;
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && qint64(limit.rlim_cur) < bytes)
        bytes = qint64(limit.rlim_cur);
    return bytes;
}

qint64 residentMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}
} // namespace

QString osName()
{
    const QString kernel = QSysInfo::kernelType();
    if (kernel == QLatin1String("linux"))
        return QStringLiteral("Linux");
    return QSysInfo::productType().isEmpty() ? kernel : QSysInfo::prettyProductName();
}

qint64 toMegabytes(qint64 bytes)
{
    return (bytes + (1 << 19)) >> 20;
}

QString text(const QStringList& args, const std::optional<QString>& startDirectory)
{
    QString t;
    auto line = [&t](const QString& s) { t += s + QLatin1Char('\n'); };
    line(QStringLiteral("QT RUNTIME INFO (built with %1 for %2)").arg(compilerName(), QSysInfo::buildAbi()));
    line(QStringLiteral("    Version ........ ") + QString::fromLatin1(qVersion()));
    line(QStringLiteral("    Vendor ......... The Qt Company"));
    line(QStringLiteral("    Vendor URL ..... https://www.qt.io/"));
    line(QStringLiteral("    Prefix ......... ") + QLibraryInfo::path(QLibraryInfo::PrefixPath));
    line(QString());
    const struct mallinfo2 heap = ::mallinfo2();
    line(QStringLiteral("    Max Available Memory ..... %1MB").arg(toMegabytes(physicalMemory())));
    line(QStringLiteral("    Total Used Memory ........ %1MB").arg(toMegabytes(residentMemory())));
    line(QStringLiteral("    Free Memory .............. %1MB").arg(toMegabytes(qint64(heap.fordblks))));
    line(QString());
    line(QStringLiteral("OPERATING SYSTEM INFO"));
    line(QStringLiteral("    Operating system name: ") + osName());
    line(QStringLiteral("    Operating system architecture: ") + QSysInfo::currentCpuArchitecture());
    line(QStringLiteral("    Operating system version") + QSysInfo::kernelVersion());
    line(QString());
    line(QStringLiteral("COMMANDLINE ARGUMENTS:"));
    if (args.isEmpty())
        line(QStringLiteral("    No arguments supplied"));
    for (qsizetype i = 0; i < args.size(); ++i)
        line(QStringLiteral("    Arg%1 = %2").arg(i).arg(args.at(i)));
    if (startDirectory) {
        line(QString());
        line(QStringLiteral("START DIRECTORY:"));
        line(QStringLiteral("  ") + *startDirectory);
    }
    return t;
}

} // namespace zentrova::RuntimeInfo
