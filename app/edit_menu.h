#pragma once

#include <QtWidgets/QMenu>

class ChannelTable;
class NoticeLine;
class QMenuBar;
class TableHistory;
class TerminalPane;

// The menu "&Edit" between "&File" and "&Data": undo and redo of the table's steps, and the
// frequencies as text on the clipboard. Its keys leave an open editor's own copy and paste alone.
class EditMenu : public QMenu {
    Q_OBJECT
public:
    struct Parts {
        ChannelTable &table;
        TableHistory &history;
        NoticeLine &noticeLine;
        TerminalPane &terminal;
    };

    // The menu goes into menus in front of the menu before.
    EditMenu(QMenuBar *menus, QMenu *before, Parts parts);

    // The selected rows in use, or all rows in use when none is selected, one frequency a line
    // ended by CR LF.
    void copyFrequencies() const;
    // Frequencies from the clipboard into the rows from the selected one (or row 1) downwards;
    // nothing changes unless every value taken is a valid frequency.
    void pasteFrequencies();

private:
    QAction *addItem(QAction *action, const char *name, const QList<QKeySequence> &keys);

    Parts parts_;
};
