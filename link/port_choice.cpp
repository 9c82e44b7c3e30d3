#include "link/port_choice.h"

#include "core/fonts.h"
#include "link/port_number.h"

#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPlainTextEdit>

namespace {

constexpr std::array<void (PortChoice::*)(), 5> clickHandlers{
    &PortChoice::mcom1_Click, &PortChoice::mcom2_Click, &PortChoice::mcom3_Click,
    &PortChoice::mcom4_Click, &PortChoice::mcom5_Click};

constexpr int firstPrintable = 32;
constexpr int lastPrintable = 126;

// The rounded outline that frames the entry panel.
class RoundedOutline : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    }
};


// The character a key stands for: with Ctrl held, a letter gives its control code, as
// Ctrl+V gives 22.
int characterCode(QChar character, Qt::KeyboardModifiers modifiers)
{
    const int code = character.unicode();
    if (modifiers.testFlag(Qt::ControlModifier) && code >= 0x40 && code <= 0x7f)
        return code & 0x1f;
    return code;
}

}  // namespace

PortChoice::PortChoice(QWidget* panelParent, QMenu* dataMenu, StorePort storePort,
                       ComPortResolver resolver)
    : QObject(panelParent), storePort_(std::move(storePort)), resolver_(std::move(resolver))
{
    buildPanel(panelParent);
    addMenuItems(dataMenu);
}

void PortChoice::buildPanel(QWidget* panelParent)
{
    picCOM_ = new QWidget(panelParent);
    picCOM_->setObjectName(QStringLiteral("picCOM"));
    picCOM_->setFixedSize(121, 49);

    auto* shape = new RoundedOutline(picCOM_);
    shape->setObjectName(QStringLiteral("ShapeCOM"));
    shape->setGeometry(0, 0, 121, 49);
    shape->setAttribute(Qt::WA_TransparentForMouseEvents);

    lblCOM_ = new QLabel(QStringLiteral("Enter COM Port No:"), picCOM_);
    lblCOM_->setObjectName(QStringLiteral("lblCOM"));
    lblCOM_->setFont(VarloFont(QStringLiteral("Small Fonts"), 6.75));
    lblCOM_->setGeometry(8, 4, 105, 14);

    txtCOM_ = new QPlainTextEdit(picCOM_);
    txtCOM_->setObjectName(QStringLiteral("txtCOM"));
    txtCOM_->setFont(VarloFont(QStringLiteral("Courier New"), 8.25));
    txtCOM_->setGeometry(8, 20, 105, 22);
    txtCOM_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtCOM_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtCOM_->installEventFilter(this);

    picCOM_->hide();
}

void PortChoice::addMenuItems(QMenu* dataMenu)
{
    static const std::array<const char*, 5> captions{"Com&1", "Com&2", "Com&3", "Com&4",
                                                     "&Custom COM"};
    for (int item = 0; item < 5; ++item) {
        QAction* action = dataMenu->addAction(QString::fromLatin1(captions[item]));
        action->setObjectName(QStringLiteral("mcom%1").arg(item + 1));
        action->setCheckable(true);
        // The check marks follow the chosen port, never the click itself.
        connect(action, &QAction::triggered, this, [this, action, item](bool checked) {
            action->setChecked(!checked);
            (this->*clickHandlers[item])();
        });
        mcom_[item] = action;
    }
    dataMenu->setToolTipsVisible(true);
    connect(dataMenu, &QMenu::aboutToShow, this, &PortChoice::refreshTooltips);
}

void PortChoice::refreshTooltips()
{
    for (int number = 1; number <= 4; ++number)
        mcom_[number - 1]->setToolTip(resolver_.describe(number));
}

void PortChoice::applyStoredPort(qint16 stored)
{
    if (stored >= 1 && stored <= 4)
        (this->*clickHandlers[stored - 1])();
    else
        ApplyPortChoice(stored);
}

void PortChoice::movePanel(QPoint topLeft)
{
    picCOM_->move(topLeft);
}

void PortChoice::SetPortNumber(qint16 port)
{
    PortNumber = port;
}

void PortChoice::ClearPortChecks()
{
    for (QAction* item : mcom_)
        item->setChecked(false);
}

void PortChoice::choosePort(int number)
{
    SetPortNumber(static_cast<qint16>(number));
    ClearPortChecks();
    mcom_[number - 1]->setChecked(true);
    storePort_(PortNumber);
}

void PortChoice::mcom1_Click()
{
    choosePort(1);
}

void PortChoice::mcom2_Click()
{
    choosePort(2);
}

void PortChoice::mcom3_Click()
{
    choosePort(3);
}

void PortChoice::mcom4_Click()
{
    choosePort(4);
}

void PortChoice::mcom5_Click()
{
    ChooseCustomPort();
}

void PortChoice::ChooseCustomPort()
{
    ShowPortPanel();
}

void PortChoice::ShowPortPanel()
{
    picCOM_->show();
    picCOM_->raise();
    txtCOM_->setPlainText(QString::number(PortNumber));
    txtCOM_->setFocus();
    txtCOM_->moveCursor(QTextCursor::End);
}

void PortChoice::txtCOM_KeyPress(int& keyAscii)
{
    const bool printable = keyAscii >= firstPrintable && keyAscii <= lastPrintable;
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (printable && !digit)
        keyAscii = 0;
}

void PortChoice::txtCOM_KeyDown(int& keyCode, Qt::KeyboardModifiers shift)
{
    Q_UNUSED(shift);
    if (keyCode != Qt::Key_Return && keyCode != Qt::Key_Enter)
        return;
    keyCode = 0;
    ApplyPortChoice(0);
}

void PortChoice::ApplyPortChoice(qint16 port)
{
    picCOM_->hide();
    if (port == 0) {
        // Not a number, out of range, or below 1: the Enter was a cancel.
        const auto typed = PortFromText(txtCOM_->toPlainText());
        if (!typed)
            return;
        port = *typed;
    }
    SetPortNumber(port);
    storePort_(PortNumber);
    ClearPortChecks();
    checkItemOf(PortNumber);
}

void PortChoice::checkItemOf(qint16 port)
{
    if (port >= 1 && port <= 4)
        mcom_[port - 1]->setChecked(true);
    else if (port > 4)
        mcom_[4]->setChecked(true);
}

bool PortChoice::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != txtCOM_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    int keyCode = key->key();
    txtCOM_KeyDown(keyCode, key->modifiers());
    if (keyCode == 0)
        return true;
    for (const QChar character : key->text()) {
        int keyAscii = characterCode(character, key->modifiers());
        txtCOM_KeyPress(keyAscii);
        if (keyAscii == 0)
            return true;
    }
    return false;
}
