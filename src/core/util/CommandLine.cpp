#include "util/CommandLine.h"

#include <QFileInfo>

namespace zentrova::CommandLine {

std::optional<QString> findFolder(const QStringList& args)
{
    std::optional<QString> found;
    QString path;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (i > 0)
            path += QLatin1Char(' ');
        path += args.at(i);
        const QFileInfo info(path);
        if (info.isDir() && info.isReadable())
            found = info.absoluteFilePath();
    }
    return found;
}

} // namespace zentrova::CommandLine
