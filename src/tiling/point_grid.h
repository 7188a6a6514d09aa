#pragma once

// A grid of cells over two co-ordinates, listing for a query every entry that could be within a
// given distance of it in both. The tables are searched with tolerant comparisons; the grid finds
// every entry a comparison could call equal, so that "no entry is equal" (the usual answer at the
// rim of a picture) is known without a search, and a single, clearly equal entry is known too.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <iterator>

template <int Capacity>
class PointGrid {
  public:
    void clear() {
        std::fill(std::begin(head_), std::end(head_), -1);
        outsiders_ = 0;
    }

    // Entry id (0 ≤ id < Capacity) at (x, y); huge or non-finite co-ordinates go to a list that
    // every query visits.
    void insert(int id, double x, double y) {
        if (!(std::fabs(x) < kFar && std::fabs(y) < kFar)) {
            outsider_[outsiders_++] = id;
            return;
        }
        cell_[id] = key(cellOf(x), cellOf(y));
        const int slot = hash(cell_[id]);
        next_[id] = head_[slot];
        head_[slot] = static_cast<int16_t>(id);
    }

    // Calls visit(id) for every entry within tx of x and ty of y (and some further ones); returns
    // false, visiting nothing, when the query is too large or not finite for the grid to answer.
    template <class Visit>
    bool visit(double x, double y, double tx, double ty, Visit visit) const {
        if (!(std::fabs(x) < kFar && std::fabs(y) < kFar)) return false;
        // A little wider than asked, so that rounding at a cell's edge loses nothing.
        tx = tx * 1.01 + 1e-300;
        ty = ty * 1.01 + 1e-300;
        const int64_t x0 = cellOf(x - tx), x1 = cellOf(x + tx);
        const int64_t y0 = cellOf(y - ty), y1 = cellOf(y + ty);
        if (x1 - x0 > 3 || y1 - y0 > 3) return false;
        for (int64_t cx = x0; cx <= x1; ++cx) {
            for (int64_t cy = y0; cy <= y1; ++cy) {
                const uint64_t cell = key(cx, cy);
                for (int id = head_[hash(cell)]; id >= 0; id = next_[id]) {
                    if (cell_[id] == cell) visit(id);
                }
            }
        }
        for (int j = 0; j < outsiders_; ++j) visit(outsider_[j]);
        return true;
    }

  private:
    static constexpr double kFar = 1e300;
    static constexpr int kSlots = 8192;
    static_assert(Capacity <= 32767, "entry ids are 16-bit");

    // Cells of width 1/64 below 1 in size, and of 1/64 of a binade (1/128 to 1/64 relative)
    // beyond: the tolerance grows with the size of a co-ordinate, and so do the cells, so that a
    // query never spans more than two of them in each direction. Monotone in v.
    static int64_t cellOf(double v) {
        if (v < 0) return -1 - cellOf(-v);
        if (v < 1) return static_cast<int64_t>(v * 64);
        constexpr uint64_t one = 0x3FF0000000000000ull;  // the bits of 1.0
        return 64 + static_cast<int64_t>((std::bit_cast<uint64_t>(v) - one) >> 46);
    }
    // Cell numbers stay well inside 32 bits (at most 64·(1 + 2046) in size), so a pair packs
    // into one word.
    static uint64_t key(int64_t cx, int64_t cy) {
        return static_cast<uint64_t>(cx) << 32 ^ static_cast<uint32_t>(cy);
    }
    static int hash(uint64_t k) {
        k *= 0x9E3779B97F4A7C15ull;
        return static_cast<int>(k >> 50) & (kSlots - 1);
    }

    // Small enough to stay in the nearest cache: a few entries share a slot.
    int16_t head_[kSlots];
    int16_t next_[Capacity];
    uint64_t cell_[Capacity];
    int outsider_[Capacity];
    int outsiders_ = 0;
};
