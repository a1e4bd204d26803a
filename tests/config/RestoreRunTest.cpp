#include "config/RestoreRun.h"

#include "tests/device/MemoryConverter.h"

#include "tests/config/SampleBackups.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using P = protocol::Parameter;

// A converter that keeps what is written (ScaleMax clipped to at most 50
// when clip is set); forget leaves a parameter unkept, so it cannot be read.
struct KeepingConverter {
    MemoryConverter* memory = nullptr;
    bool clip = false;
    std::optional<P> forget;
    std::optional<P> nak;

    std::unique_ptr<MemoryConverter> make()
    {
        auto made = std::make_unique<MemoryConverter>();
        memory = made.get();
        memory->onRequest = [this](const MemoryConverter::Request& r) -> std::optional<MemoryConverter::Bytes> {
            memory->refuse = r.parameter() == nak; // answered 15 EB
            if (r.isRead() || r.parameter() == P::Commit || r.parameter() == forget || memory->refuse)
                return std::nullopt;
            memory->stored[r.parameter()] = r.data;
            if (clip && r.parameter() == P::ScaleMax && RealOf(r.data) > 50)
                memory->storeReal(P::ScaleMax, 50);
            return std::nullopt;
        };
        return made;
    }
};

struct Step {
    std::size_t done, total;
    std::string next;
    bool operator==(const Step&) const = default;
};

TEST(RestoreRun, ProgressCountsEveryRequestAndTheResultFollowsTheReadBack)
{
    const BackupFile file = voltageBackup();
    RestorePlan plan;
    std::vector<std::string> faults;
    ASSERT_TRUE(planRestore(file, {}, plan, faults));
    const std::vector<std::string> planned = plannedRequests(plan);
    ASSERT_EQ(planned.front(), "Divider");
    ASSERT_EQ(planned.back(), "Relay2");

    KeepingConverter converter;
    ConverterLink link(converter.make());
    std::vector<Step> steps;
    RestoreResult result = restoreAndVerify(link, plan, "DNX8", [&](std::size_t d, std::size_t t, const std::string& n) {
        steps.push_back({d, t, n});
    });
    EXPECT_EQ(resultWord(result.outcome), "verified");
    ASSERT_EQ(steps.size(), planned.size() + 1);
    for (std::size_t i = 0; i < planned.size(); ++i)
        EXPECT_EQ(steps[i], (Step{i, planned.size(), planned[i]}));
    EXPECT_EQ(steps.back(), (Step{planned.size(), planned.size(), "Relay2"}));
    EXPECT_EQ(result.writes.confirmed, planned);
    EXPECT_EQ(result.held.filter, 5);
    EXPECT_FALSE(result.held.curveCoefficients.has_value()); // not written at degree 0

    // The progress hook is gone afterwards: reads are not counted.
    const std::size_t counted = steps.size();
    std::uint8_t filter = 0;
    EXPECT_TRUE(link.readFilter(filter));
    EXPECT_EQ(steps.size(), counted);

    converter.clip = true;
    result = restoreAndVerify(link, plan, "DNX8");
    EXPECT_EQ(resultWord(result.outcome), "differences");
    ASSERT_EQ(result.differences.size(), 1u);
    EXPECT_EQ(result.differences[0].name, "ScaleMax");
    EXPECT_EQ(restoreResultJson(result)["differences"][0]["held"], "50");

    KeepingConverter forgetful;
    forgetful.forget = P::Relay2;
    ConverterLink other(forgetful.make());
    result = restoreAndVerify(other, plan, "DNX8");
    EXPECT_EQ(result.outcome, RestoreResult::Outcome::Unread);
    EXPECT_EQ(resultWord(result.outcome), "failed");
    EXPECT_EQ(result.unread, (std::vector<std::string>{"Relay2"}));
}

TEST(RestoreRun, ARefusedWriteEndsItAndNothingIsReadBack)
{
    const BackupFile file = voltageBackup();
    RestorePlan plan;
    std::vector<std::string> faults;
    ASSERT_TRUE(planRestore(file, {}, plan, faults));
    KeepingConverter converter;
    converter.nak = P::ScaleMax;
    ConverterLink link(converter.make());
    std::size_t last = 0;
    std::size_t total = 0;
    const RestoreResult result =
        restoreAndVerify(link, plan, "DNX8", [&](std::size_t d, std::size_t t, const std::string&) {
            last = d;
            total = t;
        });
    EXPECT_EQ(result.outcome, RestoreResult::Outcome::Interrupted);
    EXPECT_EQ(result.failure, LinkFailure::Nak);
    EXPECT_EQ(result.writes.refused, (std::vector<std::string>{"ScaleMax"}));
    EXPECT_EQ(result.writes.notSent, (std::vector<std::string>{"ErrorSignalling", "Relay1", "Relay2"}));
    EXPECT_LT(last, total); // never told it was done
    for (const MemoryConverter::Request& r : converter.memory->requests)
        EXPECT_FALSE(r.isRead()) << "read back after an interrupted restore";
    const Json json = restoreResultJson(result);
    EXPECT_EQ(json["restored"], false);
    EXPECT_FALSE(json.contains("equal"));
}

} // namespace
