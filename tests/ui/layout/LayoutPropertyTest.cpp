#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "ui/layout/KLayoutClient.h"
#include "ui/layout/LayoutTestSupport.h"

// Random windows described in XML: side layouts of fixed-size controls
// docked around a client layout that holds leaves and nested panels.
namespace {

class RandomDescription {
public:
    explicit RandomDescription(unsigned seed) : m_random(seed) {}

    std::string Window() {
        std::ostringstream xml;
        xml << "<window controlspacing=\"" << Pick(0, 4) << "\">";
        Layouts(xml, 0);
        xml << "</window>";
        return xml.str();
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    void Layouts(std::ostringstream& xml, int depth) {
        static const char* const sides[] = {"left", "top", "right", "bottom"};
        for (int n = Pick(0, 3); n > 0; --n) {
            const int side = Pick(0, 3);
            xml << "<layout kind=\"" << sides[side] << "\" layoutspace=\"" << Pick(0, 3) << "\">";
            // Weights only along the side: across it a side is as thick as its
            // thickest control.
            const char* along = side % 2 == 0 ? "layoutratioy" : "layoutratiox";
            for (int c = Pick(1, 3); c > 0; --c) Leaf(xml, along);
            xml << "</layout>";
        }
        const bool vertical = Pick(0, 1) == 1;
        xml << "<layout kind=\"" << (vertical ? "vertical" : "horizontal") << "\" layoutspace=\"" << Pick(0, 3) << "\">";
        for (int c = Pick(1, 4); c > 0; --c) {
            if (depth < 2 && Pick(0, 3) == 0) {
                xml << "<control name=\"panel" << m_count++ << "\" layoutratiox=\"1\" layoutratioy=\"1\" space=\""
                    << Pick(0, 2) << "\">";
                Layouts(xml, depth + 1);
                xml << "</control>";
            } else {
                Leaf(xml, vertical ? "layoutratioy" : "layoutratiox");
            }
        }
        xml << "</layout>";
    }

    // Sizes start at 1: a side whose controls are all 0 thick places nothing.
    void Leaf(std::ostringstream& xml, const char* weight) {
        xml << "<control name=\"c" << m_count++ << "\" sizex=\"" << Pick(1, 40) << "\" sizey=\"" << Pick(1, 40)
            << "\" layoutborderx=\"" << Pick(0, 3) << "\" layoutbordery=\"" << Pick(0, 3) << "\" layoutplacement=\""
            << Pick(0, 15) << "\" space=\"" << Pick(0, 3) << "\" " << weight << "=\"" << Pick(0, 3) << "\"/>";
    }

    std::mt19937 m_random;
    int m_count = 0;
};

void ExpectInsideParent(const KLayoutControl& parent, const std::string& seed) {
    for (int i = 0; i < parent.ChildCount(); ++i) {
        const KLayoutControl& child = parent.Child(i);
        const KLayoutRect r = child.Rect();
        const std::string where = seed + " " + child.Name().ToUTF8();
        EXPECT_GE(r.left, 0) << where;
        EXPECT_GE(r.top, 0) << where;
        EXPECT_LE(r.right, parent.Size(KAxis::Horizontal) - 1) << where;
        EXPECT_LE(r.bottom, parent.Size(KAxis::Vertical) - 1) << where;
        ExpectInsideParent(child, seed);
    }
}

void ExpectAtLeastMinimal(const KLayoutControl& parent, const std::string& seed) {
    for (int i = 0; i < parent.ChildCount(); ++i) {
        const KLayoutControl& child = parent.Child(i);
        for (KAxis axis : {KAxis::Horizontal, KAxis::Vertical})
            EXPECT_GE(child.Size(axis), child.MinimalSize(axis)) << seed << " " << child.Name().ToUTF8();
        ExpectAtLeastMinimal(child, seed);
    }
}

// Weighted controls of a client layout split its free space in proportion
// to their weights: none falls a pixel or more short of its exact share
// (later ones take up what rounding left, at most a pixel per control).
void ExpectProportionalShares(const KLayoutControl& control, const std::string& seed) {
    for (int l = 0; l < control.LayoutCount(); ++l) {
        const auto* client = dynamic_cast<const KLayoutClient*>(&control.Layout(l));
        if (!client) continue;
        const KLayout& layout = *client;
        const KAxis axis = client->Axis();
        long sum = 0, ratios = 0, weighted = 0;
        for (int i = 0; i < layout.ControlCount(); ++i) {
            const KLayoutControl& c = layout.Control(i);
            if (c.Ratio(axis) == 0) continue;
            sum += c.Size(axis) + 2 * c.Border(axis);
            ratios += c.Ratio(axis);
            ++weighted;
        }
        for (int i = 0; i < layout.ControlCount() && ratios > 0; ++i) {
            const KLayoutControl& c = layout.Control(i);
            if (c.Ratio(axis) == 0) continue;
            // In units of 1 / ratios pixels: the cell against its exact share.
            const long deviation = (c.Size(axis) + 2 * c.Border(axis)) * ratios - c.Ratio(axis) * sum;
            EXPECT_GT(deviation, -ratios) << seed << " " << c.Name().ToUTF8();
            EXPECT_LT(deviation, weighted * ratios) << seed << " " << c.Name().ToUTF8();
        }
    }
    for (int i = 0; i < control.ChildCount(); ++i) ExpectProportionalShares(control.Child(i), seed);
}

TEST(LayoutProperties, RandomWindowsAtAndAboveTheirMinimalSize) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        const std::string xml = RandomDescription(seed).Window();
        auto window = WindowFromXml(xml);
        int width = 0, height = 0;
        window->ComputeMinimalClientSize(width, height);
        const std::string label = "seed " + std::to_string(seed);
        for (int extra : {0, int(seed % 37), int(seed % 101)}) {
            window->Resize(width + extra, height + (extra * 7) % 53);
            window->Arrange();
            ExpectInsideParent(*window, label);
            ExpectProportionalShares(*window, label);
            if (extra == 0) ExpectAtLeastMinimal(*window, label);
            if (testing::Test::HasFailure()) {
                ADD_FAILURE() << xml;
                return;
            }
        }
    }
}

}  // namespace
