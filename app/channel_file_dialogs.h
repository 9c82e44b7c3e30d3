#pragma once

#include "core/lifetime.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <qcoro/qcorotask.h>

class QWidget;

// The file dialogs of Open and Save (ComDiag). Both start from the name chosen last in
// either, and neither holds up the window: a running transfer goes on while one is open.
class ChannelFileDialogs : public QObject {
    Q_OBJECT
public:
    explicit ChannelFileDialogs(QWidget *window);

    // When it ends, a dialog still open answers as cancelled.
    [[nodiscard]] Lifetime &lifetime() { return lifetime_; }

    // The path chosen, or an empty one when the dialog was cancelled. Given a folder, the
    // dialog shows it, newest name first, instead of the name chosen last.
    QCoro::Task<QString> chooseFileToOpen(QString folder = {});
    // While the ".vl" filter is chosen a name without an extension gets ".vl". An existing file
    // is replaced only after the user agreed.
    QCoro::Task<QString> chooseFileToSave();

private:
    QCoro::Task<QString> choose(bool saving, QString folder = {});

    QWidget *window_;
    QString fileName_;
    Lifetime lifetime_;
};
