#pragma once

#include "report/RecordParticulars.h"

#include <optional>
#include <string>

// GET /api/converters/{id}/record?tag=..&location=..&technician=..&note=..:
// the particulars from the query, percent-decoded and checked as `dnx8
// report` checks its options. Empty with the problem for anything else (an
// unknown or repeated name, a bad escape, a text that does not fit).
std::optional<RecordParticulars> parseRecordQuery(const std::string& target, std::string& problem);

// The record page's Content-Security-Policy: nothing may load or run, and
// only the page's own <style> elements (by their SHA-256) may style it.
std::string recordPagePolicy(const std::string& html);
