#pragma once

#include "framework/BaseObject.h"
#include "linearization/FileName.h"

class LinearizationTable;

inline constexpr int MaxPolynomialDegree = 9;

// Least-squares polynomial y = b0 + b1 x + ... + bn x^n through streamed
// points: only the sums of the normal equations are kept, never the points.
// All arithmetic is 80-bit extended; x is used as it is, without scaling.
//
// Use: construct, addPoint for every point, buildSystem, solve, then read
// moments[0..degree], which solve turns into the coefficients b0..bn.
// Points are summed in small batches; powerSums and moments are complete once
// buildSystem has run.
class PolynomialFit : public BaseObject {
public:
    explicit PolynomialFit(int order); // degree = order, at most 9

    void addPoint(double x, double y);
    // Sums what is pending, then fills matrix from powerSums and moments.
    void buildSystem();
    // Gaussian elimination with partial pivoting, then back substitution.
    // False when a coefficient came out infinite or not a number.
    bool solve();
    // True when at least degree + 1 distinct x were added: only then has the
    // system one solution; with fewer it is singular, however it rounds.
    bool isDetermined() const { return distinctCount > degree; }

    long double matrix[MaxPolynomialDegree + 1][MaxPolynomialDegree + 2] = {};
    long double powerSums[2 * MaxPolynomialDegree + 1] = {};
    long double moments[MaxPolynomialDegree + 1] = {};
    int degree = 0;

private:
    static constexpr int BatchSize = 256;

    void sumPending();

    double distinctX[MaxPolynomialDegree + 1] = {};
    int distinctCount = 0;
    double pendingX[BatchSize] = {};
    double pendingY[BatchSize] = {};
    int pendingCount = 0;
};

// Second reading of a point file into a polynomial of the given order (1..9,
// higher orders are taken as 9). False when the file cannot be opened or the
// fit gives no usable float32 coefficients; the table is then left as it was.
bool importPolynomial(const FileName& fileName, int order, LinearizationTable& table);
