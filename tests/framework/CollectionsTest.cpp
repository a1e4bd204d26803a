#include "framework/OwningCollection.h"
#include "framework/StringCollection.h"

#include "RuntimeErrorExpect.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// Counts live instances, so that tests see what a collection destroyed.
struct Tracked : BaseObject {
    explicit Tracked(int v = 0) : value(v) { ++alive; }
    ~Tracked() override { --alive; }
    int value;
    static inline int alive = 0;
};

using Tracks = OwningCollection<Tracked>;

void Fill(Tracks& c, int n)
{
    for (int i = 0; i < n; ++i)
        c.Append(std::make_unique<Tracked>(i));
}

std::vector<std::string> Strings(const StringCollection& c)
{
    std::vector<std::string> out;
    c.ForEach([&](void* s) { out.emplace_back(static_cast<const char*>(s)); });
    return out;
}

} // namespace

TEST(ObjectCollection, GrowsLinearlyByGrowBy)
{
    Tracks c(10, 5);
    Fill(c, 10);
    EXPECT_EQ(c.Capacity(), 10);
    c.Append(std::make_unique<Tracked>(10));
    EXPECT_EQ(c.Capacity(), 15);
    Fill(c, 5);
    EXPECT_EQ(c.Capacity(), 20);
    EXPECT_EQ(c.Count(), 16);
}

TEST(ObjectCollection, SetCapacityClampsToCountAndMaximum)
{
    Tracks c(4, 0);
    Fill(c, 3);
    c.SetCapacity(0);
    EXPECT_EQ(c.Capacity(), 3);
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.At(2)->value, 2);
    c.SetCapacity(100000);
    EXPECT_EQ(c.Capacity(), ObjectCollection::MaxItems);
    Tracks empty(0, 0);
    EXPECT_EQ(empty.Capacity(), 0);
    empty.SetCapacity(0);
    EXPECT_EQ(empty.Capacity(), 0);
}

TEST(ObjectCollection, InsertAtKeepsOrderAndIndexOfUsesIdentity)
{
    Tracks c(2, 2);
    Tracked* a = c.Append(std::make_unique<Tracked>(1));
    Tracked* b = c.Append(std::make_unique<Tracked>(3));
    auto middle = std::make_unique<Tracked>(2);
    Tracked* m = middle.get();
    c.InsertAt(1, static_cast<BaseObject*>(middle.release()));
    auto first = std::make_unique<Tracked>(0);
    c.InsertAt(0, static_cast<BaseObject*>(first.release()));
    ASSERT_EQ(c.Count(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.At(i)->value, i);
    EXPECT_EQ(c.IndexOf(static_cast<BaseObject*>(m)), 2);
    EXPECT_EQ(c.IndexOf(static_cast<BaseObject*>(a)), 1);
    EXPECT_EQ(c.IndexOf(static_cast<BaseObject*>(b)), 3);
    Tracked stranger(1);
    EXPECT_EQ(c.IndexOf(static_cast<BaseObject*>(&stranger)), -1);
}

TEST(ObjectCollection, OwnsItsEntries)
{
    const int before = Tracked::alive;
    {
        auto c = std::make_unique<Tracks>(3, 1);
        Fill(*c, 5);
        EXPECT_EQ(Tracked::alive, before + 5);
        const int capacity = c->Capacity();
        c->DestroyAll();
        EXPECT_EQ(Tracked::alive, before);
        EXPECT_EQ(c->Count(), 0);
        EXPECT_EQ(c->Capacity(), capacity);
        Fill(*c, 2);
        EXPECT_EQ(c->Capacity(), capacity);
    }
    EXPECT_EQ(Tracked::alive, before);
}

TEST(ObjectCollection, ForEachVisitsInOrder)
{
    Tracks c(5, 0);
    Fill(c, 5);
    std::vector<int> seen;
    c.ForEach([&](void* p) { seen.push_back(static_cast<Tracked*>(static_cast<BaseObject*>(p))->value); });
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
}

using CollectionDeathTest = ::testing::Test;

TEST_F(CollectionDeathTest, IndexOutOfRangeStopsWith213)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Tracks c(2, 0);
    Fill(c, 1);
    EXPECT_RUNERROR(c.ItemAt(1), 213);
    EXPECT_RUNERROR(c.ItemAt(-1), 213);
    EXPECT_RUNERROR(c.InsertAt(2, nullptr), 213);
    EXPECT_RUNERROR(c.InsertAt(-1, nullptr), 213);
}

