// Draws the program's own icons and logos. Run by scripts/artwork/make-artwork.sh; the PNGs are committed.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

static void aperture(QPainter& p, QPointF c, double r, QColor light, QColor dark)
{
    QRadialGradient g(c, r);
    g.setColorAt(0, light);
    g.setColorAt(1, dark);
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, r, r);
    // six blades of a lens aperture
    p.setPen(QPen(QColor(255, 255, 255, 150), r * 0.04));
    for (int i = 0; i < 6; ++i) {
        QTransform t;
        t.translate(c.x(), c.y());
        t.rotate(i * 60);
        p.drawLine(t.map(QPointF(r * 0.35, -r * 0.2)), t.map(QPointF(r * 0.9, r * 0.35)));
    }
    p.setBrush(QColor(20, 30, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, r * 0.3, r * 0.3);
}

static QImage logo(const QString& word, QColor light, QColor dark)
{
    QImage img(400, 400, QImage::Format_ARGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    aperture(p, QPointF(200, 160), 130, light, dark);
    QFont f(QStringLiteral("DejaVu Sans"), 40, QFont::Bold);
    p.setFont(f);
    p.setPen(dark);
    p.drawText(QRect(0, 300, 400, 80), Qt::AlignCenter, word);
    return img;
}

static QImage icon()
{
    QImage img(24, 24, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 24);
    g.setColorAt(0, QColor(60, 170, 190));
    g.setColorAt(1, QColor(20, 90, 120));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 5, 5);
    QPainterPath z;
    z.moveTo(6, 6);
    z.lineTo(18, 6);
    z.lineTo(8, 17);
    z.lineTo(18, 17);
    p.setPen(QPen(Qt::white, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(z);
    return img;
}

static QImage trash()
{
    QImage img(48, 48, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 70, 80), 2));
    p.setBrush(QColor(170, 175, 185));
    QPainterPath bin;
    bin.moveTo(12, 14);
    bin.lineTo(36, 14);
    bin.lineTo(33, 44);
    bin.lineTo(15, 44);
    bin.closeSubpath();
    p.drawPath(bin);
    p.drawRoundedRect(QRectF(8, 8, 32, 6), 2, 2);
    p.drawRect(QRectF(20, 4, 8, 4));
    for (int x : {19, 24, 29})
        p.drawLine(QPointF(x, 19), QPointF(x, 40));
    return img;
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    bool ok = icon().save(out + "/kvt_24x24.png")
              && logo(QStringLiteral("Zentrova"), QColor(120, 210, 230), QColor(20, 90, 120))
                     .save(out + "/Zentrova_logo_400x400.png")
              && logo(QStringLiteral("tolvex"), QColor(240, 190, 120), QColor(140, 60, 20)).save(out + "/tolvexlogo.png")
              && trash().save(out + "/trash.png");
    return ok ? 0 : 1;
}
