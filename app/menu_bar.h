#pragma once

#include <QtWidgets/QMenuBar>

#include <array>

// The menu items that run the window's commands.
enum class MenuItem { Open, OpenBackup, Save, Print, Exit, Download, Upload, Verify, HelpContents, About };

// The menus "&File", "&Data" and "&Help" with their items and separators in order, each named.
// The recent files and the port items are put in by their own components.
class MenuBar : public QMenuBar {
    Q_OBJECT
public:
    explicit MenuBar(QWidget *window);

    [[nodiscard]] QMenu *fileMenu() const { return fileMenu_; }
    [[nodiscard]] QMenu *dataMenu() const { return dataMenu_; }
    [[nodiscard]] QAction *item(MenuItem item) const { return items_.at(static_cast<size_t>(item)); }
    // "&Print", or its cancel while the serial-number entry is open.
    void showPrintItem(bool ready);

private:
    QMenu *addNamedMenu(const char *caption, const char *name);
    void addItem(QMenu *menu, MenuItem item, const char *caption, const char *name);
    static void addSeparator(QMenu *menu, const char *name);

    QMenu *fileMenu_;
    QMenu *dataMenu_;
    std::array<QAction *, 10> items_{};
};
