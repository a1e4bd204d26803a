#include "inputs/ThermocoupleCatalog.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Piece {
    float lowerBound;
    int degree;
};

struct TypeExpectation {
    std::string name;
    int tmin, tmax;
    std::uint32_t emfMaxBits;
    std::vector<Piece> pieces;
    std::vector<std::uint32_t> cjBits; // c0..c<cjDegree>
};

// Catalog order.
// clang-format off
const std::vector<TypeExpectation> ExpectedTypes = {
    {"B (Pt30Rh-Pt6Rh)", 250, 1820, 0x415D1EB8, {{0.002f, 9}, {0.291f, 8}, {2.431f, 8}},
     {0x3EDEB22B, 0xBC023C83, 0x381207DE, 0x324A90E4}},
    {"E (Chromel-Konstantan)", -200, 1000, 0x4298BEFA, {{-8.825f, 8}, {0.0f, 9}},
     {0xC11B0CA6, 0x3CD33EF0, 0x3A779B07, 0xB63EC76B, 0x31AEBC8A}},
    {"J (Železo-Konstantan)", -200, 1200, 0x428B1B23, {{-8.095f, 8}, {0.0f, 7}, {42.919f, 5}},
     {0xC116C864, 0x3D4BE1AE, 0x3A0E8771, 0xB584E845}},
    {"K (Chromel-Alumel)", -200, 1372, 0x425B8B44, {{-5.891f, 8}, {0.0f, 9}, {20.644f, 6}},
     {0xC0C2DAD5, 0x3B192D33, 0x3A4A2472, 0xB5F91C48}},
    {"L (Železo-Konstantan)", -200, 900, 0x42549687, {{-8.167f, 7}, {0.0f, 9}},
     {0xC10B8935, 0x3C64DA3D, 0x3A8DCD34, 0xB68BE3C8, 0x31E7C84F}},
    {"N (Nicrosil-Nisil)", -200, 1300, 0x423E0D50, {{-3.99f, 9}, {0.0f, 7}, {20.613f, 5}},
     {0xC04188E8, 0xBD99FBB3, 0x3B19F262, 0xB7AD17D8, 0x33C7FCF1, 0xAF32FC5D}},
    {"R (Pt13Rh-Pt)", -50, 1768, 0x41A8D2F2, {{-0.226f, 10}, {1.923f, 9}, {11.361f, 5}, {19.739f, 4}},
     {0xBE0D3924, 0xBC5A2498, 0x3934FA10, 0xB489AEBA}},
    {"S (Pt10Rh-Pt)", -50, 1768, 0x41958B44, {{-0.235f, 9}, {1.874f, 9}, {10.332f, 5}, {17.536f, 4}},
     {0xBE807203, 0xBC3A2DFA, 0x392C87B7, 0xB48A889E}},
    {"T (Měď-Konstantan)", -200, 400, 0x41A6F9DB, {{-5.603f, 7}, {0.0f, 6}},
     {0xC0CF9660, 0x3CF16E7D, 0x39C10361, 0xB4194B60}},
};
// clang-format on

enum Type { B, E, J, K, L, N, R, S, T };

std::uint32_t Bits(float f)
{
    return std::bit_cast<std::uint32_t>(f);
}

// The piece a converter applies: the last used one that begins at or below emf.
double TemperatureAt(const ThermocoupleCurve& curve, double emf)
{
    const EmfRange* piece = &curve.range(0);
    for (int i = 1; i < curve.pieceCount(); ++i)
        if (curve.range(i).lowerBound <= emf)
            piece = &curve.range(i);
    return piece->temperatureAt(emf);
}

double ColdJunctionEmf(const ThermocoupleCurve& curve, double ohms)
{
    double e = 0.0;
    for (auto c = curve.cjPolynomial().rbegin(); c != curve.cjPolynomial().rend(); ++c)
        e = e * ohms + *c;
    return e;
}

} // namespace

