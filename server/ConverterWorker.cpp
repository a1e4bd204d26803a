#include "server/ConverterWorker.h"

#include "server/DataFolder.h"

#include "config/BackupSources.h"
#include "device/ParameterTable.h"
#include "device/ParameterTexts.h"
#include "device/ParameterValueText.h"
#include "device/PortAddress.h"
#include "device/TraceFormat.h"

#include <algorithm>
#include <array>
#include <iostream>

std::string_view stateName(ConnectionState state)
{
    switch (state) {
    case ConnectionState::Connecting:
        return "connecting";
    case ConnectionState::Connected:
        return "connected";
    case ConnectionState::Disconnected:
        break;
    }
    return "disconnected";
}

namespace {

// A local port or a serial device server, as every front end makes it; a
// name that is no address stays a local name, which then fails to open.
PortTransport transportFor(const std::string& port)
{
    PortAddress address;
    std::string error;
    if (!parsePortAddress(port, address, error))
        address.local = port;
    return makePortTransport(address);
}

} // namespace

ConverterWorker::ConverterWorker(std::string id, std::string port, bool retry, FirstResult firstResult,
                                 Timing timing, std::shared_ptr<DataFolder> data)
    : id_(std::move(id)), port_(std::move(port)), retry(retry), timing(timing),
      firstResult(std::move(firstResult)), made(transportFor(port_)), link(std::move(made.transport)),
      nextAttempt(Clock::now()), nextPoll(Clock::now()), retryPause(timing.firstRetry), data(std::move(data)),
      thread([this] { run(); })
{
}

ConverterWorker::ConverterWorker(std::string id, std::string port, bool retry, FirstResult firstResult)
    : ConverterWorker(std::move(id), std::move(port), retry, std::move(firstResult), Timing{})
{
}

ConverterWorker::~ConverterWorker()
{
    stop();
}

void ConverterWorker::requestStop()
{
    std::lock_guard lock(mutex);
    stopping = true;
    wake.notify_all();
}

void ConverterWorker::stop()
{
    requestStop();
    if (thread.joinable() && thread.get_id() != std::this_thread::get_id())
        thread.join();
}

bool ConverterWorker::finished() const
{
    std::lock_guard lock(mutex);
    return done;
}

void ConverterWorker::submit(Job job)
{
    std::unique_lock lock(mutex);
    if (done) {
        lock.unlock();
        job(nullptr);
        return;
    }
    jobs.push_back(std::move(job));
    wake.notify_all();
}

void ConverterWorker::submitWrite(const std::string& client, Job job)
{
    submit([this, client, job = std::move(job)](ConverterLink* line) {
        if (!line)
            return job(nullptr);
        if (!prepareWrite(*line)) {
            job(nullptr);
            const bool communication = refusal->communication;
            refusal.reset();
            return !communication; // a failed read: is the converter still there?
        }
        writer = client;
        const bool done = job(line);
        writer.clear();
        return done;
    });
}

bool ConverterWorker::prepareWrite(ConverterLink& line)
{
    if (!data)
        return true;
    std::string problem;
    if (!data->journal().ready(problem)) {
        refusal =
            WriteRefusal{false, problem + "; nothing was written, as every write is journalled. Free some "
                                          "space or start the server with another --data folder."};
        return false;
    }
    std::optional<std::int32_t> number;
    {
        std::lock_guard lock(mutex);
        number = serialNumber;
    }
    if (number && number == asFoundOf)
        return true;
    const ConverterReading reading = readConverter(line, ReadScope::All, identity());
    const std::vector<std::string_view> failed = reading.failedReads();
    if (!failed.empty() || !reading.serialNumber) {
        std::string names;
        for (std::string_view name : failed) {
            if (!names.empty())
                names += ", ";
            names += name;
        }
        if (names.empty())
            names = "SerialNumber";
        std::string message(parameter_texts::CommunicationErrorText);
        message += ": the converter's configuration could not be read for its as-found copy (failed: ";
        message += names;
        message += "); nothing was written. Check the cable and write again.";
        refusal = WriteRefusal{true, std::move(message)};
        return false;
    }
    if (reading.serialNumber != number) {
        std::lock_guard lock(mutex);
        serialNumber = reading.serialNumber;
    }
    lastSerial = reading.serialNumber;
    if (reading.serialNumber == asFoundOf)
        return true;
    std::string name;
    if (!data->copies().save(*reading.serialNumber, std::chrono::system_clock::now(),
                             writeBackupJson(backupOf(reading)), name, problem)) {
        refusal =
            WriteRefusal{false, "the converter's configuration as found could not be saved (" + problem +
                                    "); nothing was written. Free some space or start the server with "
                                    "another --data folder."};
        return false;
    }
    asFoundOf = reading.serialNumber;
    return true;
}

