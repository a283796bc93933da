#pragma once

#include <QString>

namespace zentrova::Console {

// Lines for the standard output and the error output; serialized, flushed, UTF-8.
void out(const QString& line);
void err(const QString& line);

} // namespace zentrova::Console
