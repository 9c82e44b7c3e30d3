#include "app/file_drop.h"

#include "app/terminal_pane.h"

#include <QtCore/QFileInfo>
#include <QtCore/QMimeData>
#include <QtCore/QUrl>
#include <QtGui/QDropEvent>
#include <QtWidgets/QWidget>

namespace {

// The one local ".vl" file the data names, or an empty path.
QString channelFileIn(const QMimeData *data)
{
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    return QFileInfo(path).suffix().compare(QStringLiteral("vl"), Qt::CaseInsensitive) == 0 ? path : QString();
}

} // namespace

FileDrop::FileDrop(QWidget *window, TerminalPane &terminal, std::function<bool()> transferRunning)
    : QObject(window), terminal_(terminal), transferRunning_(std::move(transferRunning))
{
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool FileDrop::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    auto *dragged = static_cast<QDropEvent *>(event);
    const QString path = channelFileIn(dragged->mimeData());
    if (path.isEmpty())
        dragged->ignore();
    else if (type == QEvent::Drop)
        drop(dragged, path);
    else
        dragged->acceptProposedAction();
    return true;
}

void FileDrop::drop(QDropEvent *event, const QString &path)
{
    if (transferRunning_()) {
        event->ignore();
        terminal_.addLine(QStringLiteral("%1 was not opened: a transfer is running").arg(QFileInfo(path).fileName()));
        return;
    }
    event->acceptProposedAction();
    emit openRequested(path);
}
