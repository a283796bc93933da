#pragma once

#include "util/Properties.h"

#include <QByteArray>

namespace zentrova::XmlProperties {

// The system identifier written in the document type declaration. Readers never fetch it.
inline constexpr const char* SYSTEM_ID = "urn:zentrova:properties";

// An XML 1.0 UTF-8 document, standalone="no", with a DOCTYPE for `properties`, one `comment` element and one
// `entry key=` element per setting (keys in sorted order, so a rewrite of unchanged settings is byte-identical).
QByteArray write(const Properties& props, const QString& comment);

// Accepts the document with or without the comment and the DOCTYPE; nothing named in a DOCTYPE is fetched.
// Anything that is not such a document is a failure with a message, and *props is left as it was.
bool read(const QByteArray& document, Properties* props, QString* error);

} // namespace zentrova::XmlProperties
