#include "MenuStyle.h"

#include <QStyleOptionMenuItem>

MenuStyle::MenuStyle(QObject *parent)
{
    setParent(parent);
}

void MenuStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                            const QWidget *widget) const
{
    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (element == CE_MenuItem && item && item->checkType != QStyleOptionMenuItem::NotCheckable && !item->checked) {
        QStyleOptionMenuItem cleared(*item);
        cleared.checkType = QStyleOptionMenuItem::NotCheckable;
        QProxyStyle::drawControl(element, &cleared, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}
