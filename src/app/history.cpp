#include "app/history.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <unordered_set>

#include "colour/colour.h"
#include "geometry/triangle_group.h"
#include "render/chain.h"
#include "render/depth_order.h"
#include "render/model.h"
#include "tiling/generating_point.h"
#include "tiling/modules.h"
#include "tiling/tables.h"

namespace {

constexpr DataTable GroupTables::*kDataTables[7] = {
    &GroupTables::dataV,  &GroupTables::dataE,  &GroupTables::dataF,  &GroupTables::dataEF,
    &GroupTables::dataFV, &GroupTables::dataVE, &GroupTables::dataVEF};

// FNV-1a over 64-bit words.
struct Fingerprint {
    std::uint64_t value = 14695981039346656037ull;
    void add(std::uint64_t word) { value = (value ^ word) * 1099511628211ull; }
    void add(double d) { add(std::bit_cast<std::uint64_t>(d)); }
    void add(const Point& p) {
        add(p.x);
        add(p.y);
        add(p.z);
    }
};

// The data tables follow from the group and the triangle, and the module tables from the data
// tables and the generators: their counts and tri points tell one set of tables from another.
std::uint64_t tablesFingerprint(const Model& m) {
    const GroupTables& groupTables = m.groupTables;
    const Settings& settings = m.settings;
    Fingerprint f;
    f.add(static_cast<std::uint64_t>(groupTables.matrix.count));
    for (auto table : kDataTables) {
        const DataTable& t = groupTables.*table;
        f.add(static_cast<std::uint64_t>(t.count));
        for (int i = 0; i < t.count; ++i) f.add(t.at(i).triPoint);
    }
    for (int n : {settings.genV, settings.genE, settings.genF})
        f.add(static_cast<std::uint64_t>(n));
    return f.value;
}

TablesKey keyOfSettings(const Settings& s) {
    return {
        s.genV, s.genE, s.genF, s.groupOrder, s.spiralAngle, s.project3D2D, s.pointMatrixInitial};
}

std::vector<BColor> currentColours(const GroupTables& groupTables) {
    std::vector<BColor> out;
    std::size_t n = 0;
    for (auto table : kDataTables) n += 2 * static_cast<std::size_t>((groupTables.*table).count);
    out.reserve(n);
    for (auto table : kDataTables) {
        const DataTable& t = groupTables.*table;
        for (int i = 0; i < t.count; ++i) out.push_back(t.at(i).triColor);
        for (int i = 0; i < t.count; ++i) out.push_back(t.at(i).polyColor);
    }
    return out;
}

// False, with nothing laid, when the colours were taken from other tables.
bool layColours(GroupTables& groupTables, const std::vector<BColor>& colours) {
    std::size_t n = 0;
    for (auto table : kDataTables) n += 2 * static_cast<std::size_t>((groupTables.*table).count);
    if (colours.size() != n) return false;
    const BColor* c = colours.data();
    for (auto table : kDataTables) {
        DataTable& t = groupTables.*table;
        for (int i = 0; i < t.count; ++i) t.at(i).triColor = *c++;
        for (int i = 0; i < t.count; ++i) t.at(i).polyColor = *c++;
    }
    return true;
}

// A draw list as its length, then each entry as its module's slot: the table (0..3 for the poly
// tables and the snub triangles, 0..2 for the quad tables) times kCapacity plus the slot in that
// table's pool, which fits 16 bits (4 × 4096).
template <class Record, std::size_t N, std::size_t T>
void encodeList(std::vector<std::uint16_t>& out, const std::array<Record*, N>& list, int count,
                const std::array<const SortedTable<Record>*, T>& tables) {
    out.push_back(static_cast<std::uint16_t>(count));
    for (int i = 0; i < count; ++i) {
        for (std::size_t t = 0; t < T; ++t) {
            const Record* base = tables[t]->pool.data();
            if (list[i] >= base && list[i] < base + kCapacity) {
                out.push_back(static_cast<std::uint16_t>(t * kCapacity + (list[i] - base)));
                break;
            }
        }
    }
}

template <class Record, std::size_t N, std::size_t T>
bool decodeList(std::array<Record*, N>& list, int& count, const std::uint16_t*& in,
                const std::uint16_t* end, const std::array<SortedTable<Record>*, T>& tables) {
    if (end - in < 1) return false;
    const int total = *in++;
    if (total > static_cast<int>(N) || end - in < total) return false;
    for (int i = 0; i < total; ++i) {
        const std::size_t t = in[i] / kCapacity, slot = in[i] % kCapacity;
        if (t >= T || slot >= static_cast<std::size_t>(tables[t]->count)) return false;
    }
    for (int i = 0; i < total; ++i) {
        list[i] = &tables[in[i] / kCapacity]->pool[in[i] % kCapacity];
    }
    count = total;
    in += total;
    return true;
}

std::vector<std::uint16_t> currentOrder(const Model& model) {
    const ModuleTables& m = model.moduleTables;
    const DrawLists& d = model.drawLists;
    std::vector<std::uint16_t> out;
    out.reserve(static_cast<std::size_t>(d.triCount + d.polyCount + d.quadCount));
    encodeList(out, d.tri, d.triCount, std::array<const SortedTable<TriModule>*, 1>{&m.triModule});
    encodeList(out, d.poly, d.polyCount,
               std::array<const SortedTable<PolyModule>*, 4>{&m.polyModuleV, &m.polyModuleE,
                                                             &m.polyModuleF, &m.snubModule});
    encodeList(out, d.quad, d.quadCount,
               std::array<const SortedTable<QuadModule>*, 3>{&m.quadModuleV, &m.quadModuleE,
                                                             &m.quadModuleF});
    return out;
}

// False when the order does not fit the module tables in place; the lists are then unchanged
// or partly laid, and the caller sorts them afresh.
bool layOrder(Model& model, const std::vector<std::uint16_t>& order) {
    ModuleTables& m = model.moduleTables;
    DrawLists& d = model.drawLists;
    const std::uint16_t* in = order.data();
    const std::uint16_t* end = in + order.size();
    return decodeList(d.tri, d.triCount, in, end,
                      std::array<SortedTable<TriModule>*, 1>{&m.triModule}) &&
           decodeList(d.poly, d.polyCount, in, end,
                      std::array<SortedTable<PolyModule>*, 4>{&m.polyModuleV, &m.polyModuleE,
                                                              &m.polyModuleF, &m.snubModule}) &&
           decodeList(d.quad, d.quadCount, in, end,
                      std::array<SortedTable<QuadModule>*, 3>{&m.quadModuleV, &m.quadModuleE,
                                                              &m.quadModuleF}) &&
           in == end;
}

template <class T>
std::shared_ptr<const std::vector<T>> shareIfEqual(
    std::vector<T> fresh, const std::shared_ptr<const std::vector<T>>& previous) {
    if (previous && previous->size() == fresh.size() &&
        std::memcmp(previous->data(), fresh.data(), fresh.size() * sizeof(T)) == 0) {
        return previous;
    }
    return std::make_shared<const std::vector<T>>(std::move(fresh));
}

template <class T>
std::size_t bufferBytes(const std::shared_ptr<const std::vector<T>>& buffer) {
    return buffer ? sizeof(std::vector<T>) + buffer->capacity() * sizeof(T) : 0;
}

}  // namespace

