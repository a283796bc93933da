#include "renderers/GeneralTableCellRenderer.h"

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QPainter>

namespace zentrova {

QString GeneralTableCellRenderer::textOf(const QVariant& value, bool* failed)
{
    if (failed)
        *failed = false;
    if (!value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
    case QMetaType::ULongLong:
        return QString::number(value.toLongLong());
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        if (!when.isValid()) {
            if (failed)
                *failed = true;
            return DATE_ERROR;
        }
        const QLocale locale;
        return locale.toString(when.date(), QLocale::ShortFormat) + QLatin1Char(' ') + locale.toString(when.time(), QLocale::LongFormat);
    }
    case QMetaType::QString:
        return value.toString();
    default:
        return {};
    }
}

void GeneralTableCellRenderer::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QVariant value = index.data(Qt::DisplayRole);
    bool failed = false;
    const QString text = textOf(value, &failed);
    const bool number = value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int;
    const bool selected = opt.state & QStyle::State_Selected;

    painter->save();
    painter->fillRect(opt.rect, selected ? opt.palette.highlight() : opt.palette.base());
    QFont font = opt.font;
    font.setBold(number);
    painter->setFont(font);
    QColor colour = selected ? opt.palette.highlightedText().color() : opt.palette.text().color();
    if (failed)
        colour = Qt::red;
    else if ((number || value.typeId() == QMetaType::QDateTime) && !selected)
        colour = Qt::black;
    painter->setPen(colour);
    const QRect area = opt.rect.adjusted(PAD_HORIZONTAL, PAD_VERTICAL, -PAD_HORIZONTAL, -PAD_VERTICAL);
    painter->drawText(area, Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft), text);
    painter->restore();
}

QSize GeneralTableCellRenderer::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QFont font = option.font;
    const QVariant value = index.data(Qt::DisplayRole);
    font.setBold(value.typeId() == QMetaType::LongLong);
    const QFontMetrics metrics(font);
    return {metrics.horizontalAdvance(textOf(value)) + 2 * PAD_HORIZONTAL, metrics.height() + 2 * PAD_VERTICAL};
}

} // namespace zentrova
