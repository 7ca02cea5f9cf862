#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "ui/framework/core/Properties.h"

namespace {

// Stands in for a control: drawn attributes with the compare, store, render,
// Changed pattern, a plain counter and a read-only view.
class FakeOwner {
public:
    property_bst_override<int> Width{[this] { return m_width; },
                                     [this](const int& v) {
                                         ++m_widthSets;
                                         UpdateDrawnValue(m_width, v, [this] { Render(); }, Width, this);
                                     }};
    property_bst_override<float> Opacity{
        [this] { return m_opacity; },
        [this](const float& v) { UpdateDrawnValue(m_opacity, v, [this] { Render(); }, Opacity, this); }};
    property_bst_override<std::wstring> FontFamily{
        [this] { return m_family; },
        [this](const std::wstring& v) { UpdateDrawnValue(m_family, v, [this] { Render(); }, FontFamily, this); }};
    property_bs_readonly_override<int> IsMouseOver{[this] { return m_hover; }};

    void Render() { log.push_back("render " + std::to_string(m_width)); }
    void Hover(int value)
    {
        m_hover = value;
        IsMouseOver.RaiseChanged(this);
    }

    std::vector<std::string> log;
    int m_widthSets = 0;

private:
    int m_width = 0;
    float m_opacity = 1.0f;
    std::wstring m_family = L"Arial";
    int m_hover = 0;
};

}  // namespace

TEST(Properties, DrawnSetterStoresRendersThenRaisesChanged)
{
    FakeOwner owner;
    void* sender = nullptr;
    owner.Width.Changed.Subscribe([&](void* s, PropertyChangedArgs) {
        sender = s;
        owner.log.push_back("changed " + std::to_string(owner.Width.Get()));
    });
    owner.Width = 40;
    EXPECT_EQ(owner.Width.Get(), 40);
    EXPECT_EQ(sender, &owner);
    EXPECT_EQ(owner.log, (std::vector<std::string>{"render 40", "changed 40"}));

    // The same value again: the setter is called but stores, renders and raises nothing.
    owner.log.clear();
    owner.Width = 40;
    EXPECT_EQ(owner.m_widthSets, 2);
    EXPECT_TRUE(owner.log.empty());
}

TEST(Properties, FloatComparisonCountsNaNAsDifferent)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct {
        float stored, written;
        bool changes;
    } cases[] = {{1.0f, 1.0f, false}, {1.0f, 0.5f, true}, {0.0f, -0.0f, false}, {nan, nan, true}, {1.0f, nan, true},
                 {nan, 1.0f, true}};
    for (const auto& c : cases) {
        FakeOwner owner;
        owner.Opacity = c.stored;
        int changed = 0;
        owner.Opacity.Changed.Subscribe([&](void*, PropertyChangedArgs) { ++changed; });
        owner.Opacity = c.written;
        EXPECT_EQ(changed, c.changes ? 1 : 0) << c.stored << " -> " << c.written;
    }
}

TEST(Properties, StringsCompareByContent)
{
    FakeOwner owner;
    int changed = 0;
    owner.FontFamily.Changed.Subscribe([&](void*, PropertyChangedArgs) { ++changed; });
    std::wstring same = L"Arial";
    owner.FontFamily = same;
    EXPECT_EQ(changed, 0);
    owner.FontFamily = L"Segoe UI";
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(owner.FontFamily.Get(), L"Segoe UI");
}

TEST(Properties, ReadOnlyPropertyReadsThroughGetterAndOwnerRaisesChanged)
{
    FakeOwner owner;
    std::vector<int> seen;
    owner.IsMouseOver.Changed.Subscribe([&](void*, PropertyChangedArgs) { seen.push_back(owner.IsMouseOver); });
    EXPECT_EQ(static_cast<int>(owner.IsMouseOver), 0);
    owner.Hover(1);
    owner.Hover(0);
    EXPECT_EQ(seen, (std::vector<int>{1, 0}));
}

TEST(Properties, AssigningOnePropertyToAnotherWritesThroughTheTarget)
{
    FakeOwner a, b;
    b.Width = 25;
    a.Width = b.Width;
    EXPECT_EQ(a.Width.Get(), 25);
    // a keeps its own getter and setter: writing it again leaves b alone.
    a.Width = 60;
    EXPECT_EQ(a.Width.Get(), 60);
    EXPECT_EQ(b.Width.Get(), 25);
}

TEST(Properties, ReadAndWriteThroughTheAbstractBases)
{
    FakeOwner owner;
    property_writeable<int>& w = owner.Width;
    const property_readable<int>& r = owner.Width;
    w.Set(9);
    EXPECT_EQ(r.Get(), 9);
}

TEST(Properties, EmptyGetterThrows)
{
    property_override_readonly<int> noGetter{nullptr};
    EXPECT_THROW(noGetter.Get(), std::bad_function_call);
}

TEST(Properties, ChangedStartsEnabledAndOwnerMaySilenceIt)
{
    FakeOwner owner;
    int changed = 0;
    owner.Width.Changed.Subscribe([&](void*, PropertyChangedArgs) { ++changed; });
    EXPECT_TRUE(owner.Width.Changed.IsEnabled());
    owner.Width.Changed.SetEnabled(false);
    owner.Width = 3;
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(owner.Width.Get(), 3);
}
