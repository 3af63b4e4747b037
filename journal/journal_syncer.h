#pragma once
// The one thread besides the UI thread: it syncs the journal to the disk within a second of the
// last edit and runs the slow work of starting a journal (keeping the origin's bytes, hashing
// them). It touches no widget and no text of the editor. Owns the thread.

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace orvane::journal {

class JournalFile;

class JournalSyncer {
public:
    JournalSyncer() = default;
    // Syncs what is pending, then ends the thread.
    ~JournalSyncer();
    JournalSyncer(const JournalSyncer &) = delete;
    JournalSyncer &operator=(const JournalSyncer &) = delete;

    // Called after each append: file is synced shortly, once for a burst of edits.
    void written(const std::shared_ptr<JournalFile> &file);
    // Runs task on the thread, between syncs.
    void post(std::function<void()> task);
    // Waits until the thread has nothing left to do (for tests and the end of a session).
    void drain();

private:
    void start();
    void loop();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::shared_ptr<JournalFile> m_dirty;
    std::deque<std::function<void()>> m_tasks;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace orvane::journal
