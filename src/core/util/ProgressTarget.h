#pragma once

#include <QString>

namespace zentrova {

// Where a long operation reports its progress. Calls may come from any thread: an implementation that
// paints hands each change to its own thread. Byte counts are 32-bit signed, as the progress windows take them.
class ProgressTarget {
public:
    virtual ~ProgressTarget() = default;
    virtual void setDeterminate(int minimum, int maximum, int value) = 0;
    virtual void setValue(int value) = 0;
    virtual void setIndeterminate(bool indeterminate) = 0;
    // A text on the bar (shown once switched on); bars without one ignore these.
    virtual void setString(const QString& text) { (void)text; }
    virtual void setStringPainted(bool painted) { (void)painted; }
};

} // namespace zentrova
