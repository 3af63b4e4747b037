#pragma once
// An in-memory edit control for command tests: the text (its line ends as given), the selection, a
// snapshot undo history, the line end Enter would insert and a count of change notifications.

#include "host/edit_control.h"

#include <QList>

namespace orvane::test {

class FakeEditControl final : public EditControl {
public:
    QString text() const override { return m_text; }
    qsizetype textLength() const override { return m_text.size(); }
    qsizetype findBinary(qsizetype from, QStringView sought) const override;
    void setText(const QString &text) override;
    void loadText(const QString &text) override;
    // Fails the test when the length given is not the text's.
    void loadUtf8(const QByteArray &utf8, qsizetype utf16Length) override;

    qsizetype selStart() const override { return m_selStart; }
    qsizetype selLength() const override { return m_selLength; }
    QString selText() const override { return m_text.mid(m_selStart, m_selLength); }
    void setSelText(const QString &text) override;
    void setSelStart(qsizetype start) override;
    void setSelLength(qsizetype length) override;

    void undo() override;
    void setLineEnd(codec::LineEnd lineEnd) override { m_lineEnd = lineEnd; }
    codec::LineEnd lineEnd() const { return m_lineEnd; }
    void setChangeHandler(std::function<void()> handler) override { m_onChange = std::move(handler); }

    // Test helpers: set the state without recording an undo step or notifying.
    void select(qsizetype start, qsizetype length);
    void type(const QString &text) { setSelText(text); }
    int changeCount() const { return m_changes; }
    qsizetype undoDepth() const { return m_history.size(); }

private:
    void replace(qsizetype start, qsizetype length, const QString &text);

    QString m_text;
    qsizetype m_selStart = 0;
    qsizetype m_selLength = 0;
    QList<QString> m_history;
    std::function<void()> m_onChange;
    int m_changes = 0;
    codec::LineEnd m_lineEnd = codec::LineEnd::CrLf;
};

} // namespace orvane::test
