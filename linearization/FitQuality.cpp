#include "linearization/FitQuality.h"

#include "linearization/FitOffer.h"
#include "linearization/LinearSpline.h"
#include "linearization/LinearizationTable.h"
#include "linearization/PointReader.h"
#include "linearization/PointSet.h"
#include "linearization/PolynomialFit.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <memory>

namespace {

// Largest and RMS residual over the points, one point at a time.
class ResidualSum {
public:
    void add(double x, long double residual)
    {
        double size = static_cast<double>(std::fabs(residual));
        // A fit whose value overflows is as bad as it gets.
        if (std::isnan(size))
            size = std::numeric_limits<double>::infinity();
        if (count == 0 || size > largest) {
            largest = size;
            largestAt = x;
        }
        squares += static_cast<long double>(size) * size;
        ++count;
    }

    ResidualFigures figures() const
    {
        const long double mean = count > 0 ? squares / count : 0;
        return ResidualFigures{largest, largestAt, static_cast<double>(std::sqrt(mean))};
    }

private:
    double largest = 0;
    double largestAt = 0;
    long double squares = 0;
    long long count = 0;
};

long double polynomialAt(const PolynomialFit& fit, double x)
{
    long double value = 0;
    for (int k = fit.degree; k >= 0; --k)
        value = value * x + fit.moments[k];
    return value;
}

// The straight line through the kept neighbours of x; the first or last
// line carried on beyond the ends.
long double splineAt(const LinearSpline& spline, double x)
{
    int index = 0;
    if (spline.find(x, index) || spline.count == 1)
        return spline.points[std::min(index, spline.count - 1)].y;
    const int i = std::clamp(index - 1, 0, spline.count - 2);
    const SplinePoint& p = spline.points[i];
    const SplinePoint& q = spline.points[i + 1];
    return p.y + (static_cast<long double>(x) - p.x) * (static_cast<long double>(q.y) - p.y) /
                     (static_cast<long double>(q.x) - p.x);
}

// One offered choice while it is measured.
struct Candidate {
    FitQualityEntry entry;
    LinearizationTable table;           // as the import fills it
    std::unique_ptr<PolynomialFit> fit; // polynomials only
    bool hasExact = false;
    ResidualSum sent;
    ResidualSum exact;
};

// Four float32 steps of the largest |y|: the float32 step of a value is
// 2^(e - 23) for its binary exponent e.
double roundingLevelOf(double largestY)
{
    if (largestY == 0)
        return 4 * static_cast<double>(std::numeric_limits<float>::denorm_min());
    const double step = std::ldexp(1.0, std::ilogb(largestY) - (FLT_MANT_DIG - 1));
    return 4 * std::max(step, static_cast<double>(std::numeric_limits<float>::denorm_min()));
}

void compareOrders(FitQualityReport& report)
{
    const auto level = [&](const FitQualityEntry& e) {
        return std::max(e.sent->maxResidual, report.roundingLevel);
    };
    const FitQualityEntry* best = nullptr; // best order so far, the lower one on ties
    for (FitQualityEntry& e : report.entries) {
        if (e.method != FitMethod::Polynomial || !e.sent)
            continue;
        if (best && level(e) >= level(*best))
            e.noBetterThan = best->degree;
        else
            best = &e;
    }
    if (!best)
        return;
    for (const FitQualityEntry& e : report.entries) {
        if (e.method == FitMethod::Polynomial && e.sent && level(e) <= 1.1 * level(*best)) {
            report.recommendedOrder = e.degree;
            break;
        }
    }
}

} // namespace

bool assessFit(const std::filesystem::path& fileName, FitQualityReport& report)
{
    report = FitQualityReport{};
    PointSet pointSet;
    readPointSet(fileName, pointSet);
    if (pointSet.count < fit_offer::MinImportPoints)
        return false;
    report.count = pointSet.count;
    report.min = pointSet.min;
    report.max = pointSet.max;
    report.preselectedOrder = fit_offer::preselectedOrder(pointSet.count);

    std::vector<std::unique_ptr<Candidate>> candidates;
    for (int order = fit_offer::LowestOrder; order <= fit_offer::highestOrder(pointSet.count); ++order) {
        auto c = std::make_unique<Candidate>();
        c->entry.degree = order;
        c->fit = std::make_unique<PolynomialFit>(order);
        candidates.push_back(std::move(c));
    }
    const bool withSpline = fit_offer::splineOffered(pointSet.count);
    auto spline = std::make_unique<LinearSpline>();
    if (withSpline) {
        candidates.push_back(std::make_unique<Candidate>());
        candidates.back()->entry.method = FitMethod::Spline;
    }

    // The 80-bit fits and the spline's points, all in one reading.
    PointReader reader;
    if (!reader.open(fileName))
        return false;
    double x = 0;
    double y = 0;
    bool first = true;
    while (reader.nextPoint(x, y)) {
        for (auto& c : candidates)
            if (c->fit)
                c->fit->addPoint(x, y);
        if (withSpline)
            spline->addPoint(x, y);
        report.yMin = first ? y : std::min(report.yMin, y);
        report.yMax = first ? y : std::max(report.yMax, y);
        first = false;
    }
    for (auto& c : candidates) {
        if (c->fit) {
            c->fit->buildSystem();
            c->hasExact = c->fit->solve() && c->fit->isDetermined();
            // The float32 side as the import builds it: another reading each.
            if (importPolynomial(fileName, c->entry.degree, c->table))
                c->entry.sent.emplace();
        } else {
            c->hasExact = spline->count > 1;
            if (importSpline(fileName, c->table) && c->table.segmentCount > 0)
                c->entry.sent.emplace();
        }
    }

    PointReader again; // a reader per reading
    if (!again.open(fileName))
        return false;
    while (again.nextPoint(x, y)) {
        for (auto& c : candidates) {
            if (c->entry.sent)
                c->sent.add(x, static_cast<long double>(tableValueAt(c->table, x)) - y);
            if (c->hasExact)
                c->exact.add(x, (c->fit ? polynomialAt(*c->fit, x) : splineAt(*spline, x)) - y);
        }
    }

    report.roundingLevel = roundingLevelOf(std::max(std::fabs(report.yMin), std::fabs(report.yMax)));
    for (auto& c : candidates) {
        FitQualityEntry& e = c->entry;
        if (e.sent)
            e.sent = c->sent.figures();
        if (c->hasExact)
            e.exact = c->exact.figures();
        e.float32Warning = e.sent && e.exact && e.sent->maxResidual > 2 * e.exact->maxResidual &&
                           e.sent->maxResidual > report.roundingLevel;
        report.entries.push_back(e);
    }
    compareOrders(report);
    return true;
}

double tableValueAt(const LinearizationTable& table, double x)
{
    if (table.segmentCount > 0) {
        int i = 0;
        while (i + 1 < table.segmentCount && static_cast<double>(table.segments[i + 1].x0) <= x)
            ++i;
        const LinearSegment& s = table.segments[i];
        return static_cast<double>(s.a0) + static_cast<double>(s.a1) * (x - static_cast<double>(s.x0));
    }
    double value = 0;
    for (int k = table.polynomialDegree; k >= 0 && table.polynomialDegree > 0; --k)
        value = value * x + static_cast<double>(table.coefficients[k]);
    return value;
}
