#pragma once

#include <QtCore/QString>
#include <QtCore/QStringList>

// What pasting text into the table does. From each line (CR LF or LF) it takes the first cell
// (cells end at a tab or a comma, as spreadsheets copy them), blanks and quotes around it
// removed, when that cell reads as a plain decimal number; other lines, such as a column's
// heading, are passed over. The values fill rows from firstRow down to channelCount.
struct PastePlan {
    QStringList values; // for rows firstRow, firstRow + 1, …
    int valuesBeyondLastRow = 0;
    // Every value is an admissible frequency; otherwise the paste changes nothing.
    bool admissible = false;
};

PastePlan planPaste(const QString &text, int firstRow, int channelCount);
