#pragma once

#include <QMap>
#include <QString>

namespace zentrova {

// String keys with string values, as the settings files hold them.
using Properties = QMap<QString, QString>;

} // namespace zentrova
