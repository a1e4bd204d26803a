#include "linearization/PointReader.h"

#include "linearization/NumberField.h"

bool PointReader::open(const FileName& fileName)
{
    return lines.open(fileName);
}

bool PointReader::nextPointSlowly(double& x, double& y)
{
    static_assert(LineReader::Padding >= FieldPadding);
    std::string_view line;
    while (lines.nextLine(line)) {
        if (line.empty() || line.front() == ';')
            continue;
        double first = 0;
        double second = 0;
        if (parsePointPadded(line.data(), line.data() + line.size(), first, second)) {
            x = first;
            y = second;
            return true;
        }
    }
    return false;
}
