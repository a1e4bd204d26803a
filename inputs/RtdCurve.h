#pragma once

#include "inputs/SensorCurve.h"

// Resistance thermometer: the temperature as a polynomial t(R) in the
// measured resistance, the measuring range and the nominal resistance r0.
// Each family of types computes its own resistance at a temperature.
class RtdCurve : public SensorCurve {
public:
    struct Data {
        const char* name;
        Coefficients polynomial; // t = c0 + c1*R + ..., R in ohms, t in degrees C
        int degree;
        int tmin; // measuring range, degrees C
        int tmax;
        double r0; // resistance at 0 degrees C
    };

    // data must outlive the curve (the catalog's tables are static); a
    // temporary would not, so it cannot be given.
    explicit RtdCurve(const Data& data) : SensorCurve(data.name, data.degree, data.polynomial), data(data) {}
    explicit RtdCurve(const Data&& data) = delete;

    const Coefficients& polynomial() const { return data.polynomial; }
    int degree() const { return data.degree; }
    int tmin() const { return data.tmin; }
    int tmax() const { return data.tmax; }
    double r0() const { return data.r0; }

    // Resistance in ohms at t degrees C, computed in double and rounded to float.
    virtual float ResistanceAt(float t) const = 0;

private:
    const Data& data;
};