TEST(ThermocoupleCatalog, HoldsTheNineTypesInOrderWithTheirPieces)
{
    ThermocoupleCatalog catalog;
    EXPECT_EQ(catalog.Capacity(), 12);
    EXPECT_EQ(catalog.GrowBy(), 0);
    ASSERT_EQ(catalog.Count(), static_cast<int>(ExpectedTypes.size()));
    for (int i = 0; i < catalog.Count(); ++i) {
        const TypeExpectation& want = ExpectedTypes[static_cast<std::size_t>(i)];
        const ThermocoupleCurve& curve = *catalog.At(i);
        SCOPED_TRACE(want.name);
        EXPECT_EQ(curve.name(), want.name);
        EXPECT_EQ(curve.tmin(), want.tmin);
        EXPECT_EQ(curve.tmax(), want.tmax);
        EXPECT_EQ(Bits(curve.emfMax()), want.emfMaxBits);
        EXPECT_EQ(Bits(curve.emfMin()), Bits(curve.range(0).lowerBound));
        ASSERT_EQ(curve.pieceCount(), static_cast<int>(want.pieces.size()));
        for (int p = 0; p < ThermocoupleCurve::PieceSlots; ++p) {
            const EmfRange& piece = curve.range(p);
            EXPECT_EQ(piece.reserved, 0);
            if (p >= curve.pieceCount()) {
                EXPECT_EQ(&piece, &UnusedEmfRange) << "slot " << p;
                continue;
            }
            EXPECT_EQ(Bits(piece.lowerBound), Bits(want.pieces[static_cast<std::size_t>(p)].lowerBound));
            EXPECT_EQ(piece.degree, want.pieces[static_cast<std::size_t>(p)].degree);
            for (std::size_t k = static_cast<std::size_t>(piece.degree) + 1; k < piece.d.size(); ++k)
                EXPECT_EQ(Bits(piece.d[k]), 0u) << "slot " << p << " d" << k;
            EXPECT_NE(piece.d[static_cast<std::size_t>(piece.degree)], 0.0f) << "slot " << p;
        }
    }
    EXPECT_EQ(catalog.At(ThermocoupleCatalog::DefaultIndex)->name(), ExpectedTypes[J].name);
    EXPECT_EQ(&catalog.At(0)->range(-1), &UnusedEmfRange);
    EXPECT_EQ(&catalog.At(R)->range(4), &UnusedEmfRange);
}

TEST(ThermocoupleCatalog, ColdJunctionPolynomialsHaveTheirExactBitPatterns)
{
    ThermocoupleCatalog catalog;
    for (int i = 0; i < catalog.Count(); ++i) {
        const TypeExpectation& want = ExpectedTypes[static_cast<std::size_t>(i)];
        const ThermocoupleCurve& curve = *catalog.At(i);
        SCOPED_TRACE(want.name);
        EXPECT_EQ(curve.cjDegree(), want.cjBits.size() - 1);
        EXPECT_EQ(curve.curveDegree(), curve.cjDegree());
        EXPECT_EQ(&curve.curveCoefficients(), &curve.cjPolynomial());
        for (std::size_t k = 0; k < curve.cjPolynomial().size(); ++k) {
            const std::uint32_t expected = k < want.cjBits.size() ? want.cjBits[k] : 0u;
            EXPECT_EQ(Bits(curve.cjPolynomial()[k]), expected) << "c" << k;
        }
    }
}

