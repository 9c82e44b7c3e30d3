#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>

#include <array>

class QAction;
class QMenu;
class SettingsStore;

// The three recent-file items mmru1..mmru3 of the File menu and the separator mspace6
// in front of "&Exit".
class RecentFilesMenu : public QObject {
    Q_OBJECT
public:
    // The items are inserted into menu in front of the action before.
    RecentFilesMenu(QMenu *menu, QAction *before, SettingsStore &settings);

    // Start-up: one item for each filled entry, the separator when there is any.
    void showStored();
    // A file was opened: it becomes the head of the list, unless it already is.
    void addToRecentFiles(const QString &fileName);
    void showRecentFiles();

    [[nodiscard]] QAction *item(int k) const { return items_.at(k - 1); }

signals:
    // Entry k was chosen; the path is its stored text.
    void openRequested(const QString &path);

private:
    void setCaptions();

    SettingsStore &settings_;
    std::array<QAction *, 3> items_{};
    QAction *separator_;
};
