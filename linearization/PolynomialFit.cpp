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
// What differs is the loop order: a group of sums at a time stays in the
// eight x87 registers (with x and the power, and y and a product when
// weighted), where an 80-bit value is cheap. The power a group starts from
// is multiplied up again rather than kept in memory: storing and loading an
// 80-bit value costs more than the few multiplications.
template <bool Weighted> void PolynomialFit::accumulate(long double* sums, int count)
{
    constexpr int Group = Weighted ? 4 : 6;
    for (int k = 0; k < count; k += Group) {
        const int group = count - k < Group ? count - k : Group;
        long double s[Group];
        for (int i = 0; i < Group; ++i)
            s[i] = i < group ? sums[k + i] : 0;
        for (int p = 0; p < pendingCount; ++p) {
            const long double x = pendingX[p];
            const long double w = Weighted ? static_cast<long double>(pendingY[p]) : 1.0L;
            long double power = 1;
            for (int i = 0; i < k; ++i)
                power *= x;
// Unrolled, the sums stay in registers; an unoptimised build ignores the
// request, and says so, which warnings-as-errors would not let pass.
#if defined(__OPTIMIZE__) && !defined(__clang__)
#pragma GCC unroll 6
#endif
            for (int i = 0; i < Group && i < group; ++i) {
                if (i > 0)
                    power *= x;
                s[i] += Weighted ? w * power : power;
            }
        }
        for (int i = 0; i < group; ++i)
            sums[k + i] = s[i];
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
