#include "app/help_viewer.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QPointer>
#include <QtCore/QUrl>
#include <QtWidgets/QTextBrowser>
#include <QtWidgets/QVBoxLayout>

namespace {

bool isReadableFile(const QString &path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

// Without an owner there is still only one viewer.
QPointer<HelpViewer> &ownerlessViewer()
{
    static QPointer<HelpViewer> viewer;
    return viewer;
}

HelpViewer *viewerOf(QWidget *owner)
{
    if (!owner)
        return ownerlessViewer();
    return owner->findChild<HelpViewer *>(QString(), Qt::FindDirectChildrenOnly);
}

HelpViewer *newViewer(QWidget *owner)
{
    auto *viewer = new HelpViewer(owner);
    if (!owner) {
        viewer->setAttribute(Qt::WA_DeleteOnClose);
        ownerlessViewer() = viewer;
    }
    return viewer;
}

} // namespace

HelpViewer::HelpViewer(QWidget *owner) : QWidget(owner, Qt::Window), browser_(new QTextBrowser(this))
{
    setWindowTitle(QStringLiteral("Varlo Help"));
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(640, 560);
}

bool HelpViewer::showDocument(const QString &path)
{
    if (!isReadableFile(path))
        return false;
    // The extension says nothing about the content, so name the type.
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()), QTextDocument::HtmlResource);
    return true;
}

bool showHelpFile(QWidget *owner, const QString &path)
{
    if (!isReadableFile(path))
        return false;
    HelpViewer *viewer = viewerOf(owner);
    if (!viewer)
        viewer = newViewer(owner);
    if (!viewer->showDocument(path))
        return false;
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return true;
}
