#include "ui/MainViews.h"

#include "models/FileTableModel.h"
#include "models/FileTreeModel.h"
#include "table/FileTable.h"
#include "tree/FileTree.h"
#include "ui/SlidePane.h"
#include "ui/ThumbnailPanel.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zentrova {

namespace {
QFont boldFont(int points = -1)
{
    QFont f;
    f.setBold(true);
    if (points > 0)
        f.setPointSize(points);
    return f;
}

void paintBlack(QWidget* w)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, QColor(192, 192, 192));
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QWidget* fileView(MainViews& v, QWidget* owner, FileTableModel* table)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* bar = new QHBoxLayout;
    bar->setSpacing(0);
    for (char c = 'A'; c <= 'Z'; ++c) {
        auto* b = new QPushButton(QString(QLatin1Char(c)));
        b->setObjectName(QStringLiteral("letter") + QLatin1Char(c));
        b->setFlat(false);
        b->setContentsMargins(0, 0, 0, 0);
        // The letters may shrink, so that the image side keeps its 400 pixels in a narrow window.
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        b->setMinimumWidth(0);
        b->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(b);
        v.letters << b;
    }
    layout->addLayout(bar);
    v.fileTable = new FileTable(owner);
    v.fileTable->setObjectName(QStringLiteral("fileTable"));
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(12);
    mono.setBold(false);
    v.fileTable->setFont(mono);
    v.fileTable->setToolTip(QStringLiteral("Double click or press <Enter> to view full screen"));
    v.fileTable->setFileTableModel(table);
    layout->addWidget(v.fileTable);
    return page;
}

QWidget* tagView(MainViews& v)
{
    auto* split = new QSplitter;
    split->setContentsMargins(10, 10, 10, 10);
    auto* left = new QWidget;
    auto* l = new QVBoxLayout(left);
    auto* title = new QLabel(QStringLiteral("Allbum Tags"));
    title->setFont(boldFont());
    title->setAlignment(Qt::AlignCenter);
    v.albumTagList = new QListWidget;
    auto* buttons = new QHBoxLayout;
    for (const char* text : {"Add", "Remove"}) {
        auto* b = new QPushButton(QLatin1String(text));
        b->setEnabled(false); // the album commands arrive with the albums
        buttons->addWidget(b);
    }
    l->addWidget(title);
    l->addWidget(v.albumTagList, 1);
    l->addLayout(buttons);
    auto* right = new QWidget;
    auto* r = new QVBoxLayout(right);
    v.albumNameLabel = new QLabel(QStringLiteral("Album Files"));
    v.albumNameLabel->setFont(boldFont(16));
    v.albumFileList = new QListWidget;
    v.albumFileList->setToolTip(QStringLiteral("Right click or drag to Album Tag list"));
    v.removeLabel = new QLabel;
    r->addWidget(v.albumNameLabel);
    r->addWidget(v.albumFileList, 1);
    r->addWidget(v.removeLabel);
    for (QWidget* side : {left, right}) // like the letters: the views may get narrow
        side->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    split->addWidget(left);
    split->addWidget(right);
    return split;
}

QWidget* dateView(MainViews& v, QWidget* owner, FileTreeModel* tree)
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    v.dateTree = new FileTree(owner);
    v.dateTree->setObjectName(QStringLiteral("dateTree"));
    tree->setTree(v.dateTree);
    v.dateTree->setTreeModel(tree);
    layout->addWidget(v.dateTree, 1);
    auto* row = new QGridLayout;
    row->setHorizontalSpacing(6);
    QFont bold = boldFont(12);
    int column = 0;
    for (QPushButton** b : {&v.jbCollapseAll, &v.jbExpandToMonths, &v.jbExpandToDays, &v.jbExpandAll}) {
        static const char* texts[] = {"Collapse All", "Months", "Days", "Expand All"};
        *b = new QPushButton(QLatin1String(texts[column]));
        (*b)->setFont(bold);
        (*b)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed); // never what keeps the views wide
        row->addWidget(*b, 0, column);
        row->setColumnStretch(column++, 1);
    }
    layout->addLayout(row);
    QObject::connect(v.jbCollapseAll, &QPushButton::clicked, v.dateTree, &FileTree::showYears);
    QObject::connect(v.jbExpandToMonths, &QPushButton::clicked, v.dateTree, &FileTree::showMonths);
    QObject::connect(v.jbExpandToDays, &QPushButton::clicked, v.dateTree, &FileTree::showDays);
    QObject::connect(v.jbExpandAll, &QPushButton::clicked, v.dateTree, &FileTree::showAllFiles);
    return page;
}

