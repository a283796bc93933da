#include "util/TextProperties.h"

#include "util/DateText.h"

namespace zentrova::TextProperties {

namespace {
const char HEX[] = "0123456789ABCDEF";

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\f');
}

void appendLatin1(QByteArray& out, const QString& line)
{
    // escape() leaves only printable ASCII, so this never loses a character.
    out += line.toLatin1();
    out += '\n';
}

// Logical lines: comment and blank lines dropped, continuations joined, leading blanks removed.
QStringList logicalLines(const QString& text)
{
    QStringList physical;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            physical.append(current);
            current.clear();
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else {
            current.append(c);
        }
    }
    if (!current.isEmpty())
        physical.append(current);

    QStringList lines;
    QString pending;
    bool continuing = false;
    for (const QString& raw : physical) {
        qsizetype start = 0;
        while (start < raw.size() && isBlank(raw.at(start)))
            ++start;
        const QString line = raw.mid(start);
        if (!continuing) {
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char('!')))
                continue;
        }
        qsizetype backslashes = 0;
        for (qsizetype k = line.size() - 1; k >= 0 && line.at(k) == QLatin1Char('\\'); --k)
            ++backslashes;
        if (backslashes % 2 == 1) {
            pending += line.left(line.size() - 1);
            continuing = true;
        } else {
            pending += line;
            lines.append(pending);
            pending.clear();
            continuing = false;
        }
    }
    if (continuing)
        lines.append(pending);
    return lines;
}

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

bool unescape(const QString& in, QString* out, QString* error)
{
    out->clear();
    for (qsizetype i = 0; i < in.size(); ++i) {
        QChar c = in.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= in.size()) {
            out->append(c);
            continue;
        }
        c = in.at(++i);
        switch (c.unicode()) {
        case 't': out->append(QLatin1Char('\t')); break;
        case 'n': out->append(QLatin1Char('\n')); break;
        case 'r': out->append(QLatin1Char('\r')); break;
        case 'f': out->append(QLatin1Char('\f')); break;
        case 'u': {
            uint code = 0;
            for (qsizetype k = 1; k <= 4; ++k) {
                const int digit = i + k < in.size() ? hexValue(in.at(i + k)) : -1;
                if (digit < 0) {
                    if (error)
                        *error = QStringLiteral("Malformed \\uxxxx encoding.");
                    return false;
                }
                code = code * 16 + static_cast<uint>(digit);
            }
            out->append(QChar(static_cast<char16_t>(code)));
            i += 4;
            break;
        }
        default: out->append(c); break;
        }
    }
    return true;
}
} // namespace

QString escape(const QString& text, bool isKey)
{
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        switch (c) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u' ': out += (i == 0 || isKey) ? QStringLiteral("\\ ") : QStringLiteral(" "); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        case u'\f': out += QStringLiteral("\\f"); break;
        case u'=': case u':': case u'#': case u'!':
            out += QLatin1Char('\\');
            out += QChar(c);
            break;
        default:
            if (c < 0x20 || c > 0x7e) {
                out += QStringLiteral("\\u");
                out += QLatin1Char(HEX[(c >> 12) & 0xF]);
                out += QLatin1Char(HEX[(c >> 8) & 0xF]);
                out += QLatin1Char(HEX[(c >> 4) & 0xF]);
                out += QLatin1Char(HEX[c & 0xF]);
            } else {
                out += QChar(c);
            }
        }
    }
    return out;
}

QByteArray write(const Properties& props, const QString& comment, const QDateTime& when)
{
    QByteArray out;
    appendLatin1(out, QLatin1Char('#') + comment);
    appendLatin1(out, QLatin1Char('#') + DateText::format(when));
    for (auto it = props.constBegin(); it != props.constEnd(); ++it)
        appendLatin1(out, escape(it.key(), true) + QLatin1Char('=') + escape(it.value(), false));
    return out;
}

bool read(const QByteArray& bytes, Properties* props, QString* error)
{
    Properties result;
    for (const QString& line : logicalLines(QString::fromLatin1(bytes))) {
        qsizetype keyEnd = 0;
        bool hasSeparator = false;
        bool precedingBackslash = false;
        for (; keyEnd < line.size(); ++keyEnd) {
            const QChar c = line.at(keyEnd);
            if ((c == QLatin1Char('=') || c == QLatin1Char(':')) && !precedingBackslash) {
                hasSeparator = true;
                break;
            }
            if (isBlank(c) && !precedingBackslash)
                break;
            precedingBackslash = (c == QLatin1Char('\\')) ? !precedingBackslash : false;
        }
        qsizetype valueStart = hasSeparator ? keyEnd + 1 : keyEnd;
        while (valueStart < line.size()) {
            const QChar c = line.at(valueStart);
            if (!isBlank(c)) {
                if (!hasSeparator && (c == QLatin1Char('=') || c == QLatin1Char(':')))
                    hasSeparator = true;
                else
                    break;
            }
            ++valueStart;
        }
        QString key, value;
        if (!unescape(line.left(keyEnd), &key, error) || !unescape(line.mid(valueStart), &value, error))
            return false;
        result.insert(key, value);
    }
    *props = result;
    return true;
}

} // namespace zentrova::TextProperties