TEST(ThermocoupleCatalog, OwnPiecesHaveTheirExactBitPatterns)
{
    ThermocoupleCatalog catalog;
    struct OwnPiece {
        Type type;
        int slot;
        std::vector<std::uint32_t> bits;
    };
    // clang-format off
    const OwnPiece own[] = {
        {B, 0, {0x423124E8, 0x45309609, 0xC76CD817, 0x498D5126, 0xCB5AE516, 0x4CD70F5F, 0xCE04D7D6,
                0x4EC7888F, 0xCF26362C, 0x4EEB5170}},
        {L, 0, {0, 0x4198514D, 0xBF7BCD8E, 0xBF2F5316, 0xBE98E277, 0xBD82BA0C, 0xBBE0AE1B, 0xB995AD7D}},
        {L, 1, {0, 0x419977C0, 0xBDB46FEB, 0xBC351EF3, 0x3B0A3B65, 0xB9157FEB, 0x36AA4312, 0xB3D91E90,
                0x30923A66, 0xACA1E7A6}},
    };
    // clang-format on
    for (const OwnPiece& p : own) {
        const EmfRange& piece = catalog.At(p.type)->range(p.slot);
        SCOPED_TRACE(ExpectedTypes[p.type].name + " piece " + std::to_string(p.slot));
        for (std::size_t k = 0; k < piece.d.size(); ++k)
            EXPECT_EQ(Bits(piece.d[k]), k < p.bits.size() ? p.bits[k] : 0u) << "d" << k;
    }
}

// The reference pieces as the converter receives them: an FNV-1a hash of the
// wire image, computed from the published decimals each rounded to nearest
// float. A typo too small for the physics checks still changes the hash.
TEST(ThermocoupleCatalog, ReferencePiecesAreTheRoundedPublishedCoefficients)
{
    ThermocoupleCatalog catalog;
    struct Fingerprint {
        Type type;
        int slot;
        std::uint32_t fnv1a;
    };
    const Fingerprint fingerprints[] = {
        {B, 1, 0x60B7F15F}, {B, 2, 0xE6D90B54}, {E, 0, 0x4DBA3C4C}, {E, 1, 0x27D05269}, {J, 0, 0xF96C0639},
        {J, 1, 0xC01318BA}, {J, 2, 0x6A8B2C79}, {K, 0, 0x8FE0FBCC}, {K, 1, 0xD90EE102}, {K, 2, 0x55131812},
        {N, 0, 0xAB1FD18C}, {N, 1, 0xA6C44B7E}, {N, 2, 0xE325D009}, {R, 0, 0x7441AC69}, {R, 1, 0xDAA1F1FA},
        {R, 2, 0xE48E8F4A}, {R, 3, 0x58D560A8}, {S, 0, 0xEBBBEAC9}, {S, 1, 0xDF31532E}, {S, 2, 0x0A4B55BB},
        {S, 3, 0x5B49E39F}, {T, 0, 0x31A8A06D}, {T, 1, 0xD86DD225},
    };
    for (const Fingerprint& f : fingerprints) {
        std::uint32_t hash = 0x811C9DC5;
        for (std::uint8_t byte : catalog.At(f.type)->range(f.slot).wireImage())
            hash = (hash ^ byte) * 0x01000193;
        EXPECT_EQ(hash, f.fnv1a) << ExpectedTypes[f.type].name << " piece " << f.slot;
    }
}

TEST(ThermocoupleCatalog, WireImageIsCoefficientsLowerBoundAndDegreeLittleEndian)
{
    ThermocoupleCatalog catalog;
    const EmfRange& b0 = catalog.At(B)->range(0);
    const EmfRange::WireImage image = b0.wireImage();
    EXPECT_EQ(image.size(), 57u);
    for (std::size_t k = 0; k < 13; ++k) {
        const std::uint32_t bits = Bits(b0.d[k]);
        for (std::size_t byte = 0; byte < 4; ++byte)
            EXPECT_EQ(image[4 * k + byte], static_cast<std::uint8_t>(bits >> (8 * byte))) << "d" << k;
    }
    EXPECT_EQ(image[0], 0xE8); // 44.28604 = 423124E8
    EXPECT_EQ(image[3], 0x42);
    const std::uint32_t bound = Bits(0.002f);
    EXPECT_EQ(image[52], static_cast<std::uint8_t>(bound));
    EXPECT_EQ(image[55], static_cast<std::uint8_t>(bound >> 24));
    EXPECT_EQ(image[56], 9);

    EXPECT_EQ(catalog.At(R)->range(0).wireImage()[56], 10);
    EXPECT_EQ(UnusedEmfRange.wireImage(), EmfRange::WireImage{});
}

