#pragma once

namespace zentrova {

// Told when a long operation starts (true) and ends (false).
class BusyListener {
public:
    virtual ~BusyListener() = default;
    virtual void setBusy(bool busy) = 0;
};

} // namespace zentrova
