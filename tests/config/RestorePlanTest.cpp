#include "device/DryRunTransport.h"
#include "config/RestorePlan.h"
#include "inputs/SensorCatalogs.h"

#include "inputs/RtdCatalog.h"
#include "inputs/ThermocoupleCatalog.h"

#include "tests/config/SampleBackups.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <memory>

namespace {

using P = protocol::Parameter;
using Frames = std::vector<std::vector<std::uint8_t>>;

const ThermocoupleCurve& TypeK()
{
    for (int i = 0; i < thermocouples().Count(); ++i)
        if (std::strncmp(thermocouples().At(i)->name(), "K ", 2) == 0)
            return *thermocouples().At(i);
    throw std::logic_error("no type K");
}

// The frames a sequence sends, through a converter that is not there.
template <typename Write> Frames FramesOf(Write write)
{
    auto transport = std::make_unique<DryRunTransport>();
    DryRunTransport& sent = *transport;
    ConverterLink link(std::move(transport));
    write(link);
    return sent.requests;
}

std::vector<P> Commands(const Frames& frames)
{
    std::vector<P> commands;
    for (const auto& f : frames)
        commands.push_back(static_cast<P>(f.at(1)));
    return commands;
}

TEST(RestorePlan, ThermocoupleComesBackByTheDialogsSequenceWithTheCatalogsPieces)
{
    const ThermocoupleCurve& k = TypeK();
    BackupFile file = voltageBackup();
    const SensorInput written = thermocoupleInput(k, 1);
    Configuration& c = file.configuration;
    c.inputType = written.inputType;
    c.rangeMin = written.rangeMin;
    c.rangeMax = written.rangeMax;
    c.curveDegree = written.degree;
    c.curveCoefficients = written.coefficients;
    file.sensor = k.name();
    EXPECT_EQ(recognisedSensor(c), k.name());
    EXPECT_TRUE(restoreObstacles(c).empty());

    RestorePlan plan;
    std::vector<std::string> faults;
    ASSERT_TRUE(planRestore(file, {}, plan, faults));
    const Frames restore = FramesOf([&](ConverterLink& link) { runRestore(link, plan); });
    const Frames dialog = FramesOf([&](ConverterLink& link) {
        writeThermocoupleInput(link, thermocoupleInput(k, 1), thermocouplePieces(k));
    });
    // Divider and Shunt first, then exactly the dialog's frames, then the rest.
    ASSERT_EQ(restore.size(), 2 + dialog.size() + 6);
    EXPECT_EQ(Frames(restore.begin() + 2, restore.begin() + 2 + static_cast<long>(dialog.size())), dialog);
    EXPECT_EQ(Commands(restore),
              (std::vector{P::Divider, P::Shunt, P::InputType, P::RangeMin, P::RangeMax, P::EmfRange,
                           P::EmfRange, P::EmfRange, P::EmfRange, P::CurveCoefficients, P::CurveDegree,
                           P::SegmentCount, P::Commit, P::Filter, P::ScaleMin, P::ScaleMax,
                           P::ErrorSignalling, P::Relay1, P::Relay2}));
    EXPECT_TRUE(compareConfigurations(plan.expected, file.configuration).empty());
}

TEST(RestorePlan, PlainInputWithoutPolynomialIsWrittenAsLinearizationOff)
{
    RestorePlan plan;
    std::vector<std::string> faults;
    ASSERT_TRUE(planRestore(voltageBackup(), {}, plan, faults));
    const Frames frames = FramesOf([&](ConverterLink& link) { runRestore(link, plan); });
    EXPECT_EQ(Commands(frames),
              (std::vector{P::Divider, P::Shunt, P::InputType, P::RangeMin, P::RangeMax, P::SegmentCount,
                           P::CurveDegree, P::Commit, P::Filter, P::ScaleMin, P::ScaleMax, P::ErrorSignalling,
                           P::Relay1, P::Relay2}));
    // The coefficients are not written, so not compared afterwards either.
    EXPECT_FALSE(plan.expected.curveCoefficients);
    ASSERT_EQ(plan.notes.size(), 1u);
    EXPECT_NE(plan.notes[0].find("CurveCoefficients"), std::string::npos);
}

TEST(RestorePlan, WhatAFileCannotHoldIsRefusedUnlessAnOptionSaysWhatToDo)
{
    BackupFile segments = voltageBackup();
    segments.configuration.segmentCount = 7;
    BackupFile unknownType = voltageBackup();
    unknownType.configuration.inputType = 14;
    unknownType.configuration.curveDegree = 2;
    unknownType.configuration.curveCoefficients = CurveCoefficients{1, 2, 3};
    BackupFile wrongName = voltageBackup();
    wrongName.sensor = "Pt 100 (3850)";

    for (const BackupFile* file : {&segments, &unknownType, &wrongName}) {
        RestorePlan plan;
        std::vector<std::string> faults;
        EXPECT_FALSE(planRestore(*file, {}, plan, faults));
        ASSERT_EQ(faults.size(), 1u);
        const bool obstacle = file != &wrongName;
        EXPECT_EQ(faults[0].find("--keep-linearization") != std::string::npos, obstacle) << faults[0];
        EXPECT_EQ(restoreObstacles(file->configuration).size(), file == &wrongName ? 0u : 1u);
    }

    // Kept: only the input type and Commit for the input; the range is not compared.
    RestorePlan kept;
    std::vector<std::string> faults;
    ASSERT_TRUE(planRestore(segments, {RestoreLinearization::Source::Keep}, kept, faults));
    const std::vector<P> keptCommands =
        Commands(FramesOf([&](ConverterLink& link) { runRestore(link, kept); }));
    EXPECT_EQ(std::vector(keptCommands.begin() + 2, keptCommands.begin() + 4),
              (std::vector{P::InputType, P::Commit}));
    EXPECT_FALSE(kept.expected.rangeMin || kept.expected.segmentCount || kept.expected.curveDegree);

    // Overwritten: the table's range and segments are what the target should hold.
    LinearizationTable table;
    table.min = -5;
    table.max = 5;
    table.segmentCount = 2;
    RestorePlan overwritten;
    ASSERT_TRUE(
        planRestore(unknownType, {RestoreLinearization::Source::Overwrite, &table}, overwritten, faults));
    EXPECT_EQ(overwritten.expected.rangeMin, -5.0f);
    EXPECT_EQ(overwritten.expected.segmentCount, 2);
    EXPECT_EQ(overwritten.expected.curveDegree, 0);
    const std::vector<P> uploaded =
        Commands(FramesOf([&](ConverterLink& link) { runRestore(link, overwritten); }));
    EXPECT_EQ(std::vector(uploaded.begin() + 2, uploaded.begin() + 10),
              (std::vector{P::InputType, P::RangeMin, P::RangeMax, P::Segment, P::Segment, P::SegmentCount,
                           P::CurveDegree, P::Commit}));
}

TEST(RestorePlan, PartialFileLeavesWhatItLacksAlone)
{
    BackupFile file = voltageBackup();
    file.partial = true;
    file.configuration.rangeMax.reset();
    file.configuration.divider.reset();
    file.configuration.relay2.reset();
    RestorePlan plan;
    std::vector<std::string> faults;
    ASSERT_TRUE(planRestore(file, {}, plan, faults));
    const Frames frames = FramesOf([&](ConverterLink& link) { runRestore(link, plan); });
    EXPECT_EQ(Commands(frames), (std::vector{P::Shunt, P::InputType, P::Commit, P::Filter, P::ScaleMin,
                                             P::ScaleMax, P::ErrorSignalling, P::Relay1}));
    ASSERT_EQ(plan.notes.size(), 1u);
    EXPECT_NE(plan.notes[0].find("RangeMin, CurveDegree, CurveCoefficients, SegmentCount not written"),
              std::string::npos);
}

} // namespace
