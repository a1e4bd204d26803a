#include "config/InputRequest.h"

#include <gtest/gtest.h>

namespace {

std::optional<InputJob> prepared(InputRequest request, InputProblem* problem = nullptr)
{
    InputProblem ignored;
    return prepareInput(std::move(request), problem ? *problem : ignored);
}

// The dialogs' InputType codes for every word of the four plain kinds.
TEST(InputRequest, PlainKindsWriteTheDialogsInputTypeCodes)
{
    struct Case {
        InputKind kind;
        int variant, mode, wiring;
        std::uint8_t code;
    };
    const Case cases[] = {
        {InputKind::Voltage, 0, 0, 0, 0},       {InputKind::Voltage, 2, 0, 0, 2},
        {InputKind::Current, 0, 0, 0, 3},       {InputKind::Current, 1, 0, 0, 4},
        {InputKind::Resistance, 0, 0, 0, 5},    {InputKind::Resistance, 0, 0, 3, 8},
        {InputKind::Potentiometer, 0, 0, 0, 9}, {InputKind::Potentiometer, 0, 0, 1, 10},
        {InputKind::Potentiometer, 0, 1, 0, 11}, {InputKind::Potentiometer, 0, 1, 1, 12},
    };
    for (const Case& c : cases) {
        InputRequest request;
        request.kind = c.kind;
        request.variant = c.variant;
        request.mode = c.mode;
        request.wiring = c.wiring;
        const std::optional<InputJob> job = prepared(std::move(request));
        ASSERT_TRUE(job);
        EXPECT_EQ(job->plain.inputType, c.code);
        EXPECT_EQ(job->expected.inputType, c.code);
    }
}

TEST(InputRequest, LinearizationChoiceSetsWhatTheReadBackMustShow)
{
    InputRequest off;
    off.kind = InputKind::Resistance;
    off.linearization = LinearizationChoice::Mode::Off;
    off.rangeMin = 10;
    off.rangeMax = 5; // above the high value: not refused, as in the dialog
    std::optional<InputJob> job = prepared(std::move(off));
    ASSERT_TRUE(job);
    EXPECT_EQ(job->expected.rangeMin, 10.0f);
    EXPECT_EQ(job->expected.rangeMax, 5.0f);
    EXPECT_EQ(job->expected.segmentCount, 0);
    EXPECT_EQ(job->expected.curveDegree, 0);
    EXPECT_FALSE(job->expected.curveCoefficients);

    InputRequest keep;
    keep.kind = InputKind::Resistance;
    job = prepared(std::move(keep));
    ASSERT_TRUE(job);
    EXPECT_FALSE(job->expected.rangeMin);
    EXPECT_FALSE(job->expected.curveDegree);

    // An overwrite without a fit would write an empty table.
    InputRequest overwrite;
    overwrite.kind = InputKind::Voltage;
    overwrite.linearization = LinearizationChoice::Mode::Overwrite;
    InputProblem problem;
    EXPECT_FALSE(prepared(std::move(overwrite), &problem));
    EXPECT_EQ(problem.option, "linearization");
}

TEST(InputRequest, DividerAndShuntOnlyWhereTheDialogHasThem)
{
    InputRequest tenVolt;
    tenVolt.kind = InputKind::Voltage;
    tenVolt.variant = 2;
    tenVolt.divider = 2.0f;
    InputProblem problem;
    EXPECT_FALSE(prepared(std::move(tenVolt), &problem));
    EXPECT_EQ(problem.option, "divider");

    InputRequest twentyMilliamps;
    twentyMilliamps.kind = InputKind::Current;
    twentyMilliamps.variant = 1;
    twentyMilliamps.shunt = 50.0f;
    EXPECT_FALSE(prepared(std::move(twentyMilliamps), &problem));
    EXPECT_EQ(problem.option, "shunt");

    // Untouched on 1 V: the converter's own divider is written back.
    InputRequest oneVolt;
    oneVolt.kind = InputKind::Voltage;
    oneVolt.variant = 1;
    std::optional<InputJob> job = prepared(std::move(oneVolt));
    ASSERT_TRUE(job);
    EXPECT_TRUE(job->keepDivider);
    EXPECT_FALSE(job->plain.divider);

    InputRequest noDivider;
    noDivider.kind = InputKind::Voltage;
    noDivider.variant = 2;
    job = prepared(std::move(noDivider));
    ASSERT_TRUE(job);
    EXPECT_FALSE(job->keepDivider);
}

TEST(InputRequest, SensorsExpectTheirWholeCharacteristic)
{
    InputRequest rtd;
    rtd.kind = InputKind::Rtd;
    rtd.sensor = input_words::indexOf(input_words::RtdSensors, "PT100");
    rtd.wiring = input_words::indexOf(input_words::Wirings, "3");
    std::optional<InputJob> job = prepared(std::move(rtd));
    ASSERT_TRUE(job);
    EXPECT_EQ(job->expected.inputType, 7);
    EXPECT_EQ(job->expected.curveDegree, 5);
    EXPECT_EQ(job->expected.segmentCount, 0);
    EXPECT_NEAR(*job->expected.rangeMin, 18.52, 0.01);
    EXPECT_NEAR(*job->expected.rangeMax, 390.48, 0.01);

    InputRequest k;
    k.kind = InputKind::Thermocouple;
    k.type = input_words::indexOf(input_words::ThermocoupleTypes, "k");
    k.compensation = 1;
    job = prepared(std::move(k));
    ASSERT_TRUE(job);
    EXPECT_EQ(job->expected.inputType, 14);
    EXPECT_EQ(job->expected.rangeMax, 54.886f);
    EXPECT_EQ(job->expected.curveDegree, 3);
    EXPECT_EQ(input_words::indexOf(input_words::ThermocoupleTypes, "KK"), -1);
}

} // namespace
