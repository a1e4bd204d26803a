#include "server/RestoreBody.h"

#include "tests/config/SampleBackups.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string VoltageBackup(std::optional<std::string> note = std::nullopt, std::uint8_t segments = 0)
{
    BackupFile file = voltageBackup();
    Configuration& c = file.configuration;
    c.segmentCount = segments;
    file.note = std::move(note);
    file.notRestorable = restoreObstacles(c);
    return writeBackupJson(file);
}

std::string ErrorOf(std::string_view body, RestoreBodyKind kind)
{
    Json refusal;
    if (readRestoreBody(body, kind, refusal))
        return "accepted";
    return refusal["error"].get<std::string>();
}

TEST(ServerRestoreBody, TheBackupInsideAWrapperIsCheckedAsWritten)
{
    const std::string backup = VoltageBackup("pump 3 } ] \" { [");
    Json refusal;
    auto bare = readRestoreBody(backup, RestoreBodyKind::Restore, refusal);
    ASSERT_TRUE(bare) << refusal.dump();
    EXPECT_TRUE(bare->restorable);
    EXPECT_EQ(bare->linearization, "file");

    // Brackets and quotes inside the note do not end the backup early.
    auto wrapped = readRestoreBody("{\"linearization\": \"keep\", \"backup\": " + backup + "}",
                                   RestoreBodyKind::Restore, refusal);
    ASSERT_TRUE(wrapped) << refusal.dump();
    EXPECT_EQ(wrapped->file.note, "pump 3 } ] \" { [");
    EXPECT_EQ(wrapped->linearization, "keep");
    EXPECT_EQ(wrapped->file.configuration.filter, 5);

    // A key given twice inside the backup is the backup reader's fault to
    // find; a JSON parser in between would keep one of them silently.
    std::string twice = backup;
    twice.insert(twice.find("\"Filter\""), "\"Filter\": 9,\n    ");
    EXPECT_NE(ErrorOf("{\"backup\": " + twice + "}", RestoreBodyKind::Restore).find("not a valid backup"),
              std::string::npos);
    EXPECT_NE(ErrorOf(twice, RestoreBodyKind::Diff).find("not a valid backup"), std::string::npos);
    EXPECT_NE(ErrorOf("{\"backup\": " + backup + ", \"backup\": " + backup + "}", RestoreBodyKind::Restore)
                  .find("given twice"),
              std::string::npos);
    EXPECT_NE(ErrorOf("{\"\\u0062ackup\": " + backup + "}", RestoreBodyKind::Batch).find("unknown key"),
              std::string::npos);
    EXPECT_NE(ErrorOf("[" + backup + "]", RestoreBodyKind::Restore).find("no JSON object"), std::string::npos);
}

TEST(ServerRestoreBody, ObstaclesNeedAChoiceAndTheChoicesAreChecked)
{
    const std::string backup = VoltageBackup(std::nullopt, 3);
    Json refusal;
    auto plain = readRestoreBody(backup, RestoreBodyKind::Restore, refusal);
    ASSERT_TRUE(plain) << refusal.dump();
    EXPECT_FALSE(plain->restorable);
    ASSERT_EQ(plain->obstacles.size(), 1u);
    EXPECT_EQ(linearizationChoices(*plain), (Json{"keep", "points"}));
    EXPECT_NE(notRestorableJson(*plain)["error"].get<std::string>().find("Nothing was sent"), std::string::npos);

    const std::string points = R"("0 0\n1 1.1\n2 1.9\n3 3.2\n4 4.1\n")";
    auto fitted = readRestoreBody("{\"backup\": " + backup + ", \"linearization\": {\"points\": " + points +
                                      ", \"order\": 3}}",
                                  RestoreBodyKind::Restore, refusal);
    ASSERT_TRUE(fitted) << refusal.dump();
    EXPECT_TRUE(fitted->restorable);
    EXPECT_EQ(fitted->plan.table, &fitted->table); // the plan writes the fit, not the file's table

    auto error = [&](const std::string& linearization) {
        return ErrorOf("{\"backup\": " + backup + ", \"linearization\": " + linearization + "}",
                       RestoreBodyKind::Restore);
    };
    EXPECT_NE(error("{\"points\": " + points + ", \"order\": 5}").find("allow orders 2..4"), std::string::npos);
    EXPECT_NE(error("{\"points\": " + points + ", \"order\": 2, \"spline\": true}").find("not both"),
              std::string::npos);
    EXPECT_NE(error(R"({"points": "1 1\n2 2\n"})").find("valid points"), std::string::npos);
    EXPECT_NE(error(R"({"points": 5})").find("\"linearization\" is"), std::string::npos);
    EXPECT_NE(error(R"("off")").find("\"linearization\" is"), std::string::npos);
}

TEST(ServerRestoreBody, ABatchNamesEachConverterOnce)
{
    const std::string backup = VoltageBackup();
    Json refusal;
    auto batch = readRestoreBody("{\"converters\": [\"a\", \"b\"], \"backup\": " + backup + "}",
                                 RestoreBodyKind::Batch, refusal);
    ASSERT_TRUE(batch) << refusal.dump();
    EXPECT_EQ(batch->converters, (std::vector<std::string>{"a", "b"}));

    std::string many = "[";
    for (int i = 0; i < 65; ++i)
        many += (i ? ",\"c" : "\"c") + std::to_string(i) + "\"";
    many += "]";
    for (const std::string& ids : {std::string("[]"), std::string("[\"a\", \"a\"]"), std::string("[1]"), many})
        EXPECT_NE(ErrorOf("{\"converters\": " + ids + ", \"backup\": " + backup + "}", RestoreBodyKind::Batch)
                      .find("\"converters\" is a list"),
                  std::string::npos)
            << ids;
    EXPECT_EQ(ErrorOf("{\"backup\": " + backup + "}", RestoreBodyKind::Batch),
              "send {\"converters\": [ids], \"backup\": {...}}. Nothing was sent.");
    // A plain restore takes no converter list.
    EXPECT_NE(ErrorOf("{\"converters\": [\"a\"], \"backup\": " + backup + "}", RestoreBodyKind::Restore)
                  .find("unknown key"),
              std::string::npos);
}

} // namespace
