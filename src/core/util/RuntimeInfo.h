#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zentrova::RuntimeInfo {

// The operating system's name as the program reports and tests it: "Linux" on Linux.
QString osName();

// The runtime information text of the About dialog, line by line, each line ending in "\n".
QString text(const QStringList& args, const std::optional<QString>& startDirectory);

// Whole mebibytes, rounded to the nearest.
qint64 toMegabytes(qint64 bytes);

} // namespace zentrova::RuntimeInfo
