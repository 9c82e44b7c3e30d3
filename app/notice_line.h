#pragma once

#include <QtCore/QString>
#include <QtGui/QPalette>

class QLabel;
class QWidget;

// The notice line under the table, its only writer. Each state is shown by its own call; the
// refused entry and the EEPROM countdown cover the table's heading while they are shown.
class NoticeLine {
public:
    NoticeLine(QWidget *parent, QWidget *heading);

    [[nodiscard]] QLabel *label() const { return label_; }

    // A frequency entry was refused; shown while the user corrects it.
    void showWrongFrequency();
    // A timed notice, in the colour of menu text until endNotice().
    void showNotice(const QString &text);
    void endNotice();
    // The progress animation's word and points.
    void showProgress(const QString &caption);
    void showEepromCountdown(int seconds);
    void hide();
    // Hidden with the heading back in view.
    void uncoverHeading();

private:
    void showCoveringHeading(const QString &text);

    QLabel *label_;
    QWidget *heading_;
    QPalette notNoticePalette_;
};