TEST_F(CollectionDeathTest, FullCollectionStopsWith214)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Tracks fixed(2, 0);
    Fill(fixed, 2);
    EXPECT_RUNERROR(fixed.Append(std::make_unique<Tracked>()), 214);

    Tracks big(10, 5);
    Fill(big, ObjectCollection::MaxItems);
    EXPECT_EQ(big.Capacity(), ObjectCollection::MaxItems);
    EXPECT_RUNERROR(big.Append(std::make_unique<Tracked>()), 214);
}

TEST(StringCollection, KeepsByteOrderWithoutDuplicates)
{
    StringCollection c(4, 2);
    for (const char* s : {"beta", "alpha",
                          "\xe8"
                          "ar",
                          "Alpha", "alpha", "al"})
        c.AddString(s);
    EXPECT_EQ(Strings(c), (std::vector<std::string>{"Alpha", "al", "alpha", "beta",
                                                    "\xe8"
                                                    "ar"}));
    EXPECT_FALSE(c.AddString("beta"));
    EXPECT_EQ(c.Count(), 5);
}

TEST(StringCollection, IndexOfFindsAnEqualCopy)
{
    StringCollection c(4, 0);
    c.AddString("COM1");
    c.AddString("COM3");
    const std::string copy = "COM3";
    EXPECT_EQ(c.IndexOf(copy.c_str()), 1);
    EXPECT_EQ(c.IndexOfString("COM2"), -1);
    int at = -1;
    EXPECT_FALSE(c.Search("COM2", at));
    EXPECT_EQ(at, 1);
    EXPECT_TRUE(c.Search("COM1", at));
    EXPECT_EQ(at, 0);
}

TEST(StringCollection, RefusedItemStaysWithCaller)
{
    StringCollection c(2, 0);
    c.AddString("x");
    char own[] = "x";
    EXPECT_FALSE(c.Add(own));
    EXPECT_EQ(c.Count(), 1);
    EXPECT_STREQ(own, "x"); // untouched: the collection did not release it
}

namespace {

// Sorted by the tracked value; allows equal keys, as a derived type may.
struct ByValue : SortedCollection {
    explicit ByValue(bool duplicates) : SortedCollection(8, 8) { allowDuplicates = duplicates; }
    ~ByValue() override { DestroyAll(); }
    int Compare(const void* a, const void* b) const override
    {
        return static_cast<const Tracked*>(a)->value - static_cast<const Tracked*>(b)->value;
    }
    // Entries here are Tracked pointers directly.
    void DestroyItem(void* item) override { delete static_cast<Tracked*>(item); }
};

} // namespace

TEST(SortedCollection, DuplicatesGoAfterTheirEqualsAndIndexOfFindsTheObject)
{
    ByValue c(true);
    auto* a = new Tracked(5);
    auto* b = new Tracked(5);
    auto* low = new Tracked(1);
    EXPECT_TRUE(c.Add(a));
    EXPECT_TRUE(c.Add(b));
    EXPECT_TRUE(c.Add(low));
    EXPECT_EQ(c.ItemAt(0), low);
    EXPECT_EQ(c.IndexOf(a) + c.IndexOf(b), 1 + 2);
    EXPECT_NE(c.IndexOf(a), c.IndexOf(b));
    Tracked other(5);
    EXPECT_EQ(c.IndexOf(&other), -1);
    int at = -1;
    EXPECT_TRUE(c.Search(&other, at));
    EXPECT_EQ(at, 1); // the first of the equal entries
}

TEST(SortedCollection, WithoutDuplicatesAnEqualKeyCounts)
{
    ByValue c(false);
    auto kept = std::make_unique<Tracked>(2);
    ASSERT_TRUE(c.Add(kept.get()));
    Tracked* stored = kept.release();
    auto refused = std::make_unique<Tracked>(2);
    EXPECT_FALSE(c.Add(refused.get()));
    EXPECT_EQ(c.IndexOf(refused.get()), 0);
    EXPECT_EQ(c.ItemAt(0), stored);
}
