#include "linearization/PolynomialFit.h"

#include "framework/NumberText.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointReader.h"

#include <cmath>
#include <limits>
#include <utility>

PolynomialFit::PolynomialFit(int order) : degree(order < MaxPolynomialDegree ? order : MaxPolynomialDegree) {}

void PolynomialFit::addPoint(double x, double y)
{
    if (distinctCount <= degree) {
        bool known = false;
        for (int i = 0; i < distinctCount && !known; ++i)
            known = distinctX[i] == x;
        if (!known)
            distinctX[distinctCount++] = x;
    }
    // One product of powers serves both sums: the moments' powers are the
    // same running product, so this is what two loops would give.
    long double power = 1;
    for (int k = 0; k <= 2 * degree; ++k) {
        powerSums[k] += power;
        if (k <= degree)
            moments[k] += y * power;
        power *= x;
    }
}

void PolynomialFit::buildSystem()
{
    for (auto& row : matrix)
        for (auto& element : row)
            element = 0;
    const int n = degree;
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j)
            matrix[i][j] = powerSums[i + j];
        matrix[i][n + 1] = moments[i];
    }
}

bool PolynomialFit::solve()
{
    const int n = degree;
    for (int k = 0; k < n; ++k) {
        int pivot = k;
        long double largest = std::fabs(matrix[k][k]);
        for (int r = k + 1; r <= n; ++r) {
            if (std::fabs(matrix[r][k]) > largest) {
                largest = std::fabs(matrix[r][k]);
                pivot = r;
            }
        }
        if (pivot != k)
            for (int col = k; col <= n + 1; ++col)
                std::swap(matrix[k][col], matrix[pivot][col]);
        if (matrix[k][k] == 0)
            continue;
        for (int r = k + 1; r <= n; ++r) {
            if (matrix[r][k] == 0)
                continue;
            const long double f = matrix[r][k] / matrix[k][k];
            for (int col = k; col <= n + 1; ++col)
                matrix[r][col] -= f * matrix[k][col];
        }
    }
    bool finite = true;
    for (int i = n; i >= 0; --i) {
        long double s = matrix[i][n + 1];
        for (int j = i + 1; j <= n; ++j)
            s -= moments[j] * matrix[i][j];
        // A zero diagonal element has no quotient; mark the coefficient unusable.
        moments[i] = matrix[i][i] != 0 ? s / matrix[i][i] : std::numeric_limits<long double>::quiet_NaN();
        finite = finite && std::isfinite(moments[i]);
    }
    return finite;
}

bool importPolynomial(const FileName& fileName, int order, LinearizationTable& table)
{
    // Degree 0 would leave a table that reads as empty: no linearization at all.
    if (order < 1)
        return false;
    PointReader reader;
    if (!reader.open(fileName))
        return false;
    PolynomialFit fit(order);
    double x = 0;
    double y = 0;
    while (reader.nextPoint(x, y))
        fit.addPoint(x, y);
    fit.buildSystem();
    const bool solved = fit.solve();
    // Check everything before the table is touched: a failed import keeps it whole.
    if (!fit.isDetermined() || !solved)
        return false;
    for (int k = 0; k <= fit.degree; ++k)
        if (!number_text::FitsFloat(fit.moments[k]))
            return false;
    table.clear();
    for (int k = 0; k <= fit.degree; ++k)
        table.coefficients[k] = static_cast<float>(fit.moments[k]);
    table.polynomialDegree = fit.degree;
    return true;
}
