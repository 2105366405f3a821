// The source pixels a COLORONCOLOR stretch takes, as measured from the platform's StretchDIBits
// (shrinking, enlarging, odd ratios, both axes): the tile sampler's rule must give the same.
#include "bitmap/stretch_rule.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace kineloop {
namespace {

struct Measured {
    int32_t source, stretched;
    std::vector<int32_t> across;  // the first pixels of the stretched line, left to right
    std::vector<int32_t> down;    // top to bottom
};

TEST(StretchSource, TakesThePixelsThePlatformTakes) {
    const Measured cases[] = {
        {1, 1, {0}, {0}},
        {4, 4, {0, 1, 2, 3}, {0, 1, 2, 3}},
        {1, 3, {0, 0, 0}, {0, 0, 0}},
        {2, 3, {0, 0, 1}, {0, 0, 1}},
        {3, 5, {0, 0, 1, 2, 2}, {0, 0, 1, 2, 2}},
        {3, 7, {0, 0, 1, 1, 1, 2, 2}, {0, 0, 1, 1, 1, 2, 2}},
        {5, 7, {0, 1, 1, 2, 3, 3, 4}, {0, 1, 1, 2, 3, 3, 4}},
        {10, 17, {0, 0, 1, 2, 2, 3, 3, 4}, {0, 0, 1, 2, 2, 3, 3, 4}},
        {2, 1, {1}, {0}},
        {3, 2, {1, 2}, {0, 2}},
        {5, 3, {1, 2, 4}, {0, 2, 3}},
        {7, 5, {0, 2, 3, 5, 6}, {0, 1, 3, 4, 6}},
        {10, 7, {0, 2, 3, 5, 6, 8, 9}, {0, 1, 3, 4, 6, 7, 9}},
        {17, 10, {1, 2, 4, 6, 8, 9, 11, 13}, {0, 2, 3, 5, 7, 9, 10, 12}},
        {1080, 240, {4, 8, 13, 17, 22, 26, 31, 35}, {0, 5, 9, 14, 18, 23, 27, 32}},
        {1920, 320, {5, 11, 17, 23, 29, 35, 41, 47}, {0, 6, 12, 18, 24, 30, 36, 42}},
    };
    for (const Measured& c : cases) {
        const std::string what = std::to_string(c.source) + " to " + std::to_string(c.stretched);
        for (size_t i = 0; i < c.across.size(); ++i)
            EXPECT_EQ(
                StretchSource(c.source, c.stretched, static_cast<int32_t>(i), StretchAxis::Across),
                c.across[i])
                << what << " across, pixel " << i;
        for (size_t i = 0; i < c.down.size(); ++i)
            EXPECT_EQ(
                StretchSource(c.source, c.stretched, static_cast<int32_t>(i), StretchAxis::Down),
                c.down[i])
                << what << " down, pixel " << i;
    }
}

// The last pixels, where a rule that drifts would leave the picture.
TEST(StretchSource, EndsAtThePlatformsLastPixel) {
    const Measured cases[] = {
        {241, 240, {237, 238, 239, 240}, {237, 238, 239, 240}},
        {240, 241, {236, 237, 238, 239}, {236, 237, 238, 239}},
        {1080, 240, {1066, 1070, 1075, 1079}, {1062, 1067, 1071, 1076}},
        {1920, 320, {1901, 1907, 1913, 1919}, {1896, 1902, 1908, 1914}},
    };
    for (const Measured& c : cases) {
        const int32_t first = c.stretched - static_cast<int32_t>(c.across.size());
        for (size_t i = 0; i < c.across.size(); ++i) {
            const int32_t index = first + static_cast<int32_t>(i);
            EXPECT_EQ(StretchSource(c.source, c.stretched, index, StretchAxis::Across), c.across[i])
                << c.source << " to " << c.stretched << " across, pixel " << index;
            EXPECT_EQ(StretchSource(c.source, c.stretched, index, StretchAxis::Down), c.down[i])
                << c.source << " to " << c.stretched << " down, pixel " << index;
        }
    }
}

}  // namespace
}  // namespace kineloop
