#include "device/StablePortNames.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

std::vector<StablePortName> stablePortNames(const fs::path& serialDir)
{
    std::vector<StablePortName> names;
    for (const char* folder : {"by-id", "by-path"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(serialDir / folder, error)) {
            std::error_code ignored;
            // A link left behind by an unplugged adapter points nowhere.
            const fs::path device = fs::canonical(entry.path(), ignored);
            if (ignored)
                continue;
            names.push_back({entry.path().string(), device.string(), folder[3] == 'i'});
        }
    }
    std::sort(names.begin(), names.end(),
              [](const StablePortName& a, const StablePortName& b) { return a.name < b.name; });
    return names;
}
