#include "tests/inputs/SensorDialogTestSupport.h"

#include "framework/WideText.h"

#include <bit>

namespace {

std::string ItemText(HWND list, int index)
{
    const auto length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length > 0 ? length : 0));
    return Narrow(text);
}

std::vector<std::string> Entries(HWND list)
{
    std::vector<std::string> entries;
    const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        entries.push_back(ItemText(list, i));
    return entries;
}

int Selection(HWND list)
{
    return static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
}

} // namespace

SensorDialogView ViewOf(HWND dialog)
{
    HWND types = GetDlgItem(dialog, 101);
    HWND wirings = GetDlgItem(dialog, 103);
    wchar_t range[64] = {};
    GetDlgItemTextW(dialog, 102, range, 64);
    return {Entries(types), Selection(types), Narrow(range), Entries(wirings), Selection(wirings)};
}

void Pick(HWND dialog, int listId, int index)
{
    HWND list = GetDlgItem(dialog, listId);
    SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void PressOk(HWND dialog)
{
    SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

std::vector<std::uint8_t> Bytes(float value)
{
    const auto bits = std::bit_cast<std::uint32_t>(value);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

std::vector<std::uint8_t> Bytes(const std::array<float, 10>& values)
{
    std::vector<std::uint8_t> bytes;
    for (float value : values) {
        const auto one = Bytes(value);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    return bytes;
}

float FloatAt(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < 4 && offset + i < bytes.size(); ++i)
        bits |= std::uint32_t{bytes[offset + i]} << (8 * i);
    return std::bit_cast<float>(bits);
}

ConverterRequest Request(protocol::Parameter parameter, std::vector<std::uint8_t> data)
{
    return {protocol::Code(parameter), std::move(data)};
}

SensorDialogTest::SensorDialogTest() : app("DNX8 config")
{
    auto port = std::make_unique<MemoryConverter>();
    converter = port.get();
    converter->onRequest = [this](const ConverterRequest&) {
        cursors.push_back(GetCursor());
        return std::optional<MemoryConverter::Bytes>();
    };
    link = std::make_unique<ConverterLink>(std::move(port));
    host = new Window(nullptr, "DNX8 config");
    description = host->MakeChild<StaticText>("Napětí", 10, 10, 200, 20, 130, 0);
    if (host->Realize())
        host->ShowHandle(SW_SHOWNOACTIVATE);
}

SensorDialogTest::~SensorDialogTest()
{
    host->Free();
}

std::vector<ConverterRequest> SensorDialogTest::writes() const
{
    const auto& all = converter->requests;
    return {all.begin() + (all.empty() ? 0 : 1), all.end()};
}
