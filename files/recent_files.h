#pragma once

#include "files/settings_record.h"

#include <QtCore/QString>

// The text a path is shown as in the File menu: at most about 30 characters, keeping the
// first folder and the end of the path around " ... ".
QString shortenPath(const QString &path);

// Puts a path at the head of the recent list held in the record. False, with nothing
// changed, when it already is the head.
bool pushRecentFile(SettingsRecord &record, const QString &fileName);
