#include "app/resources/images.h"

#include <QtCore/QStringList>
#include <QtGui/QGuiApplication>
#include <QtGui/QPainter>
#include <QtSvg/QSvgRenderer>

// Q_INIT_RESOURCE declares a function and must stay outside any namespace.
static bool RegisterVarloResources()
{
    Q_INIT_RESOURCE(varlo);
    return true;
}

void InitVarloResources()
{
    [[maybe_unused]] static const bool registered = RegisterVarloResources();
}

namespace {

const QStringList toolbarKeys = {
    QStringLiteral("open"),   QStringLiteral("save"),  QStringLiteral("download"),
    QStringLiteral("upload"), QStringLiteral("print"), QStringLiteral("cancelprint"),
    QStringLiteral("com"),
};

QString ImagePath(const QString &name)
{
    return QStringLiteral(":/images/%1.svg").arg(name);
}

qreal ScreenScale()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

} // namespace

QIcon ToolbarImage(const QString &key)
{
    InitVarloResources();
    if (!toolbarKeys.contains(key))
        return {};
    return QIcon(ImagePath(key));
}

QPixmap LogoPixmap(int side)
{
    InitVarloResources();
    const qreal scale = ScreenScale();
    QPixmap pixmap(qRound(side * scale), qRound(side * scale));
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(ImagePath(QStringLiteral("logo")));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QIcon WindowIcon()
{
    InitVarloResources();
    return QIcon(ImagePath(QStringLiteral("icon")));
}
