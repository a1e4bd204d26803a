#include "linearization/PointReader.h"

#include "linearization/NumberField.h"

bool PointReader::open(const FileName& fileName)
{
    return lines.open(fileName);
}

bool PointReader::nextPoint(double& x, double& y)
{
    std::string_view line;
    while (lines.nextLine(line)) {
        if (line.empty() || line.front() == ';')
            continue;
        double first = 0;
        double second = 0;
        if (parseNumber(line, first) && parseNumber(line, second)) {
            x = first;
            y = second;
            return true;
        }
    }
    return false;
}
