#pragma once

// Searching and inserting in the sorted tables of tables.h.
//
// The comparisons are tolerant, so they are not transitive at the scale of the tolerance, and the
// exact sequence of probes decides which of two nearly equal entries is met; both searches below
// keep the sequence every table of the program is built with.

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>

#include "geometry/kernel.h"
#include "tiling/tables.h"

// Whether a point found equal to q is so close to it (1e-12 relative in every component) that a
// search for q takes the same path as a search for that entry: a probe could only be compared
// differently if one of its components lay within 1e-12 of the tolerance boundary round the
// entry. So when a grid shows that exactly one entry of a table is equal to q, that entry is this
// close, and a search for the entry's own key finds it, the search for q finds it too; when the
// grid shows no equal entry, the search finds none.
inline bool veryClose(const Point& a, const Point& q) {
    constexpr double e = 1e-12;
    return std::fabs(a.x - q.x) <= (std::fabs(q.x) + 1) * e &&
           std::fabs(a.y - q.y) <= (std::fabs(q.y) + 1) * e &&
           std::fabs(a.z - q.z) <= (std::fabs(q.z) + 1) * e;
}

// Whether a sorted run of points is in clear order: grouped, co-ordinate by co-ordinate, into
// runs equal but for rounding (within 1e-7 relative of the run's first value, neighbours within
// 1e-9), each run ahead of the last by more than three tolerances. Then the tolerant comparisons
// order these points as an exact order would, and a search for any one of them finds it.
inline bool inClearOrder(const Point* keys, int count) {
    auto tie = [](double u, double v, double limit) {
        return std::fabs(v - u) <= limit * (std::max(std::fabs(u), std::fabs(v)) + 1);
    };
    auto ahead = [](double u, double v) {
        return v - u > 3 * h * (std::max(std::fabs(u), std::fabs(v)) + 1);  // false for NaN
    };
    if (count > 0 && !(std::isfinite(keys[0].x) && std::isfinite(keys[0].y))) return false;
    double runX = count > 0 ? keys[0].x : 0, runY = count > 0 ? keys[0].y : 0;
    for (int i = 0; i + 1 < count; ++i) {
        const Point& a = keys[i];
        const Point& b = keys[i + 1];
        if (!tie(a.x, b.x, 1e-9)) {
            if (!ahead(a.x, b.x)) return false;
            runX = b.x;
            runY = b.y;
            continue;
        }
        if (!tie(runX, b.x, 1e-7)) return false;
        if (!tie(a.y, b.y, 1e-9)) {
            if (!ahead(a.y, b.y)) return false;
            runY = b.y;
            continue;
        }
        if (!tie(runY, b.y, 1e-7)) return false;
        if (!ahead(a.z, b.z)) return false;  // equal points, or too near in z
    }
    return true;
}

// compare(i) is the comparison of entry i with the wanted key: > 0 when the entry is greater.
// Results are the index of an equal entry, or −(insertion position) − 1.

// Between lo and hi: probe (lo + hi)/2; with fewer than two entries left that probe decides.
template <class Compare>
int tolerantSearch(int lo, int hi, Compare compare) {
    for (;;) {
        const int mid = (lo + hi) / 2;
        const int c = compare(mid);
        if (hi - lo < 2) return c > 0 ? -mid - 1 : c < 0 ? -mid - 2 : mid;
        if (c == 0) return mid;
        if (c > 0) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
}

// Over a whole table of count entries, comparing with the middle entry before searching the
// proper half.
template <class Compare>
int splitSearch(int count, Compare compare) {
    if (count <= 0) return -1;
    const int mid = count / 2;
    const int c = compare(mid);
    if (c == 0) return mid;
    if (count < 2) return c > 0 ? -mid - 1 : -mid - 2;
    return c > 0 ? tolerantSearch(0, mid, compare) : tolerantSearch(mid, count, compare);
}

// Stores record in the next free pool slot and shifts the sorted slot numbers from position up;
// returns the slot. The table must not be full.
template <class Record>
int insertSorted(SortedTable<Record>& table, const Record& record, int position) {
    assert(!table.full() && position >= 0 && position <= table.count);
    const int slot = table.count;
    table.pool[slot] = record;
    std::memmove(&table.order[position + 1], &table.order[position],
                 sizeof(table.order[0]) * (table.count - position));
    table.order[position] = static_cast<uint16_t>(slot);
    ++table.count;
    return slot;
}
