#pragma once
// The menu bar of the main window as data: one row per item in display order, each command's row
// with the handler its item runs.

#include "host/host.h"

#include <QKeySequence>
#include <QString>

#include <span>
#include <string_view>

namespace orvane {

class ReplaceMenu;
class SearchMenu;

// What the menu's commands act on: the host services with the document, and the search and
// replace commands, which keep their dialogs between clicks.
struct MenuTargets {
    Host &host;
    SearchMenu &searchMenu;
    ReplaceMenu &replaceMenu;
};

using MenuHandler = void (*)(MenuTargets &);

struct MenuRow {
    int level; // 1 the menu bar, 2 a menu's item, 3 a submenu's item
    const char *name; // the control name, also the object name of its QAction (and QMenu)
    const char16_t *caption; // "&" marks the access key; "-" is a separator
    char ctrlLetter; // the shortcut is Ctrl with this letter; 0: none
    MenuHandler handler; // what choosing the item runs; null for menus and separators

    bool isSeparator() const { return std::u16string_view(caption) == u"-"; }
    QKeySequence shortcut() const
    {
        return ctrlLetter ? QKeySequence(QKeyCombination(Qt::ControlModifier, Qt::Key(ctrlLetter)))
                          : QKeySequence();
    }
};

std::span<const MenuRow> menuTable();

} // namespace orvane
