#pragma once

#include "link/com_port_resolver.h"

#include <QtCore/QObject>
#include <QtCore/QPoint>

#include <array>
#include <functional>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QWidget;

// The choice of COM port: the items Com&1..Com&4 and &Custom COM of the Data menu, their
// check marks, and the entry panel picCOM where any number can be typed.
class PortChoice : public QObject {
    Q_OBJECT
public:
    // Stores the chosen number as ComPort and saves the settings.
    using StorePort = std::function<void(qint16)>;

    // Puts the panel into panelParent and the five port items at the end of dataMenu.
    PortChoice(QWidget* panelParent, QMenu* dataMenu, StorePort storePort,
               ComPortResolver resolver = ComPortResolver());

    [[nodiscard]] qint16 portNumber() const { return PortNumber; }
    // Start-up: a stored 1..4 acts as its menu item, any other number is applied as it is.
    void applyStoredPort(qint16 stored);
    // Places the panel (the window puts it where the serial-number panel stands).
    void movePanel(QPoint topLeft);

    void SetPortNumber(qint16 port);
    void ClearPortChecks();
    void mcom1_Click();
    void mcom2_Click();
    void mcom3_Click();
    void mcom4_Click();
    void mcom5_Click();
    void ChooseCustomPort();
    void ShowPortPanel();
    // Sets keyAscii to 0 for a printable character that is not a digit.
    void txtCOM_KeyPress(int& keyAscii);
    // Enter (with any modifiers) applies the typed number; keyCode becomes 0.
    void txtCOM_KeyDown(int& keyCode, Qt::KeyboardModifiers shift);
    // Hides the panel and applies port, or with 0 the number typed in txtCOM.
    void ApplyPortChoice(qint16 port);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanel(QWidget* panelParent);
    void addMenuItems(QMenu* dataMenu);
    void choosePort(int number);
    void checkItemOf(qint16 port);
    void refreshTooltips();

    qint16 PortNumber = 0;
    StorePort storePort_;
    ComPortResolver resolver_;
    std::array<QAction*, 5> mcom_{};
    QWidget* picCOM_ = nullptr;
    QLabel* lblCOM_ = nullptr;
    QPlainTextEdit* txtCOM_ = nullptr;
};
