#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>

class QLabel;
class QPlainTextEdit;
class QWidget;

// The serial-number panel: its label, the entry box and the rounded outline. It shares its
// place with the port panel.
class SerialEntry : public QObject {
    Q_OBJECT
public:
    explicit SerialEntry(QWidget *parent);

    [[nodiscard]] QWidget *panel() const { return panel_; }
    [[nodiscard]] bool isOpen() const;
    // The number entered last; at start-up the stored one.
    [[nodiscard]] const QString &serialNo() const { return serialNo_; }
    void setSerialNo(const QString &serialNo) { serialNo_ = serialNo; }

    // Shows the panel over its neighbour with the number entered last, the caret after it.
    // That text never completes the entry by itself.
    void open();
    void close();

signals:
    // Enter, a double-click or an edit of the user's that reaches 8 characters.
    void completed(const QString &serialNo);

private:
    void onTextChanged();
    void complete();
    bool eventFilter(QObject *watched, QEvent *event) override;

    QWidget *panel_;
    QLabel *label_;
    QPlainTextEdit *entry_;
    QString serialNo_;
    bool filling_ = false;
};
