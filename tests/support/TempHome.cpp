#include "TempHome.h"

#include "util/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zentrova::test {

TempHome::TempHome()
    : dir(std::make_unique<QTemporaryDir>()), oldHome(qgetenv("HOME")), hadHome(qEnvironmentVariableIsSet("HOME"))
{
    qputenv("HOME", QFile::encodeName(dir->path()));
    AppPaths::init();
}

TempHome::~TempHome()
{
    if (hadHome)
        qputenv("HOME", oldHome);
    else
        qunsetenv("HOME");
    AppPaths::init();
}

QString TempHome::write(const QString& relative, const QByteArray& bytes) const
{
    const QString full = dir->path() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << full.toStdString();
    return full;
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace zentrova::test
