#include "app/table_history.h"

#include "app/channel_table.h"
#include "app/transfer_progress.h"

#include <QtCore/QFileInfo>
#include <QtCore/QScopedValueRollback>
#include <QtGui/QAction>

#include <array>
#include <functional>
#include <memory>

namespace {

using Rows = std::array<QString, kTableRows>;

Rows rowsOf(const ChannelTable &table)
{
    Rows rows;
    for (int row = 1; row <= kTableRows; ++row)
        rows.at(row - 1) = table.frequencyOfRow(row);
    return rows;
}

// The six rows before a change and after it.
class RowsStep final : public QUndoCommand {
public:
    RowsStep(ChannelTable &table, const QString &text, const Rows &before, int transfer)
        : QUndoCommand(text), table_(table), before_(before), after_(rowsOf(table)), transfer_(transfer)
    {
    }

    [[nodiscard]] bool changesNothing() const { return before_ == after_; }
    void undo() override { put(before_); }
    void redo() override { put(after_); }
    // The rows of one upload come one by one and join into one step.
    [[nodiscard]] int id() const override { return transfer_ != 0 ? 1 : -1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const RowsStep *>(other);
        if (next->transfer_ != transfer_)
            return false;
        after_ = next->after_;
        return true;
    }

private:
    void put(const Rows &rows)
    {
        for (int row = 1; row <= kTableRows; ++row)
            table_.putFrequency(row, rows.at(row - 1));
    }

    ChannelTable &table_;
    Rows before_;
    Rows after_;
    int transfer_;
};

class TypeStep final : public QUndoCommand {
public:
    using Choose = std::function<void(TransceiverType)>;

    TypeStep(TransceiverType before, TransceiverType after, Choose choose)
        : QUndoCommand(QStringLiteral("Transceiver Type")), before_(before), after_(after), choose_(std::move(choose))
    {
    }

    void undo() override { choose_(before_); }
    void redo() override { choose_(after_); }

private:
    TransceiverType before_;
    TransceiverType after_;
    Choose choose_;
};

void pushUnlessUnchanged(QUndoStack &stack, std::unique_ptr<RowsStep> step)
{
    if (!step->changesNothing())
        stack.push(step.release());
}

// An "&" in a file's name is no access key of the menu item that names the step.
QString stepNamingFile(const QString &path)
{
    return QStringLiteral("Open ") + QFileInfo(path).fileName().replace(u'&', QStringLiteral("&&"));
}

} // namespace

TableHistory::TableHistory(ChannelTable &table, TransferProgress &progress, QObject *parent)
    : QObject(parent), table_(table)
{
    group_.addStack(&stack_);
    group_.setActiveStack(&stack_);
    connect(&table_, &ChannelTable::entryAccepted, this, &TableHistory::recordEntry);
    connect(&table_, &ChannelTable::typeChanged, this, &TableHistory::recordType);
    connect(&progress, &TransferProgress::transferCommandsEnabled, this, &TableHistory::enableUndo);
}

QAction *TableHistory::createUndoAction(QObject *parent)
{
    return group_.createUndoAction(parent, QStringLiteral("&Undo"));
}

QAction *TableHistory::createRedoAction(QObject *parent)
{
    return group_.createRedoAction(parent, QStringLiteral("&Redo"));
}

void TableHistory::putRowsFromFile(const QString &path, const QStringList &frequencies)
{
    putRows(stepNamingFile(path), 1, frequencies);
}

void TableHistory::paste(int firstRow, const QStringList &frequencies)
{
    putRows(QStringLiteral("Paste"), firstRow, frequencies);
}

void TableHistory::putUploaded(int row, const QString &admitted)
{
    putRows(QStringLiteral("Upload"), row, {admitted}, transfers_);
}

// Locked with Download and Upload; steps made meanwhile wait for the transfer's end.
void TableHistory::enableUndo(bool enable)
{
    if (!enable)
        ++transfers_;
    group_.setActiveStack(enable ? &stack_ : nullptr);
}

void TableHistory::replayType(TransceiverType type)
{
    const QScopedValueRollback replaying(replaying_, true);
    table_.chooseType(type);
}

void TableHistory::recordEntry(int row, const QString &previous)
{
    Rows before = rowsOf(table_);
    before.at(row - 1) = previous;
    pushUnlessUnchanged(stack_,
                        std::make_unique<RowsStep>(table_, QStringLiteral("Edit Channel %1").arg(row), before, 0));
}

void TableHistory::recordType(TransceiverType previous)
{
    if (!replaying_)
        stack_.push(new TypeStep(previous, table_.type(), [this](TransceiverType type) { replayType(type); }));
}

void TableHistory::putRows(const QString &text, int firstRow, const QStringList &frequencies, int transfer)
{
    const Rows before = rowsOf(table_);
    for (int row = firstRow; row < firstRow + frequencies.size(); ++row)
        table_.putFrequency(row, frequencies.at(row - firstRow));
    pushUnlessUnchanged(stack_, std::make_unique<RowsStep>(table_, text, before, transfer));
}
