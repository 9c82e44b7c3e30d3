#pragma once

#include "link/com_port_resolver.h"

#include <QtCore/QObject>

#include <array>
#include <functional>

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QWidget;

// The choice of COM port: the items Com&1..Com&4 and &Custom COM of the Data menu, their
// check marks, and the entry panel where any number can be typed.
class PortChoice : public QObject {
    Q_OBJECT
public:
    // Stores the chosen number as ComPort and saves the settings.
    using StorePort = std::function<void(qint16)>;

    // Puts the panel into panelParent and the five port items at the end of dataMenu.
    PortChoice(QWidget *panelParent, QMenu *dataMenu, StorePort storePort,
               ComPortResolver resolver = ComPortResolver());

    [[nodiscard]] qint16 portNumber() const { return portNumber_; }
    [[nodiscard]] QWidget *panel() const { return panel_; }
    // Start-up: a stored 1..4 acts as its menu item, any other number is applied as it is.
    void applyStoredPort(qint16 stored);

    void setPortNumber(qint16 port);
    void clearPortChecks();
    // Com&1..Com&4: a fixed port.
    void choosePort(int number);
    // &Custom COM: the entry panel.
    void showPortPanel();
    // Hides the panel and applies port, or with 0 the number typed in the entry.
    void applyPortChoice(qint16 port);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Enter (with any modifiers) applies the typed number; a printable character that is not
    // a digit is kept out. True when the entry must not see the key.
    bool takeKey(const QKeyEvent &key);
    void buildPanel(QWidget *panelParent);
    void addMenuItems(QMenu *dataMenu);
    void checkItemOf(qint16 port);
    void refreshTooltips();

    qint16 portNumber_ = 0;
    StorePort storePort_;
    ComPortResolver resolver_;
    std::array<QAction *, 5> portItems_{};
    QWidget *panel_ = nullptr;
    QLabel *panelLabel_ = nullptr;
    QPlainTextEdit *portEntry_ = nullptr;
};
