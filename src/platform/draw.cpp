#include "platform/draw.h"

namespace {
DrawLayer* layer = nullptr;
}

DrawLayer* currentLayer() { return layer; }

void setCurrentLayer(DrawLayer* l) { layer = l; }
