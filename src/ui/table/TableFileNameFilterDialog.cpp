#include "table/TableFileNameFilterDialog.h"

#include "ui/Resources.h"
#include "util/Prompter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace zentrova {

namespace {
QRadioButton* radio(const QString& text, const char* name, QButtonGroup* group, bool checked)
{
    auto* b = new QRadioButton(text);
    b->setObjectName(QLatin1String(name));
    b->setChecked(checked);
    group->addButton(b);
    return b;
}
} // namespace

TableFileNameFilterDialog::TableFileNameFilterDialog(const QString& presetText, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(TITLE);
    setModal(true);
    setWindowIcon(QIcon(QPixmap::fromImage(Resources::iconImage())));

    auto* mode = new QButtonGroup(this);
    jrbInclude = radio(QStringLiteral("Include Matched"), "jrbInclude", mode, true);
    jrbExclude = radio(QStringLiteral("Exclude Matched"), "jrbExclude", mode, false);
    auto* position = new QButtonGroup(this);
    jrbBeginsWith = radio(QStringLiteral("Begins with"), "jrbBeginsWith", position, false);
    jrbContains = radio(QStringLiteral("Contains"), "jrbContains", position, true);
    jrbEndsWith = radio(QStringLiteral("Ends with"), "jrbEndsWith", position, false);

    auto* label = new QLabel(QStringLiteral("Filter Text"));
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    jtfFilterText = new QLineEdit(presetText);
    jtfFilterText->setObjectName(QStringLiteral("jtfFilterText"));
    jtfFilterText->setMinimumWidth(jtfFilterText->fontMetrics().horizontalAdvance(QLatin1Char('m')) * 32);
    jckbCaseSensitive = new QCheckBox(QStringLiteral("Case Sensitive"));
    jckbCaseSensitive->setObjectName(QStringLiteral("jckbCaseSensitive"));
    jckbCaseSensitive->setChecked(true);
    auto* jbCreateFilter = new QPushButton(QStringLiteral("Create Filter"));
    jbCreateFilter->setObjectName(QStringLiteral("jbCreateFilter"));
    jbCreateFilter->setDefault(true);
    connect(jbCreateFilter, &QPushButton::clicked, this, &TableFileNameFilterDialog::jbCreateFilter_actionPerformed);

    auto* rows = new QVBoxLayout(this);
    auto* first = new QHBoxLayout;
    first->addWidget(jrbInclude);
    first->addWidget(jrbExclude);
    first->addStretch();
    auto* second = new QHBoxLayout;
    second->addWidget(jrbBeginsWith);
    second->addWidget(jrbContains);
    second->addWidget(jrbEndsWith);
    second->addStretch();
    auto* third = new QHBoxLayout;
    third->addWidget(label);
    third->addWidget(jtfFilterText, 1);
    auto* fourth = new QHBoxLayout;
    fourth->addWidget(jckbCaseSensitive);
    fourth->addStretch();
    fourth->addWidget(jbCreateFilter);
    rows->addLayout(first);
    rows->addLayout(second);
    rows->addLayout(third);
    rows->addLayout(fourth);

    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TableFileNameFilter TableFileNameFilterDialog::filter() const
{
    const auto where = jrbBeginsWith->isChecked() ? TableFileNameFilter::Position::BEGINS_WITH
        : jrbEndsWith->isChecked()                ? TableFileNameFilter::Position::ENDS_WITH
                                                  : TableFileNameFilter::Position::CONTAINS;
    return TableFileNameFilter(jtfFilterText->text(), jrbInclude->isChecked(), where, jckbCaseSensitive->isChecked(), true);
}

void TableFileNameFilterDialog::jbCreateFilter_actionPerformed()
{
    if (jtfFilterText->text().isEmpty()) {
        if (Prompter* p = Prompter::current())
            p->showMessage(MessageType::Information, QStringLiteral("Message"), QStringLiteral("No text entered to filter on"));
        jtfFilterText->setFocus();
        return;
    }
    initialized = true;
    accept();
}

} // namespace zentrova
