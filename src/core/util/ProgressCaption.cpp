#include "util/ProgressCaption.h"

#include <cmath>

namespace zentrova::ProgressCaption {

QString caption(int value, int maximum, const QLocale& locale)
{
    const double percent = std::nearbyint(100.0 * double(value) / double(maximum));
    return locale.toString(static_cast<qlonglong>(percent)) + locale.percent() + QLatin1Char(' ')
           + QString::number(value) + QStringLiteral(" of ") + QString::number(maximum);
}

} // namespace zentrova::ProgressCaption
