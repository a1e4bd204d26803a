#pragma once

#include "server/ConverterRegistry.h"
#include "server/HttpMessage.h"

#include <memory>
#include <string>

// Backup, diff, restore and batch restore: the same core calls as
// `dnx8 backup`, `dnx8 diff` and `dnx8 restore`, each on the converter's
// worker; writes go through submitWrite.
class RestoreApi {
public:
    RestoreApi(ConverterRegistry& converters, bool readOnly);

    void backup(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange);
    void diff(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange);
    void restore(const std::string& id, const HttpRequest& request, std::shared_ptr<Exchange> exchange);
    void batchRestore(const HttpRequest& request, std::shared_ptr<Exchange> exchange);

private:
    ConverterRegistry& converters;
    const bool readOnly;
};
