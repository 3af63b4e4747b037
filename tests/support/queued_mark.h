#pragma once
// A mark at the end of what has been queued so far, for tests that check that something did not
// happen: QTRY_VERIFY(mark.reached()) waits exactly until every call and deletion queued before
// the mark has run, then the test looks at what the user would see.

#include <QCoreApplication>
#include <QMetaObject>

#include <memory>

namespace orvane::test {

// Owns only the flag that the queued call sets.
class QueuedMark {
public:
    QueuedMark()
    {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [flag = m_reached] { *flag = true; }, Qt::QueuedConnection);
    }
    bool reached() const { return *m_reached; }

private:
    std::shared_ptr<bool> m_reached = std::make_shared<bool>(false);
};

} // namespace orvane::test
