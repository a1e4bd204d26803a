#include "linearization/TableImport.h"

#include "linearization/LinearSpline.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointSet.h"
#include "linearization/PolynomialFit.h"

bool importTable(const FileName& fileName, const PointSet& pointSet, LinearizationTable& table)
{
    bool built = false;
    if (pointSet.method == 0)
        built = importPolynomial(fileName, pointSet.order, table);
    else if (pointSet.method == 1)
        built = importSpline(fileName, table);
    if (built) {
        table.min = pointSet.min;
        table.max = pointSet.max;
    }
    return built;
}
