#pragma once
// The arithmetic of the image and canvas size dialogs: keeping width and height in the
// proportion of the starting size, and sizes from a percentage.
#include <optional>

// The other side for a changed side, in the proportion origOther : origThis, rounded to the
// nearest integer with halves to even. Nothing when the starting side is below 1 (no
// proportion to keep). The result is limited to the range of int.
std::optional<int> LinkedSide(int newThis, int origThis, int origOther);
// percent of a side, the remainder dropped: (percent * side) div 100.
int PercentSide(int percent, int side);
