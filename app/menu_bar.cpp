#include "app/menu_bar.h"

#include <QtWidgets/QMenu>

MenuBar::MenuBar(QWidget *window) : QMenuBar(window)
{
    fileMenu_ = addNamedMenu("&File", "mfile");
    addItem(fileMenu_, MenuItem::Open, "&Open", "mopen");
    addItem(fileMenu_, MenuItem::OpenBackup, "Open &Backup...", "mopenbackup");
    addItem(fileMenu_, MenuItem::Save, "&Save", "msave");
    addSeparator(fileMenu_, "mspace4");
    addItem(fileMenu_, MenuItem::Print, "&Print", "mprint");
    addSeparator(fileMenu_, "mspace1");
    addItem(fileMenu_, MenuItem::Exit, "&Exit", "mexit");

    dataMenu_ = addNamedMenu("&Data", "mdf");
    addItem(dataMenu_, MenuItem::Download, "&Download", "mdownload");
    addItem(dataMenu_, MenuItem::Upload, "&Upload", "mupload");
    addItem(dataMenu_, MenuItem::Verify, "&Verify Radio", "mverify");
    addSeparator(dataMenu_, "mspace2");

    QMenu *helpMenu = addNamedMenu("&Help", "mh");
    addItem(helpMenu, MenuItem::HelpContents, "&Varlo Help Contents", "mhelp");
    addSeparator(helpMenu, "mspace3");
    addItem(helpMenu, MenuItem::About, "&About Varlo", "mabout");
}

void MenuBar::showPrintItem(bool ready)
{
    item(MenuItem::Print)->setText(ready ? QStringLiteral("&Print") : QStringLiteral("Cancel &Printing"));
}

QMenu *MenuBar::addNamedMenu(const char *caption, const char *name)
{
    QMenu *menu = addMenu(QString::fromLatin1(caption));
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

void MenuBar::addItem(QMenu *menu, MenuItem item, const char *caption, const char *name)
{
    QAction *action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    items_.at(static_cast<size_t>(item)) = action;
}

void MenuBar::addSeparator(QMenu *menu, const char *name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}
