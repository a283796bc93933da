#include "util/ScalingSettings.h"

#include "util/AppPaths.h"
#include "util/AtomicFile.h"
#include "util/Console.h"
#include "util/TextProperties.h"

#include <QDateTime>
#include <QFileInfo>

#include <mutex>

namespace zentrova {

namespace {
std::mutex settingsMutex;
Properties shared;

void storeLocked()
{
    QString error;
    if (!AtomicFile::writeAll(AppPaths::SCALING_PROPS_FILE,
                              TextProperties::write(shared, ScalingSettings::COMMENT, QDateTime::currentDateTime()),
                              &error))
        Console::err(error);
}
} // namespace

void ScalingSettings::loadForDialog()
{
    AppPaths::ensureAppDir();
    std::lock_guard lock(settingsMutex);
    if (!QFileInfo::exists(AppPaths::SCALING_PROPS_FILE)) {
        shared.insert(LAST_MONITOR_DIR, AppPaths::HOME);
        shared.insert(LAST_OUTPUT_DIR, AppPaths::HOME);
        storeLocked();
        return;
    }
    QByteArray bytes;
    QString error;
    Properties read;
    if (!AtomicFile::readAll(AppPaths::SCALING_PROPS_FILE, &bytes, &error)
        || !TextProperties::read(bytes, &read, &error)) {
        Console::err(error);
        return;
    }
    for (auto it = read.constBegin(); it != read.constEnd(); ++it)
        shared.insert(it.key(), it.value());
}

QString ScalingSettings::value(const QString& key)
{
    std::lock_guard lock(settingsMutex);
    return shared.value(key, AppPaths::HOME);
}

void ScalingSettings::setValue(const QString& key, const QString& value)
{
    std::lock_guard lock(settingsMutex);
    shared.insert(key, value);
    storeLocked();
}

Properties ScalingSettings::all()
{
    std::lock_guard lock(settingsMutex);
    return shared;
}

} // namespace zentrova
