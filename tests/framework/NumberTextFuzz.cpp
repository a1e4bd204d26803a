// libFuzzer entry for the number readers: any text must read without a crash,
// and what is read must show and read back unchanged.
#include "framework/NumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace number_text;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::int32_t integer = IntegerFromText(text);
    if (IntegerFromText(IntegerText(integer)) != integer)
        __builtin_trap();

    const float real = RealFromText(text);
    const float back = RealFromText(RealAutoText(real));
    if (back != real && !(std::isnan(real) && std::isnan(back)))
        __builtin_trap();
    for (const int decimals : {0, 2, 3})
        if (FirstCharacters(RealText(real, decimals), RealTextLimit + 1).size() > RealTextLimit)
            __builtin_trap();
    return 0;
}
