#include "gpx_writer.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include "gpx_file.h"

namespace {

constexpr size_t kQueueLimit = 64;
constexpr auto kDrainWait = std::chrono::seconds(2);

}  // namespace

// What the tray's thread and the writer's share; the writer's thread holds
// it too, so it outlives a writer that was left stuck.
struct GpxWriter::Shared {
    std::mutex lock;
    std::condition_variable changed;
    std::deque<GpxWrite> queue;
    bool writing = false;
    bool stopping = false;
    std::optional<LogFault> fault;
    std::thread thread;
};

namespace {

void WriteQueued(std::shared_ptr<GpxWriter::Shared> shared) {
    GpxFile file;
    std::unique_lock<std::mutex> guard(shared->lock);
    for (;;) {
        shared->changed.wait(guard, [&] { return shared->stopping || !shared->queue.empty(); });
        if (shared->queue.empty()) break;
        GpxWrite write = std::move(shared->queue.front());
        shared->queue.pop_front();
        shared->writing = true;
        guard.unlock();
        auto fault = file.Append(write.folder, write.fileName, write.point, write.newSegment, write.trackName);
        guard.lock();
        shared->writing = false;
        if (fault && !shared->fault) shared->fault = std::move(fault);
        shared->changed.notify_all();
    }
}

}  // namespace

GpxWriter::GpxWriter() : m_shared(std::make_shared<Shared>()) {
    m_shared->thread = std::thread(WriteQueued, m_shared);
}

GpxWriter::~GpxWriter() {
    std::unique_lock<std::mutex> guard(m_shared->lock);
    m_shared->stopping = true;
    m_shared->changed.notify_all();
    const bool drained = m_shared->changed.wait_for(
        guard, kDrainWait, [&] { return m_shared->queue.empty() && !m_shared->writing; });
    std::thread thread = std::move(m_shared->thread);
    guard.unlock();
    if (drained)
        thread.join();
    else
        thread.detach();
}

bool GpxWriter::Post(GpxWrite write) {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    if (m_shared->queue.size() >= kQueueLimit) return false;
    m_shared->queue.push_back(std::move(write));
    m_shared->changed.notify_all();
    return true;
}

std::optional<LogFault> GpxWriter::TakeFault() {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    return std::exchange(m_shared->fault, std::nullopt);
}

bool GpxWriter::Idle() const {
    std::lock_guard<std::mutex> guard(m_shared->lock);
    return m_shared->queue.empty() && !m_shared->writing && !m_shared->fault;
}
