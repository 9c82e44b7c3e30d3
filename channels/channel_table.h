#pragma once

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>

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

    [[nodiscard]] QTreeWidget *list() const { return ListF; }
    [[nodiscard]] QLabel *heading() const { return Label9; }
    [[nodiscard]] QComboBox *typeList() const { return Combo1; }

    // Rows are numbered 1..6.
    [[nodiscard]] QString frequencyOfRow(int row) const;
    // Stores an admitted frequency in its canonical form, with band "W".
    void putFrequency(int row, const QString &admitted);
    // Marks a row as selected without taking the focus or closing an open editor.
    void highlightRow(int row);
    void clearHighlight(int row);

    [[nodiscard]] bool singleChannel() const { return SingleChannel; }
    [[nodiscard]] int channelCount() const;

    // Start-up: the stored type shows or hides the mask and sets the heading.
    void applyStoredType(qint16 transceiverType);
    // Start-up: the table's columns and six rows "118.000" / "W".
    void buildRows();
    // Start-up: fills Combo1 and selects the type in force, which stores it again.
    void fillTypeList();

    void Combo1_Click();
    void ListF_Click(const QModelIndex &index);
    void ListF_BeforeLabelEdit();
    // Checks an entry for the row whose editor closed; true when it was accepted.
    bool ListF_AfterLabelEdit(int row, const QString &newString);

private:
    void setSingleChannel(bool single);
    void showTypeHeading();
    void placeMask();
    void startEditing(int row);
    void showWrongFrequency();
    bool eventFilter(QObject *watched, QEvent *event) override;

    SettingsStore &settings_;
    QPointer<QLabel> Label3;
    QTreeWidget *ListF;
    QLabel *Label9;
    QFrame *Frame1;
    QComboBox *Combo1;
    bool SingleChannel = false;
};
