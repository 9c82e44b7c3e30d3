#pragma once

#include "link/exchange_view.h"

#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtGui/QFont>

class QLabel;
class QPlainTextEdit;
class QWidget;

// The terminal pane under its caption: the echo of the radio's answers.
// While a notice holds the pane, echoes are kept back and shown by the next echo after it.
class TerminalPane : public QObject {
    Q_OBJECT
public:
    explicit TerminalPane(QWidget *parent);

    [[nodiscard]] QLabel *caption() const { return caption_; }
    [[nodiscard]] QPlainTextEdit *pane() const { return pane_; }

    // The echo as last written, whether or not a notice holds the pane.
    [[nodiscard]] QString text() const { return echo_; }
    // Replaces the echo; the caret goes to its start.
    void setText(const QString &text);
    // Shows an answer of the radio as the transfer has it now.
    void showEcho(Echo stage, const QString &answer);
    // One line of ours, on a line of its own, with its end in view.
    void addLine(const QString &line);

    // A notice takes the pane: it shows lines in font until released.
    void hold(const QString &lines, const QFont &font);
    // Gives the pane back in font: empty, or with what was echoed while it was held.
    void release(const QFont &font);

    void clearOnDoubleClick();

private:
    // Caret at position (cut to the end), with a selection of one character where there is one.
    void placeCaret(int position);
    bool eventFilter(QObject *watched, QEvent *event) override;

    QLabel *caption_;
    QPlainTextEdit *pane_;
    QString echo_;
    bool held_ = false;
    bool echoedWhileHeld_ = false;
};
