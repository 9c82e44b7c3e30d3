#pragma once

#include "files/settings_record.h"

#include <QtCore/QString>

// The text a path is shown as in the File menu: at most about 30 characters, keeping the
// first folder and the end of the path around " ... ".
QString shortenPath(const QString &path);

// Puts a path at the head of the recent list held in the record. False, with nothing
// changed, when it already is the head.
bool pushRecentFile(SettingsRecord &record, const QString &fileName);

// Menu caption of recent entry k (1..3): "&k. " and the shortened path, with any "&" of the
// path shown as itself.
QString recentFileCaption(int k, const QString &path);
