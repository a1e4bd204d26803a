#pragma once

#include "inputs/EmfRange.h"
#include "inputs/SensorCurve.h"

#include <array>
#include <cstdint>

// Thermocouple: up to four pieces of the inverse characteristic t(E) in
// rising EMF order, and the cold-junction EMF as a polynomial E(R) in the
// resistance of the compensating Pt 100 (3850) sensor.
class ThermocoupleCurve : public SensorCurve {
public:
    static constexpr int PieceSlots = 4;

    struct Data {
        const char* name;
        // Slots beyond the type's pieces point at UnusedEmfRange.
        std::array<const EmfRange*, PieceSlots> ranges;
        Coefficients cjPolynomial; // E = c0 + c1*R + ..., R in ohms, E in mV
        std::uint8_t cjDegree;
        float emfMin; // mV at the bottom of the range, lower bound of piece 0
        float emfMax; // mV at the top of the range
        int tmin;     // measuring range in degrees C, shown only
        int tmax;
    };

    // data must outlive the curve (the catalog's tables are static); a
    // temporary would not, so it cannot be given.
    explicit ThermocoupleCurve(const Data& data)
        : SensorCurve(data.name, data.cjDegree, data.cjPolynomial), data(data)
    {
    }
    explicit ThermocoupleCurve(const Data&& data) = delete;

    const std::array<const EmfRange*, PieceSlots>& ranges() const { return data.ranges; }
    // Piece slot 0..3; an unused slot, or one outside 0..3, gives the all-zero piece.
    const EmfRange& range(int slot) const;
    int pieceCount() const;
    const Coefficients& cjPolynomial() const { return data.cjPolynomial; }
    std::uint8_t cjDegree() const { return data.cjDegree; }
    float emfMin() const { return data.emfMin; }
    float emfMax() const { return data.emfMax; }
    int tmin() const { return data.tmin; }
    int tmax() const { return data.tmax; }

private:
    const Data& data;
};
