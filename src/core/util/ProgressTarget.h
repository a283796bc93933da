#pragma once

namespace zentrova {

// Where a long operation reports its progress. Calls may come from any thread: an implementation that
// paints hands each change to its own thread. Byte counts are 32-bit signed, as the progress windows take them.
class ProgressTarget {
public:
    virtual ~ProgressTarget() = default;
    virtual void setDeterminate(int minimum, int maximum, int value) = 0;
    virtual void setValue(int value) = 0;
    virtual void setIndeterminate(bool indeterminate) = 0;
};

} // namespace zentrova
