#pragma once

#include <QProxyStyle>

// The menus' style: a check item that is cleared shows nothing in its check column, neither a mark nor an
// empty box; a set one shows its mark.
class MenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit MenuStyle(QObject *parent);

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};
