#include "util/XmlProperties.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace zentrova::XmlProperties {

QByteArray write(const Properties& props, const QString& comment)
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(0);
    xml.writeStartDocument(QStringLiteral("1.0"), false);
    xml.writeDTD(QStringLiteral("<!DOCTYPE properties SYSTEM \"%1\">").arg(QLatin1String(SYSTEM_ID)));
    xml.writeStartElement(QStringLiteral("properties"));
    xml.writeTextElement(QStringLiteral("comment"), comment);
    for (auto it = props.constBegin(); it != props.constEnd(); ++it) {
        xml.writeStartElement(QStringLiteral("entry"));
        xml.writeAttribute(QStringLiteral("key"), it.key());
        xml.writeCharacters(it.value());
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

bool read(const QByteArray& document, Properties* props, QString* error)
{
    QXmlStreamReader xml(document);
    Properties result;
    bool sawRoot = false;
    auto failWith = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (!sawRoot) {
            if (xml.name() != QLatin1String("properties"))
                return failWith(QStringLiteral("Root element is not properties"));
            sawRoot = true;
            continue;
        }
        if (xml.name() == QLatin1String("comment")) {
            xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        } else if (xml.name() == QLatin1String("entry")) {
            const auto attributes = xml.attributes();
            if (!attributes.hasAttribute(QLatin1String("key")))
                return failWith(QStringLiteral("Entry without key at line %1").arg(xml.lineNumber()));
            const QString key = attributes.value(QLatin1String("key")).toString();
            result.insert(key, xml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement));
        } else {
            return failWith(QStringLiteral("Unexpected element %1 at line %2").arg(xml.name()).arg(xml.lineNumber()));
        }
    }
    if (xml.hasError())
        return failWith(QStringLiteral("%1 at line %2, column %3")
                            .arg(xml.errorString())
                            .arg(xml.lineNumber())
                            .arg(xml.columnNumber()));
    if (!sawRoot)
        return failWith(QStringLiteral("No properties element"));
    *props = result;
    return true;
}

} // namespace zentrova::XmlProperties
