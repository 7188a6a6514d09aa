// libFuzzer target for the document reader: any bytes either open soundly or are refused with
// nothing changed; neither may crash, hang or leave the tables inconsistent.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/document.h"
#include "geometry/settings.h"
#include "render/chain.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        initRandom(1);
        return true;
    }();
    (void)ready;
    const Settings before = settings;
    if (!openDocumentData(std::string_view(reinterpret_cast<const char*>(data), size))) {
        if (before.genV != settings.genV || before.groupOrder != settings.groupOrder) __builtin_trap();
    }
    return 0;
}