Snapshot capture(const Model& m, const Snapshot* previous) {
    Snapshot s;
    s.settings = m.settings;
    s.settings.tabIndex = Settings{}.tabIndex;
    s.settings.bright = Settings{}.bright;
    const SpecialPoints& p = m.specialPoints;
    s.polyVEF = p.polyVEF;
    s.polyEF = p.polyEF;
    s.polyFV = p.polyFV;
    s.polyVE = p.polyVE;
    s.tables = tablesFingerprint(m);
    // Tables that changed since the previous snapshot were built from the settings as they are:
    // every action that enumerates does so after storing its setting.
    const bool sameTables = previous && previous->tables == s.tables;
    s.key = sameTables ? previous->key : keyOfSettings(m.settings);
    s.colours = shareIfEqual(currentColours(m.groupTables), previous ? previous->colours : nullptr);
    s.order = shareIfEqual(currentOrder(m), previous ? previous->order : nullptr);
    return s;
}

void restore(Model& m, const Snapshot& s) {
    Settings& settings = m.settings;
    const int tabIndex = settings.tabIndex;
    const double bright = settings.bright;
    auto laySettings = [&] {
        settings = s.settings;
        settings.tabIndex = tabIndex;
        settings.bright = bright;
    };
    laySettings();
    if (tablesFingerprint(m) != s.tables) {
        // The enumeration as it ran for s's tables, from the view it re-centred.
        Settings& t = settings;
        t.genV = s.key.genV;
        t.genE = s.key.genE;
        t.genF = s.key.genF;
        t.groupOrder = s.key.groupOrder;
        t.spiralAngle = s.key.spiralAngle;
        t.project3D2D = s.key.project3D2D;
        t.pointMatrix = s.key.pointMatrixInitial;
        setGenType(settings);
        setGen(m);
        rebuildModules(m);
        laySettings();
    }
    setOffsetMatrices(m.colourState, settings);

    SpecialPoints& p = m.specialPoints;
    if (!(p.polyVEF == s.polyVEF && p.polyEF == s.polyEF && p.polyFV == s.polyFV &&
          p.polyVE == s.polyVE)) {
        p.polyVEF = s.polyVEF;
        p.polyEF = s.polyEF;
        p.polyFV = s.polyFV;
        p.polyVE = s.polyVE;
        setPolyModules(m.groupTables, p);
    }
    if (settings.snubForm) newSnubModules(m);
    if (s.colours) (void)layColours(m.groupTables, *s.colours);
    // The sort places ties by the order it starts from, so the order is laid, not sorted again.
    if (!s.order || !layOrder(m, *s.order)) setShape(m);
}

