#include "inputs/ThermocoupleTables.h"

namespace {

// clang-format off
// Inverse characteristics t(E), E in mV. Unless marked as this system's own,
// the pieces are the ITS-90 inverse reference functions with their published
// coefficients and EMF sub-ranges. Each decimal is a float literal so that it
// rounds once, directly to float, never through double. The cold-junction
// polynomials are how a configured converter is recognised: not a bit of
// them may change.

// B (Pt30Rh-Pt6Rh)
constexpr EmfRange B0{ // 0.002 to 0.291 mV, this system's own fit
    {44.28604f, 2825.3772f, -60632.09f, 1157668.8f,
     -14345494.0f, 1.127534e+08f, -5.571844e+08f, 1.6738077e+09f,
     -2.788568e+09f, 1.9739914e+09f},
    0.002f, 9, 0};

constexpr EmfRange B1{ // 0.291 to 2.431 mV, 250 to 700 C
    {9.8423321E+01f, 6.9971500E+02f, -8.4765304E+02f, 1.0052644E+03f,
     -8.3345952E+02f, 4.5508542E+02f, -1.5523037E+02f, 2.9886750E+01f,
     -2.4742860E+00f},
    0.291f, 8, 0};

constexpr EmfRange B2{ // 2.431 to 13.820 mV, 700 to 1820 C
    {2.1315071E+02f, 2.8510504E+02f, -5.2742887E+01f, 9.9160804E+00f,
     -1.2965303E+00f, 1.1195870E-01f, -6.0625199E-03f, 1.8661696E-04f,
     -2.4878585E-06f},
    2.431f, 8, 0};

// E (Chromel-Konstantan)
constexpr EmfRange E0{ // -8.825 to 0.000 mV, -200 to 0 C
    {0.0000000E+00f, 1.6977288E+01f, -4.3514970E-01f, -1.5859697E-01f,
     -9.2502871E-02f, -2.6084314E-02f, -4.1360199E-03f, -3.4034030E-04f,
     -1.1564890E-05f},
    -8.825f, 8, 0};

constexpr EmfRange E1{ // 0.000 to 76.373 mV, 0 to 1000 C
    {0.0000000E+00f, 1.7057035E+01f, -2.3301759E-01f, 6.5435585E-03f,
     -7.3562749E-05f, -1.7896001E-06f, 8.4036165E-08f, -1.3735879E-09f,
     1.0629823E-11f, -3.2447087E-14f},
    0.000f, 9, 0};

// J (Železo-Konstantan)
constexpr EmfRange J0{ // -8.095 to 0.000 mV, -210 to 0 C
    {0.0000000E+00f, 1.9528268E+01f, -1.2286185E+00f, -1.0752178E+00f,
     -5.9086933E-01f, -1.7256713E-01f, -2.8131513E-02f, -2.3963370E-03f,
     -8.3823321E-05f},
    -8.095f, 8, 0};

constexpr EmfRange J1{ // 0.000 to 42.919 mV, 0 to 760 C
    {0.000000E+00f, 1.978425E+01f, -2.001204E-01f, 1.036969E-02f,
     -2.549687E-04f, 3.585153E-06f, -5.344285E-08f, 5.099890E-10f},
    0.000f, 7, 0};

constexpr EmfRange J2{ // 42.919 to 69.553 mV, 760 to 1200 C
    {-3.11358187E+03f, 3.00543684E+02f, -9.94773230E+00f, 1.70276630E-01f,
     -1.43033468E-03f, 4.73886084E-06f},
    42.919f, 5, 0};

// K (Chromel-Alumel)
constexpr EmfRange K0{ // -5.891 to 0.000 mV, -200 to 0 C
    {0.0000000E+00f, 2.5173462E+01f, -1.1662878E+00f, -1.0833638E+00f,
     -8.9773540E-01f, -3.7342377E-01f, -8.6632643E-02f, -1.0450598E-02f,
     -5.1920577E-04f},
    -5.891f, 8, 0};

constexpr EmfRange K1{ // 0.000 to 20.644 mV, 0 to 500 C
    {0.000000E+00f, 2.508355E+01f, 7.860106E-02f, -2.503131E-01f,
     8.315270E-02f, -1.228034E-02f, 9.804036E-04f, -4.413030E-05f,
     1.057734E-06f, -1.052755E-08f},
    0.000f, 9, 0};

constexpr EmfRange K2{ // 20.644 to 54.886 mV, 500 to 1372 C
    {-1.318058E+02f, 4.830222E+01f, -1.646031E+00f, 5.464731E-02f,
     -9.650715E-04f, 8.802193E-06f, -3.110810E-08f},
    20.644f, 6, 0};

// L (Železo-Konstantan)
constexpr EmfRange L0{ // -8.167 to 0 mV, this system's own fit
    {0.0f, 19.039698f, -0.98360527f, -0.68486154f,
     -0.2986028f, -0.06383142f, -0.0068566925f, -0.00028548753f},
    -8.167f, 7, 0};

constexpr EmfRange L1{ // 0 to 53.147 mV, this system's own fit
    {0.0f, 19.183472f, -0.08810409f, -0.011054742f,
     0.002109253f, -0.000142574f, 5.074203e-06f, -1.0110409e-07f,
     1.0639496e-09f, -4.6016134e-12f},
    0.0f, 9, 0};

// N (Nicrosil-Nisil)
constexpr EmfRange N0{ // -3.990 to 0.000 mV, -200 to 0 C
    {0.0000000E+00f, 3.8436847E+01f, 1.1010485E+00f, 5.2229312E+00f,
     7.2060525E+00f, 5.8488586E+00f, 2.7754916E+00f, 7.7075166E-01f,
     1.1582665E-01f, 7.3138868E-03f},
    -3.990f, 9, 0};

constexpr EmfRange N1{ // 0.000 to 20.613 mV, 0 to 600 C
    {0.00000E+00f, 3.86896E+01f, -1.08267E+00f, 4.70205E-02f,
     -2.12169E-06f, -1.17272E-04f, 5.39280E-06f, -7.98156E-08f},
    0.000f, 7, 0};

constexpr EmfRange N2{ // 20.613 to 47.513 mV, 600 to 1300 C
    {1.972485E+01f, 3.300943E+01f, -3.915159E-01f, 9.855391E-03f,
     -1.274371E-04f, 7.767022E-07f},
    20.613f, 5, 0};

// R (Pt13Rh-Pt)
constexpr EmfRange R0{ // -0.226 to 1.923 mV, -50 to 250 C
    {0.0000000E+00f, 1.8891380E+02f, -9.3835290E+01f, 1.3068619E+02f,
     -2.2703580E+02f, 3.5145659E+02f, -3.8953900E+02f, 2.8239471E+02f,
     -1.2607281E+02f, 3.1353611E+01f, -3.3187769E+00f},
    -0.226f, 10, 0};

constexpr EmfRange R1{ // 1.923 to 13.228 mV, 250 to 1200 C
    {1.334584505E+01f, 1.472644573E+02f, -1.844024844E+01f, 4.031129726E+00f,
     -6.249428360E-01f, 6.468412046E-02f, -4.458750426E-03f, 1.994710149E-04f,
     -5.313401790E-06f, 6.481976217E-08f},
    1.923f, 9, 0};

constexpr EmfRange R2{ // 11.361 to 19.739 mV, 1064 to 1664.5 C
    {-8.199599416E+01f, 1.553962042E+02f, -8.342197663E+00f, 4.279433549E-01f,
     -1.191577910E-02f, 1.492290091E-04f},
    11.361f, 5, 0};

constexpr EmfRange R3{ // 19.739 to 21.103 mV, 1664.5 to 1768.1 C
    {3.406177836E+04f, -7.023729171E+03f, 5.582903813E+02f, -1.952394635E+01f,
     2.560740231E-01f},
    19.739f, 4, 0};

// S (Pt10Rh-Pt)
constexpr EmfRange S0{ // -0.235 to 1.874 mV, -50 to 250 C
    {0.00000000E+00f, 1.84949460E+02f, -8.00504062E+01f, 1.02237430E+02f,
     -1.52248592E+02f, 1.88821343E+02f, -1.59085941E+02f, 8.23027880E+01f,
     -2.34181944E+01f, 2.79786260E+00f},
    -0.235f, 9, 0};

constexpr EmfRange S1{ // 1.874 to 11.950 mV, 250 to 1200 C
    {1.291507177E+01f, 1.466298863E+02f, -1.534713402E+01f, 3.145945973E+00f,
     -4.163257839E-01f, 3.187963771E-02f, -1.291637500E-03f, 2.183475087E-05f,
     -1.447379511E-07f, 8.211272125E-09f},
    1.874f, 9, 0};

constexpr EmfRange S2{ // 10.332 to 17.536 mV, 1064 to 1664.5 C
    {-8.087801117E+01f, 1.621573104E+02f, -8.536869453E+00f, 4.719686976E-01f,
     -1.441693666E-02f, 2.081618890E-04f},
    10.332f, 5, 0};

constexpr EmfRange S3{ // 17.536 to 18.693 mV, 1664.5 to 1768.1 C
    {5.333875126E+04f, -1.235892298E+04f, 1.092657613E+03f, -4.265693686E+01f,
     6.247205420E-01f},
    17.536f, 4, 0};

// T (Měď-Konstantan)
constexpr EmfRange T0{ // -5.603 to 0.000 mV, -200 to 0 C
    {0.0000000E+00f, 2.5949192E+01f, -2.1316967E-01f, 7.9018692E-01f,
     4.2527777E-01f, 1.3304473E-01f, 2.0241446E-02f, 1.2668171E-03f},
    -5.603f, 7, 0};

constexpr EmfRange T1{ // 0.000 to 20.872 mV, 0 to 400 C
    {0.000000E+00f, 2.592800E+01f, -7.602961E-01f, 4.637791E-02f,
     -2.165394E-03f, 6.048144E-05f, -7.293422E-07f},
    0.000f, 6, 0};

// Catalog order; emfMin is the lower bound of piece 0.
constexpr ThermocoupleCurve::Data Types[] = {
    {"B (Pt30Rh-Pt6Rh)",
     {&B0, &B1, &B2, &UnusedEmfRange},
     {0.43495306f, -0.007948997f, 3.481644e-05f, 1.1790892e-08f},
     3, B0.lowerBound, 13.82f, 250, 1820},
    {"E (Chromel-Konstantan)",
     {&E0, &E1, &UnusedEmfRange, &UnusedEmfRange},
     {-9.690588f, 0.025786847f, 0.0009445403f, -2.8428283e-06f, 5.085501e-09f},
     4, E0.lowerBound, 76.373f, -200, 1000},
    {"J (Železo-Konstantan)",
     {&J0, &J1, &J2, &UnusedEmfRange},
     {-9.4239235f, 0.04977577f, 0.00054370525f, -9.902366e-07f},
     3, J0.lowerBound, 69.553f, -200, 1200},
    {"K (Chromel-Alumel)",
     {&K0, &K1, &K2, &UnusedEmfRange},
     {-6.089213f, 0.0023372888f, 0.0007711119f, -1.8560177e-06f},
     3, K0.lowerBound, 54.886f, -200, 1372},
    {"L (Železo-Konstantan)",
     {&L0, &L1, &UnusedEmfRange, &UnusedEmfRange},
     {-8.720998f, 0.013968048f, 0.0010818602f, -4.16904e-06f, 6.7457573e-09f},
     4, L0.lowerBound, 53.147f, -200, 900},
    {"N (Nicrosil-Nisil)",
     {&N0, &N1, &N2, &UnusedEmfRange},
     {-3.023981f, -0.07518711f, 0.0023490419f, -2.063431e-05f, 9.3126694e-08f, -1.6278663e-10f},
     5, N0.lowerBound, 47.513f, -200, 1300},
    {"R (Pt13Rh-Pt)",
     {&R0, &R1, &R2, &R3},
     {-0.13791329f, -0.013314389f, 0.00017259293f, -2.564537e-07f},
     3, R0.lowerBound, 21.103f, -50, 1768},
    {"S (Pt10Rh-Pt)",
     {&S0, &S1, &S2, &S3},
     {-0.25086984f, -0.011363501f, 0.00016453756f, -2.5803905e-07f},
     3, S0.lowerBound, 18.693f, -50, 1768},
    {"T (Měď-Konstantan)",
     {&T0, &T1, &UnusedEmfRange, &UnusedEmfRange},
     {-6.4871063f, 0.02947163f, 0.00036814346f, -1.4276657e-07f},
     3, T0.lowerBound, 20.872f, -200, 400},
};
// clang-format on

} // namespace

std::span<const ThermocoupleCurve::Data> ThermocoupleTypes()
{
    return Types;
}
