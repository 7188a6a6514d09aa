#include "render/model.h"

#include <cstdint>

namespace {

// The entry at the same place in `to` as p has in `from`.
template <class Record>
Record* rebased(Record* p, const ModuleTables& from, ModuleTables& to) {
    const auto offset = reinterpret_cast<uintptr_t>(p) - reinterpret_cast<uintptr_t>(&from);
    return reinterpret_cast<Record*>(reinterpret_cast<char*>(&to) + offset);
}

// The draw lists refer to module records by address: after a copy they are moved over to the
// copy's own records.
void rebase(DrawLists& d, const ModuleTables& from, ModuleTables& to) {
    for (int i = 0; i < d.triCount; ++i) d.tri[i] = rebased(d.tri[i], from, to);
    for (int i = 0; i < d.polyCount; ++i) d.poly[i] = rebased(d.poly[i], from, to);
    for (int i = 0; i < d.quadCount; ++i) d.quad[i] = rebased(d.quad[i], from, to);
}

}  // namespace

Model::Model(const Model& other)
    : Tiling(other),
      colourState(other.colourState),
      drawLists(other.drawLists),
      viewState(other.viewState) {
    rebase(drawLists, other.moduleTables, moduleTables);
}

Model& Model::operator=(const Model& other) {
    if (this == &other) return *this;
    Tiling::operator=(other);
    colourState = other.colourState;
    drawLists = other.drawLists;
    viewState = other.viewState;
    rebase(drawLists, other.moduleTables, moduleTables);
    return *this;
}
