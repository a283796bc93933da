#pragma once

#include <QLocale>
#include <QString>

namespace zentrova::ProgressCaption {

// "25% 3 of 12": the whole percentage of value over maximum in the locale's form, the value, " of ",
// the maximum. The percentage is rounded half to even. Maximum must be positive.
QString caption(int value, int maximum, const QLocale& locale = QLocale());

} // namespace zentrova::ProgressCaption
