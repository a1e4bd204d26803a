#include "linearization/PolynomialFit.h"

#include "linearization/FloatRange.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointReader.h"

#include <array>
#include <cmath>
#include <cstddef>
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

namespace {

// power * x^n for n = sizeof...(I), one multiplication after the other,
// written out at compile time.
template <std::size_t... I> long double multipliedUp(long double power, double x, std::index_sequence<I...>)
{
    ((power *= x, static_cast<void>(I)), ...);
    return power;
}

// s[i] += w * power * x^i for each i, w = 1, or y when Weighted; written out
// at compile time, so that the sums can stay in registers.
template <bool Weighted, std::size_t... I>
void addPowers(long double (&s)[sizeof...(I)], long double power, double x, double y,
               std::index_sequence<I...>)
{
    ((power = I > 0 ? power * x : power, s[I] += Weighted ? y * power : power), ...);
}

// sums[i] += w * x^(Skip + i) for i < Count (w = 1, or y when Weighted) for
// every point, in order. Each power is the same running product 1 * x * x ...
// as one point at a time would give, so each sum gets the same additions in
// the same order, identical to the bit. The group of sums stays in the eight
// x87 registers (with x and the power, and y and a product when weighted),
// where an 80-bit value is cheap; the power the group starts from is
// multiplied up again for each point, which costs less than storing it.
template <int Skip, int Count, bool Weighted>
void sumGroup(const double* xs, const double* ys, int points, long double* sums)
{
    long double s[Count];
    for (int i = 0; i < Count; ++i)
        s[i] = sums[i];
    for (int p = 0; p < points; ++p) {
        const long double power = multipliedUp(1.0L, xs[p], std::make_index_sequence<Skip>());
        addPowers<Weighted>(s, power, xs[p], ys[p], std::make_index_sequence<Count>());
    }
    for (int i = 0; i < Count; ++i)
        sums[i] = s[i];
}

using SumGroup = void (*)(const double*, const double*, int, long double*);

template <int Skip, bool Weighted, int... Counts>
constexpr std::array<SumGroup, sizeof...(Counts)> groupsFrom(std::integer_sequence<int, Counts...>)
{
    return {&sumGroup<Skip, Counts + 1, Weighted>...};
}

template <bool Weighted, int First, int Group, int... Starts>
constexpr auto groupTable(std::integer_sequence<int, Starts...>)
{
    return std::array{
        groupsFrom<First + Starts * Group, Weighted>(std::make_integer_sequence<int, Group>())...};
}

// sums[k] += w * x^k for First <= k < count, a group of sums at a time.
template <bool Weighted, int First>
void accumulate(const double* xs, const double* ys, int points, long double* sums, int count)
{
    constexpr int Group = Weighted ? 4 : 6;
    constexpr int MaxCount = 2 * MaxPolynomialDegree + 1;
    static constexpr auto table = groupTable<Weighted, First, Group>(
        std::make_integer_sequence<int, (MaxCount - First + Group - 1) / Group>());
    for (int k = First; k < count; k += Group) {
        const int group = count - k < Group ? count - k : Group;
        table[static_cast<std::size_t>((k - First) / Group)][static_cast<std::size_t>(group - 1)](
            xs, ys, points, sums + k);
    }
}

} // namespace

void PolynomialFit::sumPending()
{
    // x^0 is 1 for every point: its sum is the count, exact in 80 bits, and
    // adding the batch's count at once gives the same value as one by one.
    powerSums[0] += pendingCount;
    accumulate<false, 1>(pendingX, pendingY, pendingCount, powerSums, 2 * degree + 1);
    accumulate<true, 0>(pendingX, pendingY, pendingCount, moments, degree + 1);
    pendingCount = 0;
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
        if (!fitsFloat(fit.moments[k]))
            return false;
    table.clear();
    for (int k = 0; k <= fit.degree; ++k)
        table.coefficients[k] = static_cast<float>(fit.moments[k]);
    table.polynomialDegree = fit.degree;
    return true;
}
