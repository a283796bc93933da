#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zentrova::CommandLine {

// Joins the arguments one by one into a growing path ("a", "a b", "a b c"...) and answers the absolute path
// of the longest one that names an existing, readable folder. So a folder whose name the shell split at
// its blanks is still found.
std::optional<QString> findFolder(const QStringList& args);

} // namespace zentrova::CommandLine
