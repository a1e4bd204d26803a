#include "linearization/LinearizationTable.h"

#include "device/ConverterLink.h"
#include "framework/WaitCursorHook.h"

#include <algorithm>

void LinearizationTable::clear()
{
    std::fill(std::begin(segments), std::end(segments), LinearSegment{});
    std::fill(std::begin(coefficients), std::end(coefficients), 0.0f);
    segmentCount = 0;
    polynomialDegree = 0;
}

bool LinearizationTable::upload(ConverterLink& link, WaitCursorHook* waitCursor) const
{
    // The counts are public fields; never send beyond the arrays.
    const int segmentsInUse = std::clamp<int>(segmentCount, 0, MaxSegments);
    const int degree = std::clamp<int>(polynomialDegree, 0, MaxPolynomialDegree);

    bool answered = link.writeRangeMin(min);
    answered &= link.writeRangeMax(max);
    if (segmentsInUse != 0) {
        if (waitCursor)
            waitCursor->show();
        for (int i = 0; i < segmentsInUse; ++i) {
            const LinearSegment& s = segments[i];
            answered &=
                link.writeSegment(static_cast<std::uint8_t>(i), SegmentRecord{s.a0, s.a1, s.a2, s.a3, s.x0});
        }
        answered &= link.writeSegmentCount(static_cast<std::uint8_t>(segmentsInUse));
        answered &= link.writeCurveDegree(0);
        if (waitCursor)
            waitCursor->restore();
    } else if (degree != 0) {
        CurveCoefficients all{};
        std::copy(std::begin(coefficients), std::end(coefficients), all.begin());
        answered &= link.writeCurveCoefficients(all);
        answered &= link.writeCurveDegree(static_cast<std::uint8_t>(degree));
        answered &= link.writeSegmentCount(0);
    } else {
        answered &= link.writeSegmentCount(0);
        answered &= link.writeCurveDegree(0);
    }
    return answered;
}
