#include "app/edit_menu.h"

#include "app/channel_table.h"
#include "app/notice_line.h"
#include "app/table_history.h"
#include "app/terminal_pane.h"
#include "channels/frequency_paste.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QMenuBar>

namespace {

QString valuesLeftOut(int count)
{
    return count == 1 ? QStringLiteral("1 frequency beyond the last row was not pasted")
                      : QStringLiteral("%1 frequencies beyond the last row were not pasted").arg(count);
}

} // namespace

EditMenu::EditMenu(QMenuBar *menus, QMenu *before, Parts parts) : QMenu(QStringLiteral("&Edit"), menus), parts_(parts)
{
    setObjectName(QStringLiteral("medit"));
    menus->insertMenu(before->menuAction(), this);
    addItem(parts_.history.createUndoAction(this), "mundo", {QKeySequence(Qt::CTRL | Qt::Key_Z)});
    addItem(parts_.history.createRedoAction(this), "mredo",
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    addSeparator()->setObjectName(QStringLiteral("mspace7"));
    QAction *copy =
        addItem(new QAction(QStringLiteral("&Copy Frequencies"), this), "mcopy", {QKeySequence(Qt::CTRL | Qt::Key_C)});
    connect(copy, &QAction::triggered, this, &EditMenu::copyFrequencies);
    QAction *paste = addItem(new QAction(QStringLiteral("&Paste Frequencies"), this), "mpaste",
                             {QKeySequence(Qt::CTRL | Qt::Key_V)});
    connect(paste, &QAction::triggered, this, &EditMenu::pasteFrequencies);
}

QAction *EditMenu::addItem(QAction *action, const char *name, const QList<QKeySequence> &keys)
{
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    addAction(action);
    return action;
}

void EditMenu::copyFrequencies() const
{
    QList<int> rows = parts_.table.selectedRowsInUse();
    if (rows.isEmpty())
        for (int row = 1; row <= parts_.table.channelCount(); ++row)
            rows << row;
    QString text;
    for (int row : rows)
        text += parts_.table.frequencyOfRow(row) + QStringLiteral("\r\n");
    QGuiApplication::clipboard()->setText(text);
}

void EditMenu::pasteFrequencies()
{
    const QList<int> selected = parts_.table.selectedRowsInUse();
    const int firstRow = selected.isEmpty() ? 1 : selected.first();
    const PastePlan plan = planPaste(QGuiApplication::clipboard()->text(), firstRow, parts_.table.channelCount());
    if (!plan.admissible) {
        parts_.noticeLine.showWrongFrequency();
        return;
    }
    parts_.history.paste(firstRow, plan.values);
    if (plan.valuesBeyondLastRow > 0)
        parts_.terminal.addLine(valuesLeftOut(plan.valuesBeyondLastRow));
}