void ConverterWorker::journal(const LinkWrite& write)
{
    if (!data)
        return;
    Json line;
    line["time"] = core::timeStamp(std::chrono::system_clock::now());
    line["client"] = writer.empty() ? Json(nullptr) : Json(writer);
    line["port"] = port_;
    {
        std::lock_guard lock(mutex);
        line["serialNumber"] = optionalJson(serialNumber);
    }
    const protocol::ParameterInfo* info = protocol::findParameter(write.code);
    std::span<const std::uint8_t> sent(write.sent);
    if (info && info->access == protocol::Access::Indexed && !sent.empty()) {
        line["parameter"] = std::string(info->name);
        line["index"] = sent[0];
        sent = sent.subspan(1);
    } else {
        line["parameter"] = info ? std::string(info->name) : protocol::hexBytes(std::span(&write.code, 1));
    }
    const auto text = [info](std::span<const std::uint8_t> bytes) {
        return info ? protocol::valueText(*info, bytes) : protocol::hexBytes(bytes);
    };
    line["sent"] = text(sent);
    if (write.outcome == LinkFailure::None)
        line["echo"] = text(write.echo);
    else
        line["failure"] = std::string(linkFailureText(write.outcome));
    std::string problem;
    if (!data->journal().append(line, problem))
        std::cerr << "dnx8: " << problem << "; the write of " << line["parameter"].get<std::string>()
                  << " to " << port_ << " is not journalled.\n";
}

void ConverterWorker::watch(std::shared_ptr<EventSink> sink)
{
    hub.add(std::move(sink), "state", [this] { return core::jsonText(status()); });
    std::lock_guard lock(mutex);
    wake.notify_all();
}

void ConverterWorker::publishConfiguration(const Json& changed)
{
    hub.publish("configuration", core::jsonText(changed));
    static const std::array<std::string_view, 6> notInput{"Filter",          "ScaleMin", "ScaleMax",
                                                          "ErrorSignalling", "Relay1",   "Relay2"};
    for (auto& [key, value] : changed.items()) {
        if (std::find(notInput.begin(), notInput.end(), key) == notInput.end()) {
            std::lock_guard lock(mutex);
            inputStale = true;
            wake.notify_all();
            return;
        }
    }
}

void ConverterWorker::shareEvents(std::shared_ptr<EventHub> events)
{
    std::lock_guard lock(mutex);
    overview = std::move(events);
    wake.notify_all();
}

void ConverterWorker::publishEvent(std::string_view event, const Json& data)
{
    hub.publish(event, core::jsonText(data));
    std::shared_ptr<EventHub> bench;
    {
        std::lock_guard lock(mutex);
        bench = overview;
    }
    if (bench && data.is_object()) {
        Json tagged = data;
        tagged["id"] = id_;
        bench->publish(event, core::jsonText(tagged));
    }
}

Json ConverterWorker::status() const
{
    std::lock_guard lock(mutex);
    Json json;
    json["id"] = id_;
    json["port"] = port_;
    json["state"] = std::string(stateName(state_));
    json["identity"] = identity_.empty() ? Json(nullptr) : Json(identity_);
    json["serialNumber"] = optionalJson(serialNumber);
    json["message"] = message.empty() ? Json(nullptr) : Json(message);
    json["input"] = input;
    json["live"] = lastLive;
    return json;
}

ConnectionState ConverterWorker::state() const
{
    std::lock_guard lock(mutex);
    return state_;
}

std::string ConverterWorker::identity() const
{
    std::lock_guard lock(mutex);
    return identity_;
}

void ConverterWorker::run()
{
    link.setWriteObserver([this](const LinkWrite& write) { journal(write); });
    std::unique_lock lock(mutex);
    while (!stopping) {
        const Clock::time_point now = Clock::now();
        if (state_ != ConnectionState::Connected && now >= nextAttempt) {
            lock.unlock();
            connect();
            lock.lock();
            continue;
        }
        if (!jobs.empty()) {
            Job job = std::move(jobs.front());
            jobs.pop_front();
            const bool connected = state_ == ConnectionState::Connected;
            lock.unlock();
            if (!job(connected ? &link : nullptr) && connected)
                checkLine();
            lock.lock();
            continue;
        }
        if (state_ == ConnectionState::Connected && inputStale) {
            inputStale = false;
            lock.unlock();
            readInput();
            lock.lock();
            continue;
        }
        lock.unlock();
        const bool isWatched = watched();
        lock.lock();
        if (stopping || !jobs.empty())
            continue;
        if (state_ == ConnectionState::Connected && isWatched && now >= nextPoll) {
            lock.unlock();
            poll();
            lock.lock();
            continue;
        }
        Clock::time_point until = now + std::chrono::seconds(1); // notices new watchers and stops anyway
        if (state_ != ConnectionState::Connected)
            until = std::min(until, nextAttempt);
        else if (isWatched)
            until = std::min(until, nextPoll);
        wake.wait_until(lock, until);
    }
    std::deque<Job> left = std::move(jobs);
    jobs.clear();
    done = true;
    state_ = ConnectionState::Disconnected;
    message.clear();
    lock.unlock();

    for (Job& job : left)
        job(nullptr);
    link.close();
    if (firstResult) {
        std::exchange(firstResult, nullptr)(ConverterOpening{},
                                            "the connection to " + port_ + " was ended before the converter answered.",
                                            status());
    }
    publishState();
    hub.closeAll();
}