QWidget* imageTab(MainViews& v)
{
    auto* page = new QWidget;
    paintBlack(page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    auto label = [] {
        auto* l = new QLabel;
        l->setAlignment(Qt::AlignCenter);
        l->setFont(boldFont());
        paintBlack(l);
        return l;
    };
    v.dateLabel = label();
    v.dateLabel->setObjectName(QStringLiteral("dateLabel"));
    v.sizeLabel = label();
    v.sizeLabel->setObjectName(QStringLiteral("sizeLabel"));
    v.slidePane = new SlidePane;
    v.slidePane->setObjectName(QStringLiteral("slidePane"));
    v.slidePane->setToolTip(QStringLiteral("Click to enlarge at cursor"));
    layout->addWidget(v.dateLabel);
    layout->addWidget(v.slidePane, 1);
    layout->addWidget(v.sizeLabel);
    return page;
}

QWidget* albumTagsTab(MainViews& v)
{
    auto* page = new QWidget;
    paintBlack(page);
    auto* layout = new QVBoxLayout(page);
    v.thumbnail = new ThumbnailPanel(200);
    v.imageAlbumList = new QListWidget;
    v.imageAlbumList->setFont(boldFont(14));
    QPalette p = v.imageAlbumList->palette();
    p.setColor(QPalette::Base, QColor(211, 211, 211));
    v.imageAlbumList->setPalette(p);
    layout->addWidget(v.thumbnail);
    auto* listBox = new QWidget;
    auto* lb = new QVBoxLayout(listBox);
    lb->setContentsMargins(10, 10, 10, 10);
    lb->addWidget(v.imageAlbumList);
    layout->addWidget(listBox, 1);
    auto* buttons = new QHBoxLayout;
    for (const char* text : {"Add", "Remove"}) {
        auto* b = new QPushButton(QLatin1String(text));
        b->setEnabled(false); // no command of their own yet (left open by the design)
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    return page;
}

} // namespace

void MainViews::build(QWidget* owner, FileTableModel* table, FileTreeModel* tree)
{
    central = new QWidget(owner);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);

    jspMain = new QSplitter(Qt::Horizontal);
    jtpFileViews = new QTabWidget;
    jtpFileViews->setObjectName(QStringLiteral("jtpFileViews"));
    jtpFileViews->addTab(fileView(*this, owner, table), QStringLiteral("File View"));
    jtpFileViews->addTab(tagView(*this), QStringLiteral("Tag View"));
    jtpFileViews->addTab(dateView(*this, owner, tree), QStringLiteral("Date View"));
    jtpCurrentImage = new QTabWidget;
    jtpCurrentImage->setObjectName(QStringLiteral("jtpCurrentImage"));
    jtpCurrentImage->addTab(imageTab(*this), QStringLiteral("Image"));
    jtpCurrentImage->addTab(albumTagsTab(*this), QStringLiteral("Album Tags"));
    jtaImageData = new QPlainTextEdit;
    jtaImageData->setReadOnly(true);
    jtaImageData->setObjectName(QStringLiteral("jtaImageData"));
    jtpCurrentImage->addTab(jtaImageData, QStringLiteral("Image Data"));
    jspMain->addWidget(jtpFileViews);
    jspMain->addWidget(jtpCurrentImage);
    jspMain->setSizes({400, 600});
    outer->addWidget(jspMain, 1);

    auto* strip = new QHBoxLayout;
    strip->setContentsMargins(4, 2, 4, 2);
    auto* rowLabel = new QLabel(QStringLiteral("Row Count"));
    rowLabel->setFont(boldFont());
    jtfRowCount = new QLineEdit(QStringLiteral("0"));
    jtfRowCount->setObjectName(QStringLiteral("jtfRowCount"));
    jtfRowCount->setReadOnly(true);
    jtfRowCount->setFocusPolicy(Qt::NoFocus);
    jtfRowCount->setAlignment(Qt::AlignRight);
    jtfRowCount->setFixedSize(50, 19);
    strip->addWidget(rowLabel);
    strip->addWidget(jtfRowCount);
    strip->addStretch();
    outer->addLayout(strip);
}

} // namespace zentrova
