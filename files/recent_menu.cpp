#include "files/recent_menu.h"

#include "files/recent_files.h"
#include "files/settings_file.h"

#include <QtWidgets/QMenu>

RecentFilesMenu::RecentFilesMenu(QMenu *menu, QAction *before, SettingsStore &settings)
    : QObject(menu), settings_(settings), mspace6(new QAction(menu))
{
    for (int k = 1; k <= 3; ++k) {
        auto *action = new QAction(menu);
        action->setObjectName(QStringLiteral("mmru%1").arg(k));
        action->setVisible(false);
        connect(action, &QAction::triggered, this,
                [this, k] { emit openRequested(settings_.Settings().recentFile(k)); });
        menu->insertAction(before, action);
        items_[k - 1] = action;
    }
    mspace6->setObjectName(QStringLiteral("mspace6"));
    mspace6->setSeparator(true);
    mspace6->setVisible(false);
    menu->insertAction(before, mspace6);
}

void RecentFilesMenu::showStored()
{
    setCaptions();
    mspace6->setVisible(false);
    item(1)->setVisible(false);
    ShowRecentFiles();
}

void RecentFilesMenu::AddToRecentFiles(const QString &fileName)
{
    if (!PushRecentFile(settings_.Settings(), fileName))
        return;
    setCaptions();
    settings_.SaveSettings();
    ShowRecentFiles();
}

void RecentFilesMenu::ShowRecentFiles()
{
    for (int k = 1; k <= 3; ++k) {
        const bool filled = !settings_.Settings().recentFile(k).isEmpty();
        if (filled)
            mspace6->setVisible(true);
        if (k > 1 || filled)
            item(k)->setVisible(filled);
    }
}

void RecentFilesMenu::setCaptions()
{
    for (int k = 1; k <= 3; ++k)
        item(k)->setText(RecentFileCaption(k, settings_.Settings().recentFile(k)));
}
