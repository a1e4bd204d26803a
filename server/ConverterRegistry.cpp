#include "server/ConverterRegistry.h"

#include <algorithm>

ConverterRegistry::ConverterRegistry(ConverterWorker::Timing timing, std::shared_ptr<DataFolder> data)
    : timing(timing), data(std::move(data))
{
}

ConverterRegistry::~ConverterRegistry()
{
    stopAll();
}

std::string ConverterRegistry::IdFor(const std::string& port)
{
    std::string name = port.substr(port.find_last_of("/\\") == std::string::npos ? 0 : port.find_last_of("/\\") + 1);
    for (char& c : name)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_'))
            c = '-';
    return name.empty() ? "port" : name;
}

std::shared_ptr<ConverterWorker> ConverterRegistry::add(const std::string& port, bool retry,
                                                        ConverterWorker::FirstResult firstResult)
{
    std::lock_guard lock(mutex);
    reap();
    for (const auto& worker : workers)
        if (worker->port() == port)
            return nullptr;
    const std::string base = IdFor(port);
    std::string id = base;
    for (int n = 2; std::any_of(workers.begin(), workers.end(), [&](const auto& w) { return w->id() == id; });
         ++n)
        id = base + "-" + std::to_string(n);
    auto worker = std::make_shared<ConverterWorker>(id, port, retry, std::move(firstResult), timing, data);
    worker->shareEvents(bench);
    workers.push_back(worker);
    return worker;
}

std::shared_ptr<ConverterWorker> ConverterRegistry::find(const std::string& id)
{
    std::lock_guard lock(mutex);
    for (const auto& worker : workers)
        if (worker->id() == id)
            return worker;
    return nullptr;
}

std::vector<std::shared_ptr<ConverterWorker>> ConverterRegistry::all()
{
    std::lock_guard lock(mutex);
    reap();
    // A worker whose first attempt failed for good is no longer served.
    std::erase_if(workers, [this](const auto& worker) {
        if (!worker->finished())
            return false;
        retired.push_back(worker);
        publishRemoved(worker->id());
        return true;
    });
    return workers;
}

bool ConverterRegistry::remove(const std::string& id)
{
    std::lock_guard lock(mutex);
    reap();
    const auto found = std::find_if(workers.begin(), workers.end(), [&](const auto& w) { return w->id() == id; });
    if (found == workers.end())
        return false;
    (*found)->requestStop();
    retired.push_back(*found);
    workers.erase(found);
    publishRemoved(id);
    return true;
}

void ConverterRegistry::watchAll(std::shared_ptr<EventSink> sink)
{
    const std::vector<std::shared_ptr<ConverterWorker>> served = all();
    bench->add(std::move(sink), "converters", [&served] {
        Json list = Json::array();
        for (const auto& worker : served)
            list.push_back(worker->status());
        return core::jsonText(list);
    });
}

void ConverterRegistry::publishRemoved(const std::string& id)
{
    Json json;
    json["id"] = id;
    bench->publish("removed", core::jsonText(json));
}

void ConverterRegistry::stopAll()
{
    bench->closeAll();
    std::vector<std::shared_ptr<ConverterWorker>> stopping;
    {
        std::lock_guard lock(mutex);
        stopping = std::move(workers);
        workers.clear();
        stopping.insert(stopping.end(), retired.begin(), retired.end());
        retired.clear();
    }
    for (const auto& worker : stopping)
        worker->requestStop();
    for (const auto& worker : stopping)
        worker->stop();
}

void ConverterRegistry::reap()
{
    // Only threads that have ended are joined here; the others stay retired.
    std::erase_if(retired, [](const auto& worker) {
        if (!worker->finished())
            return false;
        worker->stop();
        return true;
    });
}
