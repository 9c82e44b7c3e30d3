#pragma once

#include <QtWidgets/QWidget>

// The rounded-rectangle outline that frames an entry panel. It lets mouse events through to
// the panel beneath.
class RoundedOutline : public QWidget {
public:
    explicit RoundedOutline(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
