// Tests of the symmetries the pattern table is reduced by and of the three axes the search
// looks a cube up along: each must map face turns onto face turns and respect products.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "optimal_testing.h"
#include "solver/optimal/symmetry.h"

namespace cw::optimal {
namespace {

using core::kMoveCount;
using core::moveCube;
using core::moveFace;
using core::multiply;
using testing::played;
using testing::randomMoves;

// The move whose effect is `cube`, or -1.
int moveMatching(const CubieCube& cube) {
    for (int m = 0; m < kMoveCount; ++m) {
        if (moveCube(m) == cube) {
            return m;
        }
    }
    return -1;
}

TEST(Symmetry, EachCarriesTheFaceTurnsOntoFaceTurnsKeepingTheUpDownAxis) {
    std::set<std::vector<int>> images;
    for (int s = 0; s < kSymmetryCount; ++s) {
        std::vector<int> image;
        std::set<int> distinct;
        for (int m = 0; m < kMoveCount; ++m) {
            const int target = moveMatching(conjugate(moveCube(m), s));
            ASSERT_GE(target, 0) << "symmetry " << s << ", move " << m;
            // Up and down turns stay up and down turns; a mirror reverses their direction.
            EXPECT_EQ(moveFace(m) % 3 == 0, moveFace(target) % 3 == 0);
            image.push_back(target);
            distinct.insert(target);
        }
        EXPECT_EQ(distinct.size(), 18u) << "symmetry " << s;
        images.insert(image);
    }
    EXPECT_EQ(images.size(), 16u) << "two symmetries act alike";
    EXPECT_EQ(moveMatching(conjugate(moveCube(0), 8)), 2) << "the mirror of U is U'";
}

TEST(Symmetry, ConjugationRespectsProductsAndIsUndoneByTheInverse) {
    std::mt19937 random(11);
    for (int i = 0; i < 50; ++i) {
        const CubieCube a = played(randomMoves(random, 25));
        const CubieCube b = played(randomMoves(random, 25));
        for (int s = 0; s < kSymmetryCount; ++s) {
            EXPECT_EQ(conjugate(multiply(a, b), s), multiply(conjugate(a, s), conjugate(b, s)));
            EXPECT_EQ(conjugate(conjugate(a, s), inverseSymmetry(s)), a);
        }
    }
}

TEST(Axis, EachAxisMapsMovesConsistentlyAndBringsEveryFaceToUp) {
    std::mt19937 random(12);
    const CubieCube cube = played(randomMoves(random, 25));
    std::set<int> facesBroughtUp;
    for (int axis = 0; axis < kAxisCount; ++axis) {
        for (int m = 0; m < kMoveCount; ++m) {
            EXPECT_EQ(alongAxis(multiply(cube, moveCube(m)), axis),
                      multiply(alongAxis(cube, axis), moveCube(axisMove(axis, m))));
            if (moveFace(axisMove(axis, m)) == 0) {
                facesBroughtUp.insert(moveFace(m) % 3);
            }
        }
    }
    EXPECT_EQ(facesBroughtUp, (std::set<int>{0, 1, 2}));
}

} // namespace
} // namespace cw::optimal