bool sameValues(const Snapshot& a, const Snapshot& b) {
    auto sameBuffer = [](const auto& x, const auto& y) { return x == y || (x && y && *x == *y); };
    return a.tables == b.tables && a.settings == b.settings && a.polyVEF == b.polyVEF &&
           a.polyEF == b.polyEF && a.polyFV == b.polyFV && a.polyVE == b.polyVE &&
           sameBuffer(a.colours, b.colours);
}

std::size_t ownBytes(const Snapshot& s) {
    return sizeof(Snapshot) + s.settings.eqManifold.capacity() + s.settings.eqCircle.capacity() +
           s.settings.eqPerspective.capacity();
}

// ---------------------------------------------------------------------------------------------
// History

void History::reset(const Model& m) {
    undo_.clear();
    redo_.clear();
    current_ = capture(m);
}

bool History::commit(const Model& m) {
    Snapshot now = capture(m, &current_);
    if (sameValues(now, current_)) {
        // A re-sort alone: the picture to come back to has this order.
        current_.order = std::move(now.order);
        return false;
    }
    undo_.push_back(std::move(current_));
    current_ = std::move(now);
    redo_.clear();
    while (undoCount() > kMaxSteps) undo_.pop_front();
    while (!undo_.empty() && bytes() > kMaxBytes) undo_.pop_front();
    return true;
}

bool History::undo(Model& m) {
    commit(m);
    if (undo_.empty()) return false;
    redo_.push_back(std::move(current_));
    current_ = std::move(undo_.back());
    undo_.pop_back();
    restore(m, current_);
    return true;
}

bool History::redo(Model& m) {
    commit(m);
    if (redo_.empty()) return false;
    undo_.push_back(std::move(current_));
    current_ = std::move(redo_.back());
    redo_.pop_back();
    restore(m, current_);
    return true;
}

std::size_t History::bytes() const {
    std::unordered_set<const void*> seen;
    std::size_t total = 0;
    auto count = [&](const Snapshot& s) {
        total += ownBytes(s);
        if (s.colours && seen.insert(s.colours.get()).second) total += bufferBytes(s.colours);
        if (s.order && seen.insert(s.order.get()).second) total += bufferBytes(s.order);
    };
    count(current_);
    for (const Snapshot& s : undo_) count(s);
    for (const Snapshot& s : redo_) count(s);
    return total;
}
