#include "server/StaticAssets.h"

const EmbeddedFile* findWebFile(std::string_view urlPath)
{
    if (!urlPath.starts_with('/'))
        return nullptr;
    urlPath.remove_prefix(1);
    if (urlPath.empty())
        urlPath = "index.html";
    for (const EmbeddedFile& file : embeddedWebFiles())
        if (file.path == urlPath)
            return &file;
    return nullptr;
}
