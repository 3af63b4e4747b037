#pragma once
// A clipboard in memory that counts its writes.

#include "host/clipboard.h"

namespace orvane::test {

class MemoryClipboard final : public Clipboard {
public:
    QString getText() const override { return m_text; }
    void setText(const QString &text) override
    {
        m_text = text;
        ++m_writes;
    }
    int writes() const { return m_writes; }

private:
    QString m_text;
    int m_writes = 0;
};

} // namespace orvane::test
