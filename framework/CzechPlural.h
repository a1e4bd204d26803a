#pragma once

#include <string>

// "1 segment", "3 segmenty", "5 segmentů": a count with the Czech noun form
// it takes (one; two to four; zero and five on).
inline std::string czechCount(long long n, const std::string& one, const std::string& few, const std::string& many)
{
    const std::string& form = n == 1 ? one : n >= 2 && n <= 4 ? few : many;
    return std::to_string(n) + " " + form;
}

inline std::string segmentCountText(long long n)
{
    return czechCount(n, "segment", "segmenty", "segmentů");
}
