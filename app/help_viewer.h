#pragma once

#include <QtWidgets/QWidget>

class QTextBrowser;

// A window of our own for the help document (HTML), since the desktop would hand a ".hlp"
// file to whatever it associates with that legacy format.
class HelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget *owner = nullptr);

    // Shows the document at path; false when it is missing or cannot be read.
    bool showDocument(const QString &path);

private:
    QTextBrowser *browser_;
};

// Opens the help document at path in the owner's viewer, creating it or raising the one already
// open. False when the file is missing or cannot be read: the caller then reports
// "Unable to start help file.".
bool showHelpFile(QWidget *owner, const QString &path);
