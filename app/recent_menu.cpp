#include "app/recent_menu.h"

#include "app/captions.h"
#include "files/recent_files.h"
#include "files/settings_file.h"

#include <QtWidgets/QMenu>

RecentFilesMenu::RecentFilesMenu(QMenu *menu, QAction *before, SettingsStore &settings)
    : QObject(menu), settings_(settings), separator_(new QAction(menu))
{
    for (int k = 1; k <= 3; ++k) {
        auto *action = new QAction(menu);
        action->setObjectName(QStringLiteral("mmru%1").arg(k));
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, k] { emit openRequested(settings_.record().recentFile(k)); });
        menu->insertAction(before, action);
        items_[k - 1] = action;
    }
    separator_->setObjectName(QStringLiteral("mspace6"));
    separator_->setSeparator(true);
    separator_->setVisible(false);
    menu->insertAction(before, separator_);
}

void RecentFilesMenu::showStored()
{
    setCaptions();
    separator_->setVisible(false);
    item(1)->setVisible(false);
    showRecentFiles();
}

void RecentFilesMenu::addToRecentFiles(const QString &fileName)
{
    if (!pushRecentFile(settings_.record(), fileName))
        return;
    setCaptions();
    settings_.saveSettings();
    showRecentFiles();
}

void RecentFilesMenu::showRecentFiles()
{
    for (int k = 1; k <= 3; ++k) {
        const bool filled = !settings_.record().recentFile(k).isEmpty();
        if (filled)
            separator_->setVisible(true);
        if (k > 1 || filled)
            item(k)->setVisible(filled);
    }
}

void RecentFilesMenu::setCaptions()
{
    for (int k = 1; k <= 3; ++k)
        item(k)->setText(recentFileCaption(k, settings_.record().recentFile(k)));
}
