#pragma once
// Lets the main window's menu shortcuts win over the widget that has the focus: it declines the
// ShortcutOverride of exactly those key combinations, which the edit control would otherwise take
// for its own bindings (Ctrl+Z, Ctrl+C, Ctrl+H ...). It owns nothing but the list of keys.

#include <QKeySequence>
#include <QList>
#include <QObject>

namespace orvane {

class MenuShortcutFilter final : public QObject {
public:
    explicit MenuShortcutFilter(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
    void addShortcut(const QKeySequence &shortcut);
    bool isMenuShortcut(QKeyCombination key) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QKeyCombination> m_keys;
};

} // namespace orvane
