// What a shot and a cleared field are worth.
#pragma once

// A group of n stones earns n x n points.
constexpr int ShotScore(int stones)
{
    return stones * stones;
}

// Extra points for destroying every stone of the field.
constexpr int SCORE_CLEARED_BONUS = 1500;
