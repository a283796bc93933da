#pragma once

#include "models/TableFileNameFilter.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace zentrova {

// "File Name Filter Dialog": builds one file name filter. Modal; isInitialized() tells whether the user
// pressed "Create Filter" with a text.
class TableFileNameFilterDialog : public QDialog {
    Q_OBJECT
public:
    static inline const QString TITLE = QStringLiteral("File Name Filter Dialog");

    explicit TableFileNameFilterDialog(const QString& presetText = QString(), QWidget* parent = nullptr);

    bool isInitialized() const { return initialized; }
    // The filter as the widgets describe it, switched on.
    TableFileNameFilter filter() const;

    void jbCreateFilter_actionPerformed();

private:
    QRadioButton* jrbInclude;
    QRadioButton* jrbExclude;
    QRadioButton* jrbBeginsWith;
    QRadioButton* jrbContains;
    QRadioButton* jrbEndsWith;
    QLineEdit* jtfFilterText;
    QCheckBox* jckbCaseSensitive;
    bool initialized = false;
};

} // namespace zentrova
