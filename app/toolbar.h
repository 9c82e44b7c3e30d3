#pragma once

#include <QtWidgets/QToolBar>

#include <vector>

class QComboBox;

// The toolbar's buttons, each known by its key.
enum class ToolbarKey { Open, Save, Print, CancelPrint, Upload, Download, Com };

// The toolbar Toolbar1: its command buttons, each named after its key and showing the image of
// that name, then the placeholder that carries the transceiver-type list.
class Toolbar : public QToolBar {
    Q_OBJECT
public:
    explicit Toolbar(QWidget *window);

    [[nodiscard]] QAction *button(ToolbarKey key) const;
    // The placeholder "combo1" after the buttons, 1600 twips wide, carries the list.
    void addTypeList(QComboBox *typeList);
    // The third button prints, or cancels the open serial-number entry: the same button
    // changes its key and looks, since it may be the one being clicked.
    void showPrintButton(bool ready);

signals:
    void clicked(ToolbarKey key);

private:
    QAction *addButton(ToolbarKey key);
    static void setKey(QAction *button, ToolbarKey key);

    std::vector<QAction *> buttons_;
    QAction *printButton_ = nullptr;
};
