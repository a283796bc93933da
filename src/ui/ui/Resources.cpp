#include "ui/Resources.h"

#include "util/Console.h"

#include <QFileInfo>

static void initZentrovaResources()
{
    Q_INIT_RESOURCE(zentrova);
}

namespace zentrova::Resources {

void init()
{
    static const bool done = (initZentrovaResources(), true);
    (void)done;
}

QString imagePath(const QString& name)
{
    return QStringLiteral(":/images/") + QFileInfo(name).fileName();
}

QImage loadImage(const QString& name)
{
    init();
    QImage image(imagePath(name));
    if (image.isNull())
        Console::err(QStringLiteral("Unable to read image resource: ") + name);
    return image;
}

const QImage& iconImage()
{
    static const QImage icon = loadImage(QStringLiteral("kvt_24x24.png"));
    return icon;
}

const QImage& logoImage()
{
    static const QImage logo = loadImage(QStringLiteral("Zentrova_logo_400x400.png"));
    return logo;
}

} // namespace zentrova::Resources
