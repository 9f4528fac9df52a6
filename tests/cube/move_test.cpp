// Move comparisons and the move list's properties that playback and the solver rely on.
#include <gtest/gtest.h>

#include "cube/move.h"

namespace cw {
namespace {

TEST(Move, DefaultIsNoFaceCounterClockwise) {
    const Move a;
    const Move b;
    EXPECT_EQ(a.face, -1);
    EXPECT_FALSE(a.clockwise);
    EXPECT_TRUE(a == b);
    EXPECT_FALSE(a.isInverseOf(b));

    Move clockwiseNoFace;
    clockwiseNoFace.clockwise = true;
    EXPECT_TRUE(clockwiseNoFace.isInverseOf(a));
    EXPECT_FALSE(clockwiseNoFace == a);
}

TEST(Move, InverseIsSameFaceOtherDirection) {
    const Move upCw(2, true);
    const Move upCcw(2, false);
    const Move backCcw(3, false);
    EXPECT_TRUE(upCw.isInverseOf(upCcw));
    EXPECT_TRUE(upCcw.isInverseOf(upCw));
    EXPECT_FALSE(upCw == upCcw);
    EXPECT_FALSE(upCw == backCcw);
    EXPECT_FALSE(upCw.isInverseOf(backCcw));
}

TEST(MoveList, KeepsOrderAndPositions) {
    MoveList list;
    const Move a(0, true), b(1, false), c(2, true);
    list.push_back(a);
    const MoveList::iterator first = list.begin();
    list.push_back(b);
    list.push_back(c);
    EXPECT_EQ(list.size(), 3u);
    EXPECT_TRUE(*first == a); // a position survives later appends
    list.pop_front();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list.front() == b);
    EXPECT_TRUE(list.back() == c);
}

TEST(MoveList, AssignmentCopiesExactly) {
    MoveList three = {Move(0, true), Move(1, true), Move(2, false)};
    MoveList five = {Move(5, true), Move(5, true), Move(5, true), Move(5, true), Move(5, true)};
    five = three;
    EXPECT_EQ(five, three);
    MoveList empty;
    empty = three;
    EXPECT_EQ(empty, three);
    const MoveList& alias = three;
    three = alias;
    EXPECT_EQ(three.size(), 3u);
}

} // namespace
} // namespace cw
