#include "inputs/RtdCatalog.h"

#include "inputs/Nickel5000Rtd.h"
#include "inputs/Nickel6180Rtd.h"
#include "inputs/PlatinumRtd.h"

#include <memory>

namespace {

// clang-format off
// t(R) polynomials. Each decimal rounds once, directly to the float that
// converters configured earlier report back; do not retype them.
constexpr RtdCurve::Data Pt100{
    "Pt 100 (3850)",
    {-242.79083f, 2.2682445f, 0.0020004846f, -5.32224e-06f, 1.3331696e-08f, -1.0033484e-11f},
    5, -200, 850, 100.0};

constexpr RtdCurve::Data Ni100Tk5000{
    "Ni 100 (5000)",
    {-304.0306f, 4.035101f, -0.012337221f, 2.6402184e-05f, -2.5180494e-08f},
    4, -60, 250, 100.0};

constexpr RtdCurve::Data Ni100Tk6180{
    "Ni 100 (6180)",
    {-245.01744f, 3.3703449f, -0.013085322f, 4.9106897e-05f, -1.1372275e-07f, 1.09997574e-10f},
    5, -60, 250, 100.0};

// The 1000-ohm types keep the degree and range of their 100-ohm types.
constexpr RtdCurve::Data Pt1000{
    "Pt 1000 (3850)",
    {-242.79083f, 0.22682445f, 2.0004845e-05f, -5.3222404e-09f, 1.3331696e-12f, -1.0033483e-16f},
    Pt100.degree, Pt100.tmin, Pt100.tmax, 1000.0};

constexpr RtdCurve::Data Ni1000Tk5000{
    "Ni 1000 (5000)",
    {-304.0306f, 0.4035101f, -0.00012337221f, 2.6402184e-08f, -2.5180494e-12f},
    Ni100Tk5000.degree, Ni100Tk5000.tmin, Ni100Tk5000.tmax, 1000.0};

constexpr RtdCurve::Data Ni1000Tk6180{
    "Ni 1000 (6180)",
    {-245.01744f, 0.3370345f, -0.00013085322f, 4.9106898e-08f, -1.1372275e-11f, 1.0999757e-15f},
    Ni100Tk6180.degree, Ni100Tk6180.tmin, Ni100Tk6180.tmax, 1000.0};
// clang-format on

} // namespace

RtdCatalog::RtdCatalog() : SensorCatalog(10)
{
    Append(std::make_unique<PlatinumRtd>(Pt100));
    Append(std::make_unique<Nickel5000Rtd>(Ni100Tk5000));
    Append(std::make_unique<Nickel6180Rtd>(Ni100Tk6180));
    Append(std::make_unique<PlatinumRtd>(Pt1000));
    Append(std::make_unique<Nickel5000Rtd>(Ni1000Tk5000));
    Append(std::make_unique<Nickel6180Rtd>(Ni1000Tk6180));
}