void ConverterWorker::connect()
{
    setState(ConnectionState::Connecting, {});
    link.close();
    const ConverterOpening opening = openDnx8(link, made.openText);
    const std::string reason = core::openingReason(opening, port_);
    if (opening.outcome == ConverterOpening::Outcome::Opened) {
        std::int32_t number = 0;
        const bool numbered = link.readSerialNumber(number);
        std::string notice;
        if (numbered && lastSerial && *lastSerial != number)
            notice = "the serial number changed from " + std::to_string(*lastSerial) + " to " +
                     std::to_string(number) + ": another converter is on " + port_ +
                     "; it gets its own as-found copy before its first write.";
        if (numbered)
            lastSerial = number;
        {
            std::lock_guard lock(mutex);
            identity_ = opening.identity;
            serialNumber = numbered ? std::optional(number) : std::nullopt;
            retryPause = timing.firstRetry;
            nextPoll = Clock::now();
        }
        readInput();
        setState(ConnectionState::Connected, std::move(notice));
    } else {
        {
            std::lock_guard lock(mutex);
            nextAttempt = Clock::now() + retryPause;
            retryPause = std::min(retryPause * 2, timing.longestRetry);
            if (!retry && firstResult)
                stopping = true;
        }
        setState(ConnectionState::Disconnected, reason);
    }
    if (firstResult)
        std::exchange(firstResult, nullptr)(opening, reason, status());
}

void ConverterWorker::poll()
{
    {
        std::lock_guard lock(mutex);
        // Once a second from the first poll; after a stall, a second from now.
        const Clock::time_point now = Clock::now();
        nextPoll += timing.pollPeriod;
        if (nextPoll <= now)
            nextPoll = now + timing.pollPeriod;
    }
    const auto at = std::chrono::system_clock::now();
    int read = 0;
    Json live = core::readLive(link, read);
    if (read == 0) {
        checkLine();
        if (state() != ConnectionState::Connected)
            return;
    }
    Json event;
    event["time"] = core::timeStamp(at);
    for (auto& [key, value] : live.items())
        event[key] = value;
    publishLive(event);
}

void ConverterWorker::publishLive(const Json& event)
{
    std::shared_ptr<EventHub> bench;
    {
        std::lock_guard lock(mutex);
        lastLive = event;
        bench = overview;
    }
    hub.publish("live", core::jsonText(event));
    if (bench) {
        Json tagged = event;
        tagged["id"] = id_;
        bench->publish("live", core::jsonText(tagged));
    }
}

bool ConverterWorker::watched()
{
    std::shared_ptr<EventHub> bench;
    {
        std::lock_guard lock(mutex);
        bench = overview;
    }
    return hub.watchers() > 0 || (bench && bench->watchers() > 0);
}

// Failing reads leave the last input shown; a lost line is noticed by the
// next transaction.
void ConverterWorker::readInput()
{
    std::optional<Json> read = core::readInput(link);
    bool changed = false;
    {
        std::lock_guard lock(mutex);
        if (read && *read != input) {
            input = std::move(*read);
            changed = state_ == ConnectionState::Connected;
        }
    }
    if (changed)
        publishState();
}

void ConverterWorker::checkLine()
{
    if (link.identify())
        return;
    std::string reason(parameter_texts::CommunicationErrorText);
    reason += ": the converter on ";
    reason += port_;
    reason += " does not answer; reconnecting.";
    lose(std::move(reason));
}

void ConverterWorker::lose(std::string reason)
{
    link.close();
    {
        std::lock_guard lock(mutex);
        nextAttempt = Clock::now() + retryPause;
        retryPause = std::min(retryPause * 2, timing.longestRetry);
    }
    setState(ConnectionState::Disconnected, std::move(reason));
}

void ConverterWorker::setState(ConnectionState state, std::string text)
{
    {
        std::lock_guard lock(mutex);
        if (state_ == state && message == text)
            return;
        state_ = state;
        message = std::move(text);
    }
    publishState();
}

void ConverterWorker::publishState()
{
    const Json json = status();
    hub.publish("state", core::jsonText(json));
    std::shared_ptr<EventHub> bench;
    {
        std::lock_guard lock(mutex);
        bench = overview;
    }
    if (bench)
        bench->publish("state", core::jsonText(json));
}
