#pragma once

#include <QtCore/QString>

// The name a file dialog proposes after the name last chosen: cut before the first "." of its
// file-name part, so the folder stays whole.
QString proposedFileName(const QString &lastChosen);

// The window caption up to its first "]", then "  -  " and the file's own name.
QString captionNamingFile(const QString &caption, const QString &path);

// Menu caption of recent entry k (1..3): "&k. " and the shortened path, with any "&" of the
// path shown as itself.
QString recentFileCaption(int k, const QString &path);
