#pragma once

#include <QStringList>

namespace zentrova {

// The full album list (reserved names first) at the time of a change.
class TagListEvent {
public:
    explicit TagListEvent(QStringList tags) : tags(std::move(tags)) {}
    const QStringList& getTagList() const { return tags; }

private:
    QStringList tags;
};

class TagListListener {
public:
    virtual ~TagListListener() = default;
    virtual void tagListChanged(const TagListEvent& event) = 0;
};

} // namespace zentrova
