#include "app/toolbar.h"

#include "app/resources/images.h"

#include <QtWidgets/QComboBox>

#include <algorithm>
#include <array>

namespace {

// Each key with the name of its button and image, and its tool tip, in the toolbar's order;
// the print button shows one of the two print keys.
struct ButtonLook {
    ToolbarKey key;
    const char *name;
    const char *tip;
};

constexpr std::array kLooks{
    ButtonLook{ToolbarKey::Open, "open", "Open File"},
    ButtonLook{ToolbarKey::Save, "save", "Save File"},
    ButtonLook{ToolbarKey::Print, "print", "Print"},
    ButtonLook{ToolbarKey::CancelPrint, "cancelprint", "Cancel Printing"},
    ButtonLook{ToolbarKey::Upload, "upload", "Upload (From Radio)"},
    ButtonLook{ToolbarKey::Download, "download", "Download (To Radio)"},
    ButtonLook{ToolbarKey::Com, "com", "Select COM port"},
};

const ButtonLook &lookOf(ToolbarKey key)
{
    return *std::find_if(kLooks.begin(), kLooks.end(), [key](const ButtonLook &look) { return look.key == key; });
}

} // namespace

Toolbar::Toolbar(QWidget *window) : QToolBar(window)
{
    setWindowTitle(QStringLiteral("Toolbar1"));
    setObjectName(QStringLiteral("Toolbar1"));
    setMovable(false);
    setIconSize(QSize(16, 16));
    for (const ButtonLook &look : kLooks)
        if (look.key != ToolbarKey::CancelPrint)
            buttons_.push_back(addButton(look.key));
    printButton_ = button(ToolbarKey::Print);
}

QAction *Toolbar::button(ToolbarKey key) const
{
    const auto found = std::find_if(buttons_.begin(), buttons_.end(),
                                    [key](const QAction *button) { return button->data().value<ToolbarKey>() == key; });
    return found == buttons_.end() ? nullptr : *found;
}

void Toolbar::addTypeList(QComboBox *typeList)
{
    typeList->setMinimumWidth(107);
    addWidget(typeList)->setData(QStringLiteral("combo1"));
}

void Toolbar::showPrintButton(bool ready)
{
    setKey(printButton_, ready ? ToolbarKey::Print : ToolbarKey::CancelPrint);
}

QAction *Toolbar::addButton(ToolbarKey key)
{
    QAction *button = addAction(QString());
    setKey(button, key);
    connect(button, &QAction::triggered, this, [this, button] { emit clicked(button->data().value<ToolbarKey>()); });
    return button;
}

void Toolbar::setKey(QAction *button, ToolbarKey key)
{
    const ButtonLook &look = lookOf(key);
    const QString name = QString::fromLatin1(look.name);
    const QString tip = QString::fromLatin1(look.tip);
    button->setObjectName(name);
    button->setData(QVariant::fromValue(key));
    button->setIcon(toolbarImage(name));
    button->setToolTip(tip);
    button->setStatusTip(tip);
}
