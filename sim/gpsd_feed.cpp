#include "gpsd_feed.h"

#include <map>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "gpsd_notes.h"
#include "gpsd_source.h"
#include "module_objects.h"

namespace {

// Never destroyed, as the workers may outlive everything else.
struct Feeds {
    std::mutex mutex;
    std::map<std::string, std::weak_ptr<GpsdFeed>> byServer;
};
Feeds& feeds = *new Feeds;

void StartWorker(const std::string& server, const std::shared_ptr<GpsdLatest>& latest) {
    KeepModuleLoaded();
    ModuleWorkerStarted();
    try {
        std::thread([server, latest] {
            GpsdSource(server, latest).Run();
            ModuleWorkerEnded();
        }).detach();
    } catch (const std::system_error&) {
        ModuleWorkerEnded();
        TellGpsdProblem(server, "no thread to watch it");
        latest->Settle();
    }
}

}  // namespace

std::shared_ptr<GpsdFeed> GpsdFeed::Watch(const std::string& server, int staleSeconds) {
    const std::lock_guard<std::mutex> lock(feeds.mutex);
    std::erase_if(feeds.byServer, [](const auto& entry) { return entry.second.expired(); });
    std::weak_ptr<GpsdFeed>& slot = feeds.byServer[server];
    if (auto feed = slot.lock()) {
        feed->SetStaleSeconds(staleSeconds);
        return feed;
    }
    std::shared_ptr<GpsdFeed> feed(new GpsdFeed(server, staleSeconds));
    slot = feed;
    return feed;
}

GpsdFeed::GpsdFeed(std::string server, int staleSeconds)
    : m_server(std::move(server)),
      m_latest(std::make_shared<GpsdLatest>(staleSeconds)),
      m_firstAnswerDeadline(Clock::now() + kFirstAnswerWait) {
    StartWorker(m_server, m_latest);
}

GpsdFeed::~GpsdFeed() { m_latest->Stop(); }

void GpsdFeed::WaitFirstAnswer() const {
    if (Clock::now() >= m_firstAnswerDeadline) return;
    if (!m_latest->WaitSettled(m_firstAnswerDeadline) && !m_latest->Connected()) TellGpsdProblem(m_server, "no answer");
}
