#include "app/resources/images.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtSvg/QSvgRenderer>

// Q_INIT_RESOURCE declares a function and must stay outside any namespace.
static bool registerVarloResources()
{
    Q_INIT_RESOURCE(varlo);
    return true;
}

void initVarloResources()
{
    [[maybe_unused]] static const bool registered = registerVarloResources();
}

namespace {

QString imagePath(const QString &name)
{
    return QStringLiteral(":/images/%1.svg").arg(name);
}

qreal screenScale()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

} // namespace

QIcon toolbarImage(const QString &name)
{
    initVarloResources();
    return QIcon(imagePath(name));
}

QPixmap logoPixmap(int side)
{
    initVarloResources();
    const qreal scale = screenScale();
    QPixmap pixmap(qRound(side * scale), qRound(side * scale));
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(imagePath(QStringLiteral("logo")));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QIcon varloIcon()
{
    initVarloResources();
    return QIcon(imagePath(QStringLiteral("icon")));
}
