#pragma once

#include "server/ConverterWorker.h"
#include "server/HttpMessage.h"

#include <memory>

// POST /api/converters/{id}/input: the body checked whole, then the input's
// write sequence on the converter's worker as `dnx8 input` runs it, with
// progress events; the input read back and verified.
void answerInput(ConverterWorker& worker, const HttpRequest& request, std::shared_ptr<Exchange> exchange);

// POST /api/fit?order=N|spline=true: the point file's text (a JSON string)
// assessed as `dnx8 fit --report --json` does, with the chosen fit's plot.
HttpResponse answerFit(const HttpRequest& request);
