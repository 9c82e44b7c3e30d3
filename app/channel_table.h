#pragma once

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtCore/QStringList>

class QComboBox;
class QFrame;
class QLabel;
class QModelIndex;
class QTreeWidget;
class QWidget;
class SettingsStore;

// The channel table and the transceiver type: ListF with its in-place editing, the heading
// Label9, the mask Frame1 over rows 2 to 6 and the type list Combo1.
class ChannelTable : public QObject {
    Q_OBJECT
public:
    // notice is the window's notice line, where a refused entry says "Wrong Frequency!".
    ChannelTable(QWidget *parent, SettingsStore &settings, QLabel *notice);

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

    [[nodiscard]] bool singleChannel() const { return singleChannel_; }
    [[nodiscard]] int channelCount() const;
    // The frequencies of rows 1 to channelCount(), as shown.
    [[nodiscard]] QStringList frequenciesInUse() const;

    // Start-up: the stored type shows or hides the mask and sets the heading.
    void applyStoredType(qint16 transceiverType);
    // Start-up: the table's columns and six rows "118.000" / "W".
    void buildRows();
    // Start-up: fills Combo1 and selects the type in force, which stores it again.
    void fillTypeList();

    void applyChosenType();
    void onRowClicked(const QModelIndex &index);
    void prepareEdit();
    // Checks an entry for the row whose editor closed; true when it was accepted.
    bool acceptEdit(int row, const QString &newString);

private:
    void setSingleChannel(bool single);
    void showTypeHeading();
    void placeMask();
    // The frequency column takes 0.7 of the list's width, the band column 0.29.
    void sizeColumns();
    void startEditing(int row);
    void showWrongFrequency();
    bool eventFilter(QObject *watched, QEvent *event) override;

    SettingsStore &settings_;
    QPointer<QLabel> noticeLine_;
    QTreeWidget *list_;
    QLabel *heading_;
    QFrame *mask_;
    QComboBox *typeList_;
    bool singleChannel_ = false;
};
