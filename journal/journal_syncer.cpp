#include "journal_syncer.h"

#include "journal_file.h"

#include <chrono>

namespace orvane::journal {

namespace {

// Edits that come within this time share one sync; the sync itself takes a few milliseconds,
// well inside the second a power cut may cost.
constexpr std::chrono::milliseconds gatherTime(200);

} // namespace

JournalSyncer::~JournalSyncer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void JournalSyncer::start()
{
    if (!m_thread.joinable())
        m_thread = std::thread([this] { loop(); });
}

void JournalSyncer::written(const std::shared_ptr<JournalFile> &file)
{
    std::unique_lock lock(m_mutex);
    start();
    if (m_dirty == file)
        return;
    m_dirty = file;
    lock.unlock();
    m_wake.notify_one();
}

void JournalSyncer::post(std::function<void()> task)
{
    std::unique_lock lock(m_mutex);
    start();
    m_tasks.push_back(std::move(task));
    lock.unlock();
    m_wake.notify_one();
}

void JournalSyncer::drain()
{
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_dirty && m_tasks.empty(); });
}

void JournalSyncer::loop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_idle.notify_all();
        m_wake.wait(lock, [this] { return m_stopping || m_dirty || !m_tasks.empty(); });
        m_busy = true;
        if (m_dirty) {
            if (!m_stopping)
                m_wake.wait_for(lock, gatherTime, [this] { return m_stopping; });
            const std::shared_ptr<JournalFile> file = std::move(m_dirty);
            m_dirty.reset();
            lock.unlock();
            file->sync();
            lock.lock();
        }
        if (m_stopping)
            m_tasks.clear();
        // One task between syncs, so that a long one never holds a sync back by more than itself.
        if (!m_tasks.empty()) {
            std::function<void()> task = std::move(m_tasks.front());
            m_tasks.pop_front();
            lock.unlock();
            task();
            lock.lock();
        }
        m_busy = false;
        if (m_stopping && !m_dirty && m_tasks.empty()) {
            m_idle.notify_all();
            return;
        }
    }
}

} // namespace orvane::journal
