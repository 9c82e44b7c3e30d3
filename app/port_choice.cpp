#include "app/port_choice.h"

#include "app/fonts.h"
#include "app/rounded_outline.h"
#include "core/decimal_text.h"
#include "link/port_number.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>

#include <algorithm>

namespace {

// The character a key stands for: with Ctrl held, a letter gives its control code, as
// Ctrl+V gives 22.
int characterCode(QChar character, Qt::KeyboardModifiers modifiers)
{
    const int code = character.unicode();
    if (modifiers.testFlag(Qt::ControlModifier) && code >= 0x40 && code <= 0x7f)
        return code & 0x1f;
    return code;
}

// Control codes (Ctrl+V pastes) and characters beyond ASCII pass; the entry checks them later.
bool keptOut(int code)
{
    const bool printable = code >= 32 && code <= 126;
    return printable && !isAsciiDigit(QChar(code));
}

} // namespace

PortChoice::PortChoice(QWidget *panelParent, QMenu *dataMenu, StorePort storePort, ComPortResolver resolver)
    : QObject(panelParent), storePort_(std::move(storePort)), resolver_(std::move(resolver))
{
    buildPanel(panelParent);
    addMenuItems(dataMenu);
}

void PortChoice::buildPanel(QWidget *panelParent)
{
    panel_ = new QWidget(panelParent);
    panel_->setObjectName(QStringLiteral("picCOM"));
    panel_->setFixedSize(121, 49);

    auto *shape = new RoundedOutline(panel_);
    shape->setObjectName(QStringLiteral("ShapeCOM"));
    shape->setGeometry(0, 0, 121, 49);

    panelLabel_ = new QLabel(QStringLiteral("Enter COM Port No:"), panel_);
    panelLabel_->setObjectName(QStringLiteral("lblCOM"));
    panelLabel_->setFont(varloFont(QStringLiteral("Small Fonts"), 6.75));
    panelLabel_->setGeometry(8, 4, 105, 14);

    portEntry_ = new QPlainTextEdit(panel_);
    portEntry_->setObjectName(QStringLiteral("txtCOM"));
    portEntry_->setFont(varloFont(QStringLiteral("Courier New"), 8.25));
    portEntry_->setGeometry(8, 20, 105, 22);
    portEntry_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    portEntry_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    portEntry_->installEventFilter(this);

    panel_->hide();
}

void PortChoice::addMenuItems(QMenu *dataMenu)
{
    static const std::array<const char *, 5> captions{"Com&1", "Com&2", "Com&3", "Com&4", "&Custom COM"};
    for (int item = 0; item < 5; ++item) {
        QAction *action = dataMenu->addAction(QString::fromLatin1(captions[item]));
        action->setObjectName(QStringLiteral("mcom%1").arg(item + 1));
        action->setCheckable(true);
        // The check marks follow the chosen port, never the click itself.
        connect(action, &QAction::triggered, this, [this, action, item](bool checked) {
            action->setChecked(!checked);
            if (item < 4)
                choosePort(item + 1);
            else
                showPortPanel();
        });
        portItems_[item] = action;
    }
    dataMenu->setToolTipsVisible(true);
    connect(dataMenu, &QMenu::aboutToShow, this, &PortChoice::refreshTooltips);
}

void PortChoice::refreshTooltips()
{
    for (int number = 1; number <= 4; ++number)
        portItems_[number - 1]->setToolTip(resolver_.describe(number));
}

void PortChoice::applyStoredPort(qint16 stored)
{
    if (stored >= 1 && stored <= 4)
        choosePort(stored);
    else
        applyPortChoice(stored);
}

void PortChoice::setPortNumber(qint16 port)
{
    portNumber_ = port;
}

void PortChoice::clearPortChecks()
{
    for (QAction *item : portItems_)
        item->setChecked(false);
}

void PortChoice::choosePort(int number)
{
    setPortNumber(static_cast<qint16>(number));
    clearPortChecks();
    portItems_[number - 1]->setChecked(true);
    storePort_(portNumber_);
}

void PortChoice::showPortPanel()
{
    panel_->show();
    panel_->raise();
    portEntry_->setPlainText(QString::number(portNumber_));
    portEntry_->setFocus();
    portEntry_->moveCursor(QTextCursor::End);
}

bool PortChoice::takeKey(const QKeyEvent &key)
{
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        applyPortChoice(0);
        return true;
    }
    const QString text = key.text();
    return std::any_of(text.begin(), text.end(),
                       [&key](QChar character) { return keptOut(characterCode(character, key.modifiers())); });
}

void PortChoice::applyPortChoice(qint16 port)
{
    panel_->hide();
    if (port == 0) {
        // Not a number, out of range, or below 1: the Enter was a cancel.
        const auto typed = portFromText(portEntry_->toPlainText());
        if (!typed)
            return;
        port = *typed;
    }
    setPortNumber(port);
    storePort_(portNumber_);
    clearPortChecks();
    checkItemOf(portNumber_);
}

void PortChoice::checkItemOf(qint16 port)
{
    if (port >= 1 && port <= 4)
        portItems_[port - 1]->setChecked(true);
    else if (port > 4)
        portItems_[4]->setChecked(true);
}

bool PortChoice::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != portEntry_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    return takeKey(*static_cast<QKeyEvent *>(event));
}
