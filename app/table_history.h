#pragma once

#include "channels/channel_rows.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtGui/QUndoGroup>
#include <QtGui/QUndoStack>

class ChannelTable;
class QAction;
class TransferProgress;

// The table's changes as steps to undo and redo: an accepted entry, a change of the
// transceiver type, the rows loaded from a file, the rows an upload stored, a paste. A step
// puts back rows and the type only; files and the radio stay as they are. A change that leaves
// everything as it was is no step. While a transfer runs, undo and redo are unavailable.
class TableHistory : public QObject {
    Q_OBJECT
public:
    // Undo and redo follow the lock of the transfer commands.
    TableHistory(ChannelTable &table, TransferProgress &progress, QObject *parent);

    // "&Undo" and "&Redo", each followed by the name of the step it would take.
    [[nodiscard]] QAction *createUndoAction(QObject *parent);
    [[nodiscard]] QAction *createRedoAction(QObject *parent);

    // Rows 1.. receive the admitted frequencies read from the file at path.
    void putRowsFromFile(const QString &path, const QStringList &frequencies);
    // Rows firstRow.. receive admitted frequencies.
    void paste(int firstRow, const QStringList &frequencies);
    // A row an upload stores; the rows of one transfer make one step.
    void putUploaded(int row, const QString &admitted);

private:
    // Off from a transfer's start to its end.
    void enableUndo(bool enable);
    // Chooses the type in the list, as the user does, without making it a step.
    void replayType(TransceiverType type);
    void recordEntry(int row, const QString &previous);
    void recordType(TransceiverType previous);
    // Puts frequencies into rows firstRow.. as one step named text.
    void putRows(const QString &text, int firstRow, const QStringList &frequencies, int transfer = 0);

    ChannelTable &table_;
    QUndoGroup group_;
    QUndoStack stack_;
    // Counts the transfers, so that two uploads in a row stay two steps.
    int transfers_ = 0;
    bool replaying_ = false;
};
