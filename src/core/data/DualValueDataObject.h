#pragma once

#include <QString>
#include <QVariant>

namespace zentrova {

// A value with its display text, as the trees and album lists hold them. Equal when the values are equal;
// ordered by the compare mode: by value, by display text without regard to case, or by value and then display.
class DualValueDataObject {
public:
    static constexpr int COMPARE_BY_BOTH = 0;
    static constexpr int COMPARE_BY_VALUE = 1;
    static constexpr int COMPARE_BY_DISPLAY = 2;

    DualValueDataObject() = default;
    DualValueDataObject(QVariant value, QString display, int compareMode = COMPARE_BY_BOTH)
        : value(std::move(value)), display(std::move(display)), mode(compareMode)
    {
    }

    const QVariant& getValue() const { return value; }
    const QString& getDisplay() const { return display; }
    int getCompareMode() const { return mode; }
    QString toString() const { return display; }

    // Negative, zero or positive, by this object's compare mode.
    int compareTo(const DualValueDataObject& other) const;
    bool operator==(const DualValueDataObject& other) const { return value == other.value; }

private:
    QVariant value;
    QString display;
    int mode = COMPARE_BY_BOTH;
};

} // namespace zentrova
