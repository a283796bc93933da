#include "util/MainSettings.h"

#include "util/AppPaths.h"
#include "util/AtomicFile.h"
#include "util/Console.h"
#include "util/XmlProperties.h"

#include <QFileInfo>

namespace zentrova {

MainSettings::MainSettings(QString file) : path(file.isEmpty() ? AppPaths::PROPS_FILE : std::move(file)) {}

void MainSettings::loadProps()
{
    if (!QFileInfo::exists(path)) {
        createDefaultProps();
        return;
    }
    props.clear();
    QByteArray bytes;
    QString error;
    if (!AtomicFile::readAll(path, &bytes, &error) || !XmlProperties::read(bytes, &props, &error)) {
        props.clear();
        Console::err(QStringLiteral("Unable to read settings ") + path + QStringLiteral(": ") + error);
    }
}

bool MainSettings::storeProps()
{
    QString error;
    if (!AtomicFile::writeAll(path, XmlProperties::write(props, COMMENT), &error)) {
        Console::err(QStringLiteral("Unable to write settings: ") + error);
        return false;
    }
    return true;
}

void MainSettings::createDefaultProps()
{
    props.clear();
    props.insert(LASTDIR, AppPaths::HOME);
    storeProps();
}

std::optional<QString> MainSettings::value(const QString& key) const
{
    const auto it = props.constFind(key);
    if (it != props.constEnd())
        return it.value();
    if (key == LASTDIR || key == LASTIMPORTDIR || key == LASTEXPORTDIR)
        return AppPaths::HOME;
    if (key == LOGGING)
        return QStringLiteral("false");
    return std::nullopt;
}

QString MainSettings::valueOr(const QString& key, const QString& fallback) const
{
    return props.value(key, fallback);
}

void MainSettings::setValue(const QString& key, const QString& value)
{
    props.insert(key, value);
    storeProps();
}

} // namespace zentrova
