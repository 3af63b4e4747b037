#include "menu_shortcut_filter.h"

#include <QKeyEvent>

namespace orvane {

void MenuShortcutFilter::addShortcut(const QKeySequence &shortcut)
{
    // Menu shortcuts are single key combinations.
    if (shortcut.count() == 1)
        m_keys.append(shortcut[0]);
}

bool MenuShortcutFilter::isMenuShortcut(QKeyCombination key) const
{
    return m_keys.contains(QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, key.key()));
}

bool MenuShortcutFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride
        && isMenuShortcut(static_cast<QKeyEvent *>(event)->keyCombination())) {
        // Not accepted, so the shortcut map goes on to the menu's action.
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvane
