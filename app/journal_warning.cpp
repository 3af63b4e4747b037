#include "journal_warning.h"

#include "journal/journal.h"
#include "journal/journal_texts.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

namespace orvane {

namespace {

// How often a failing journal tries again, and how long the note that it works again stays.
constexpr int retryMs = 3000;
constexpr int noteMs = 6000;

} // namespace

JournalWarning::JournalWarning(journal::Journal &journal, QMainWindow *window)
    : QObject(window)
    , m_journal(journal)
    , m_window(window)
    , m_label(new QLabel(window))
    , m_retry(new QTimer(this))
    , m_hideNote(new QTimer(this))
{
    m_label->setObjectName(QStringLiteral("JournalWarning"));
    m_label->setWordWrap(true);
    m_label->setFocusPolicy(Qt::NoFocus);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_retry->setInterval(retryMs);
    connect(m_retry, &QTimer::timeout, this, [this] { m_journal.retry(); });
    m_hideNote->setSingleShot(true);
    m_hideNote->setInterval(noteMs);
    connect(m_hideNote, &QTimer::timeout, this, [this] {
        m_label->clear();
        m_window->statusBar()->hide();
    });
    m_journal.setWatcher(this);
}

JournalWarning::~JournalWarning() { m_journal.setWatcher(nullptr); }

void JournalWarning::journalFailed(const journal::JournalFault &fault)
{
    QStatusBar *bar = m_window->statusBar();
    bar->setSizeGripEnabled(false);
    if (m_label->parentWidget() != bar)
        bar->addWidget(m_label, 1);
    m_hideNote->stop();
    m_label->setStyleSheet(QStringLiteral("QLabel { color: #8a1f11; font-weight: bold; }"));
    m_label->setText(journal_texts::faultWarning(fault));
    m_label->show();
    bar->show();
    m_retry->start();
}

void JournalWarning::journalResumed()
{
    m_retry->stop();
    m_label->setStyleSheet(QString());
    m_label->setText(journal_texts::resumedNote());
    m_hideNote->start();
}

QString JournalWarning::shownText() const
{
    return m_window->statusBar()->isVisible() ? m_label->text() : QString();
}

} // namespace orvane
