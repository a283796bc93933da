#pragma once

class QObject;

namespace zentrova {

// Told that its source changed (a pane showed a new file, a slide timer moved on...).
class ChangeListener {
public:
    virtual ~ChangeListener() = default;
    virtual void stateChanged(QObject* source) = 0;
};

} // namespace zentrova
