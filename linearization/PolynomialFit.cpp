#include "linearization/PolynomialFit.h"

#include "linearization/FloatRange.h"
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
    pendingX[pendingCount] = x;
    pendingY[pendingCount] = y;
    if (++pendingCount == BatchSize)
        sumPending();
}

void PolynomialFit::sumPending()
{
    accumulate<false>(powerSums, 2 * degree + 1);
    accumulate<true>(moments, degree + 1);
    pendingCount = 0;
}

// sums[k] += w * x^k (w = 1, or y when weighted) for k < count, for every
// pending point in the order added. Each sum gets the same additions in the
// same order as one point at a time would give, and each power is the same
// running product 1 * x * x * ..., so the result is identical to the bit.
// What differs is the loop order: four sums at a time stay in registers,
// where an 80-bit value is cheap. The power a group starts from is
// multiplied up again rather than kept in memory: storing and loading an
// 80-bit value costs more than the few multiplications.
template <bool Weighted> void PolynomialFit::accumulate(long double* sums, int count)
{
    for (int k = 0; k < count; k += 4) {
        const int group = count - k < 4 ? count - k : 4;
        long double s0 = sums[k];
        long double s1 = group > 1 ? sums[k + 1] : 0;
        long double s2 = group > 2 ? sums[k + 2] : 0;
        long double s3 = group > 3 ? sums[k + 3] : 0;
        for (int p = 0; p < pendingCount; ++p) {
            const long double x = pendingX[p];
            const long double w = Weighted ? static_cast<long double>(pendingY[p]) : 1.0L;
            long double power = 1;
            for (int i = 0; i < k; ++i)
                power *= x;
            s0 += Weighted ? w * power : power;
            if (group > 1) {
                power *= x;
                s1 += Weighted ? w * power : power;
            }
            if (group > 2) {
                power *= x;
                s2 += Weighted ? w * power : power;
            }
            if (group > 3) {
                power *= x;
                s3 += Weighted ? w * power : power;
            }
        }
        sums[k] = s0;
        if (group > 1)
            sums[k + 1] = s1;
        if (group > 2)
            sums[k + 2] = s2;
        if (group > 3)
            sums[k + 3] = s3;
    }
}

void PolynomialFit::buildSystem()
{
    sumPending();
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

bool importPolynomial(const std::filesystem::path& fileName, int order, LinearizationTable& table)
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
        if (!fitsFloat(fit.moments[k]))
            return false;
    table.clear();
    for (int k = 0; k <= fit.degree; ++k)
        table.coefficients[k] = static_cast<float>(fit.moments[k]);
    table.polynomialDegree = fit.degree;
    return true;
}
