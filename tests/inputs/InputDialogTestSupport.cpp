#include "tests/inputs/InputDialogTestSupport.h"

#include "device/LittleEndian.h"

using protocol::Parameter;

InputDialogTest::InputDialogTest()
{
    auto port = std::make_unique<MemoryConverter>();
    converter = port.get();
    converter->onRequest = [this](const MemoryConverter::Request&) {
        cursors.push_back(GetCursor());
        return std::optional<MemoryConverter::Bytes>();
    };
    link = std::make_unique<ConverterLink>(std::move(port));
    host = new Window(nullptr, "DNX8 config");
    description = host->MakeChild<StaticText>("Napětí", 10, 10, 200, 20, 130, 0);
    EXPECT_TRUE(host->Realize());
    host->ShowHandle(SW_SHOWNOACTIVATE);
}

InputDialogTest::~InputDialogTest()
{
    host->Free();
}

int InputDialogTest::runModal(std::unique_ptr<DialogObject> dialog, DialogDriver::Step act)
{
    DialogDriver driver({std::move(act)});
    const int result = app.RunModal(std::move(dialog));
    EXPECT_EQ(driver.stepsTaken(), 1) << "the dialog never showed";
    EXPECT_TRUE(driver.unexpected().empty());
    return result;
}

void InputDialogTest::configure(std::uint8_t code, float min, float max, bool linearized)
{
    converter->storeByte(Parameter::InputType, code);
    converter->storeReal(Parameter::RangeMin, min);
    converter->storeReal(Parameter::RangeMax, max);
    converter->storeByte(Parameter::CurveDegree, linearized ? 3 : 0);
    converter->storeByte(Parameter::SegmentCount, 0);
}

void InputDialogTest::fillTable()
{
    table.segmentCount = 2;
    table.segments[0] = {0.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    table.segments[1] = {50.0f, 2.0f, 0.0f, 0.0f, 50.0f};
    table.min = 0.0f;
    table.max = 100.0f;
}

std::vector<Parameter> InputDialogTest::written() const
{
    std::vector<Parameter> result;
    for (const MemoryConverter::Request& w : converter->writes())
        result.push_back(w.parameter());
    return result;
}

MemoryConverter::Bytes InputDialogTest::writtenData(Parameter p) const
{
    for (const MemoryConverter::Request& w : converter->writes())
        if (w.parameter() == p)
            return w.data;
    ADD_FAILURE() << "parameter " << int(protocol::Code(p)) << " not written";
    return {};
}

std::vector<MemoryConverter::Request> InputDialogTest::laterRequests() const
{
    const auto& all = converter->requests;
    return {all.begin() + (all.empty() ? 0 : 1), all.end()};
}

MemoryConverter::Bytes Bytes(float value)
{
    MemoryConverter::Bytes bytes(4);
    little_endian::PutFloat(bytes.data(), value);
    return bytes;
}

MemoryConverter::Bytes Bytes(const std::array<float, 10>& values)
{
    MemoryConverter::Bytes bytes;
    for (float value : values) {
        const auto one = Bytes(value);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}

float FloatAt(const MemoryConverter::Bytes& bytes, std::size_t offset)
{
    return offset + 4 <= bytes.size() ? little_endian::GetFloat(bytes.data() + offset) : 0.0f;
}

MemoryConverter::Request Request(Parameter parameter, MemoryConverter::Bytes data)
{
    return {protocol::Code(parameter), std::move(data)};
}
