#pragma once

namespace zentrova {

class FileTableModel;

// A catalogue model received a new list of entries.
class TableLoadEvent {
public:
    explicit TableLoadEvent(FileTableModel* model) : model(model) {}
    FileTableModel* getModel() const { return model; }

private:
    FileTableModel* model;
};

class FileTableModelLoadListener {
public:
    virtual ~FileTableModelLoadListener() = default;
    virtual void tableLoaded(const TableLoadEvent& event) = 0;
};

// Told, on the thread that made the change, that every row of the catalogue may have changed.
class FileTableModelListener {
public:
    virtual ~FileTableModelListener() = default;
    virtual void tableChanged(FileTableModel* model) = 0;
};

} // namespace zentrova
