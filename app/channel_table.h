#pragma once

#include "channels/channel_rows.h"

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QStringList>

class QComboBox;
class QFrame;
class QLabel;
class QModelIndex;
class QTreeWidget;
class QWidget;

// The channel table and the transceiver type: the list of rows with its in-place editing,
// the heading above it, the mask over rows 2 to 6 and the type list.
class ChannelTable : public QObject {
    Q_OBJECT
public:
    explicit ChannelTable(QWidget *parent);

    [[nodiscard]] QTreeWidget *list() const { return list_; }
    [[nodiscard]] QLabel *heading() const { return heading_; }
    [[nodiscard]] QComboBox *typeList() const { return typeList_; }

    // Rows are numbered 1..6.
    [[nodiscard]] QString frequencyOfRow(int row) const;
    // Stores an admitted frequency in its canonical form, with band "W".
    void putFrequency(int row, const QString &admitted);
    // Marks a row as selected without taking the focus or closing an open editor.
    void highlightRow(int row);
    void clearHighlight(int row);

    [[nodiscard]] TransceiverType type() const { return rows_.type(); }
    [[nodiscard]] bool singleChannel() const { return rows_.singleChannel(); }
    [[nodiscard]] int channelCount() const { return rows_.channelCount(); }
    // The frequencies of rows 1 to channelCount(), as shown.
    [[nodiscard]] QStringList frequenciesInUse() const { return rows_.frequenciesInUse(); }

    // The selected rows among rows 1 to channelCount(), in order.
    [[nodiscard]] QList<int> selectedRowsInUse() const;
    // Selects a type in the list, as the user's choice does.
    void chooseType(TransceiverType type);

    // Start-up: the stored type shows or hides the mask and sets the heading.
    void applyStoredType(TransceiverType type);
    // Start-up: the table's columns and six rows "118.000" / "W".
    void buildRows();
    // Start-up: fills the type list and selects the type in force, which is chosen again.
    void fillTypeList();

    void applyChosenType();
    void onRowClicked(const QModelIndex &index);
    void prepareEdit();
    // Checks an entry for the row whose editor closed; true when it was accepted.
    bool acceptEdit(int row, const QString &newString);

signals:
    // The user chose a type in the list, or start-up selected the one in force.
    void typeChosen(TransceiverType type);
    // The type chosen differs from the one before.
    void typeChanged(TransceiverType previous);
    // An editor opens on a row.
    void editStarted();
    // An entry was refused; the editor opens again on its row.
    void entryRefused();
    // An entry was stored in a row that held previous.
    void entryAccepted(int row, const QString &previous);

private:
    void setType(TransceiverType type);
    void showRow(int row);
    void showTypeHeading();
    void placeMask();
    // The frequency column takes 0.7 of the list's width, the band column 0.29.
    void sizeColumns();
    void startEditing(int row);
    bool eventFilter(QObject *watched, QEvent *event) override;

    ChannelRows rows_;
    QTreeWidget *list_;
    QLabel *heading_;
    QFrame *mask_;
    QComboBox *typeList_;
};
