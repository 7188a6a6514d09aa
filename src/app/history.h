#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "geometry/settings.h"
#include "geometry/types.h"

struct Model;

// Undo and redo. A snapshot is the picture as a small value: the settings (generators, lengths,
// every switch, scheme and colour, the view and colour matrices), the generating point, the
// individual colour of every data record and the order of the three draw lists. The group,
// data and module tables (several MB) are not kept: they are a function of a few settings and
// are rebuilt through the generation chain when a snapshot needs other ones than those in place.
//
// capture and restore are the only two functions that read or lay a picture's parts.

// The settings the group enumeration read when the tables in place were built. A change of the
// projection or of the spiral angle alone re-sorts without enumerating again, so these can
// differ from the snapshot's own settings.
struct TablesKey {
    int genV = 3, genE = 3, genF = 3;
    int groupOrder = 0;
    double spiralAngle = 0;
    int project3D2D = 0;
    Matrix pointMatrixInitial;  // the view the enumeration re-centred
};

struct Snapshot {
    // The panel's own state (tabIndex, bright) is left at its default: showing another tab or
    // turning the picker's brightness alone is not a change of the picture.
    Settings settings;
    Point polyVEF, polyEF, polyFV, polyVE;  // the generating point and its feet, as placed
    std::uint64_t tables = 0;               // fingerprint of the group and data tables
    TablesKey key;                          // what rebuilds those tables
    // Per data table (dataV … dataVEF): the tri colours, then the poly colours, in table order.
    std::shared_ptr<const std::vector<BColor>> colours;
    // The tri, poly and quad draw lists as module slots (poly and quad: table × kCapacity + slot).
    std::shared_ptr<const std::vector<std::uint16_t>> order;
};

// The picture as it is now. Buffers equal to previous's are shared with it rather than copied,
// and previous's tables key carries over while the tables are unchanged.
Snapshot capture(const Model& m, const Snapshot* previous = nullptr);

// Makes s the picture: the tables are rebuilt only when they are not s's, then the settings, the
// generating point, the colours and the draw order are laid over them. The panel's own state
// stays. The caller repaints and refreshes the panel.
void restore(Model& m, const Snapshot& s);

// Whether two snapshots hold the same values; the draw order is not compared (a re-sort alone
// makes no step).
bool sameValues(const Snapshot& a, const Snapshot& b);

// The bytes a snapshot holds beyond its buffers.
std::size_t ownBytes(const Snapshot& s);

// The steps before and after the picture on show. A step is what changed between two commits;
// a commit that finds nothing changed records nothing.
class History {
  public:
    static constexpr int kMaxSteps = 200;                // undo steps kept
    static constexpr std::size_t kMaxBytes = 60u << 20;  // and the memory they may hold

    // Forgets every step; the picture on show is the starting point.
    void reset(const Model& m);
    // Records the change since the last commit as one step (dropping the redo steps), the oldest
    // steps going first beyond the limits. True when there was a change.
    bool commit(const Model& m);
    // Commits what is pending, then goes one step back or forward. False when there is none.
    bool undo(Model& m);
    bool redo(Model& m);

    int undoCount() const { return static_cast<int>(undo_.size()); }
    int redoCount() const { return static_cast<int>(redo_.size()); }
    // Everything the history holds, each shared buffer counted once.
    std::size_t bytes() const;
    const Snapshot& current() const { return current_; }

  private:
    Snapshot current_;  // the picture as of the last commit, undo or redo
    std::deque<Snapshot> undo_, redo_;
};
