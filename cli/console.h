#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QIODevice>
#include <QtCore/QString>

// Standard output for results, standard error for warnings, errors and the progress line,
// which is rewritten in place and cleared before any other line.
class Console {
public:
    Console(QIODevice &out, QIODevice &err, bool showProgress);

    void print(const QByteArray &bytes);
    void printLine(const QString &line);
    void report(const QString &line);
    void progress(const QString &line);
    void endProgress();
    // Nothing more is said once the run has been cut short.
    void mute() { muted_ = true; }
    [[nodiscard]] bool showsProgress() const { return showProgress_; }

private:
    QIODevice &out_;
    QIODevice &err_;
    bool showProgress_;
    bool progressShown_ = false;
    bool muted_ = false;
};
