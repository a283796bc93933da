#include "data/DualValueDataObject.h"

namespace zentrova {

namespace {
int compareValues(const QVariant& a, const QVariant& b)
{
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return QString::compare(a.toString(), b.toString());
    const QPartialOrdering order = QVariant::compare(a, b);
    if (order == QPartialOrdering::Less)
        return -1;
    if (order == QPartialOrdering::Greater)
        return 1;
    return 0; // equal, or values that do not compare
}
} // namespace

int DualValueDataObject::compareTo(const DualValueDataObject& other) const
{
    const int byDisplay = display.compare(other.display, Qt::CaseInsensitive);
    switch (mode) {
    case COMPARE_BY_VALUE:
        return compareValues(value, other.value);
    case COMPARE_BY_DISPLAY:
        return byDisplay;
    default: {
        const int byValue = compareValues(value, other.value);
        return byValue != 0 ? byValue : byDisplay;
    }
    }
}

} // namespace zentrova