TEST(ThermocoupleCatalog, PiecesJoinWithoutAJump)
{
    ThermocoupleCatalog catalog;
    for (int i = 0; i < catalog.Count(); ++i) {
        const ThermocoupleCurve& curve = *catalog.At(i);
        SCOPED_TRACE(curve.name());
        for (int p = 1; p < curve.pieceCount(); ++p) {
            const double joint = curve.range(p).lowerBound;
            EXPECT_NEAR(curve.range(p - 1).temperatureAt(joint), curve.range(p).temperatureAt(joint), 0.1)
                << "at " << joint << " mV";
        }
        // Pieces rise in EMF and cover the range up to emfMax.
        for (int p = 1; p < curve.pieceCount(); ++p)
            EXPECT_LT(curve.range(p - 1).lowerBound, curve.range(p).lowerBound);
        EXPECT_LT(curve.range(curve.pieceCount() - 1).lowerBound, curve.emfMax());
    }
}

TEST(ThermocoupleCatalog, PiecesGiveTheReferenceTemperatures)
{
    ThermocoupleCatalog catalog;
    struct Reference {
        Type type;
        double mV;
        double celsius;
        double tolerance; // the reference EMF is rounded, the pieces are floats
    };
    const Reference references[] = {
        {B, 0.291, 250, 0.1},    {B, 0.178, 200, 0.3},     {B, 2.431, 700, 0.1},
        {B, 4.834, 1000, 0.1},   {B, 13.820, 1820, 0.1},   {E, -8.825, -200, 0.1},
        {E, 6.319, 100, 0.1},    {E, 37.005, 500, 0.1},    {E, 76.373, 1000, 0.1},
        {J, -8.095, -210, 0.1},  {J, 5.269, 100, 0.1},     {J, 42.919, 760, 0.1},
        {J, 69.553, 1200, 0.1},  {K, -5.891, -200, 0.1},   {K, 4.096, 100, 0.1},
        {K, 20.644, 500, 0.1},   {K, 41.276, 1000, 0.1},   {K, 54.886, 1372, 0.1},
        {L, -8.167, -200, 0.15}, {L, 5.37, 100, 0.15},     {L, 46.22, 800, 0.15},
        {L, 53.147, 900, 0.15},  {N, -3.990, -200, 0.1},   {N, 2.774, 100, 0.1},
        {N, 20.613, 600, 0.1},   {N, 36.256, 1000, 0.1},   {N, 47.513, 1300, 0.1},
        {R, -0.226, -50, 0.2},   {R, 0.647, 100, 0.1},     {R, 1.923, 250, 0.1},
        {R, 11.361, 1064, 0.1},  {R, 19.739, 1664.5, 0.1}, {R, 21.103, 1768.1, 0.2},
        {S, -0.235, -50, 0.2},   {S, 0.646, 100, 0.1},     {S, 1.874, 250, 0.1},
        {S, 10.332, 1064, 0.1},  {S, 17.536, 1664.5, 0.1}, {S, 18.693, 1768.1, 0.2},
        {T, -5.603, -200, 0.1},  {T, 4.279, 100, 0.1},     {T, 20.872, 400, 0.1},
    };
    for (const Reference& r : references)
        EXPECT_NEAR(TemperatureAt(*catalog.At(r.type), r.mV), r.celsius, r.tolerance)
            << ExpectedTypes[r.type].name << " at " << r.mV << " mV";
}

TEST(ThermocoupleCatalog, ColdJunctionIsZeroAtZeroDegrees)
{
    ThermocoupleCatalog catalog;
    for (int i = 0; i < catalog.Count(); ++i)
        EXPECT_NEAR(ColdJunctionEmf(*catalog.At(i), 100.0), 0.0, 0.002) << catalog.At(i)->name();
    // Type K at 25 degrees C of the compensating Pt 100.
    EXPECT_NEAR(ColdJunctionEmf(*catalog.At(K), 109.73), 1.000, 0.002);
}
