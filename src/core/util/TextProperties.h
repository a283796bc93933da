#pragma once

#include "util/Properties.h"

#include <QByteArray>
#include <QDateTime>

namespace zentrova::TextProperties {

// The line-oriented properties text in ISO 8859-1: "#" + comment, "#" + the date of writing in the default
// date text, then key=value lines with every escape of the format (\\ \t \n \r \f, \= \: \# \!, blanks in
// keys and a value's leading blank, \uXXXX for anything outside printable ASCII). Keys in sorted order.
QByteArray write(const Properties& props, const QString& comment, const QDateTime& when);

// Skips blank and comment lines, splits at the first unescaped "=", ":" or blank, undoes the escapes and
// joins continuation lines. A malformed \u escape is a failure; *props is then left as it was.
bool read(const QByteArray& text, Properties* props, QString* error);

QString escape(const QString& text, bool isKey);

} // namespace zentrova::TextProperties
