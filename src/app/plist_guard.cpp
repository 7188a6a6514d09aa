#include "app/plist_guard.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool startsWith(std::string_view s, std::size_t at, std::string_view prefix) {
    return s.size() - at >= prefix.size() && s.compare(at, prefix.size(), prefix) == 0;
}

// Counts the nesting of <array> and <dict> elements. Comments, processing instructions and
// CDATA sections are skipped as the parser would skip them; the count errs towards deeper, so a
// file it passes cannot nest deeper than it says.
bool xmlDepthAcceptable(std::string_view s, int maxDepth) {
    int depth = 0;
    std::size_t i = 0;
    while ((i = s.find('<', i)) != std::string_view::npos) {
        if (startsWith(s, i, "<!--")) {
            const std::size_t end = s.find("-->", i + 4);
            if (end == std::string_view::npos) return true;  // unterminated: the parser refuses
            i = end + 3;
            continue;
        }
        if (startsWith(s, i, "<![CDATA[")) {
            const std::size_t end = s.find("]]>", i + 9);
            if (end == std::string_view::npos) return true;
            i = end + 3;
            continue;
        }
        const bool closing = startsWith(s, i, "</");
        const std::size_t nameStart = i + (closing ? 2 : 1);
        const bool container = startsWith(s, nameStart, "array") || startsWith(s, nameStart, "dict");
        const std::size_t end = s.find('>', nameStart);
        if (end == std::string_view::npos) return true;
        if (container) {
            const bool empty = s[end - 1] == '/';
            if (closing) {
                if (depth > 0) --depth;
            } else if (!empty && ++depth > maxDepth) {
                return false;
            }
        }
        i = end + 1;
    }
    return true;
}

uint64_t readBigEndian(const unsigned char* p, int bytes) {
    uint64_t v = 0;
    for (int k = 0; k < bytes; ++k) v = (v << 8) | p[k];
    return v;
}

inline constexpr uint64_t kMaxDocumentNodes = 4'000'000;

// Walks the object graph of a binary list from its top object, iteratively, and fails on a
// reference out of range, a cycle, or a container deeper than maxDepth.
bool binaryDepthAcceptable(std::string_view s, int maxDepth) {
    const auto* data = reinterpret_cast<const unsigned char*>(s.data());
    const std::size_t size = s.size();
    if (size < 8 + 32) return true;  // too short to be a list: the parser refuses it
    const unsigned char* trailer = data + size - 32;
    const int offsetSize = trailer[6];
    const int refSize = trailer[7];
    const uint64_t objectCount = readBigEndian(trailer + 8, 8);
    const uint64_t top = readBigEndian(trailer + 16, 8);
    const uint64_t tableOffset = readBigEndian(trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || refSize < 1 || refSize > 8) return false;
    if (objectCount == 0 || top >= objectCount || tableOffset >= size) return false;
    if (objectCount > (size - tableOffset) / offsetSize) return false;

    auto offsetOf = [&](uint64_t object) -> uint64_t {
        return readBigEndian(data + tableOffset + object * offsetSize, offsetSize);
    };

    // Reads the child count and the position of the first reference of a container object;
    // returns false for objects that hold no references.
    auto children = [&](uint64_t object, uint64_t& count, uint64_t& first) -> bool {
        const uint64_t at = offsetOf(object);
        if (at >= tableOffset) return false;
        const unsigned char marker = data[at];
        const int kind = marker >> 4;
        if (kind != 0xA && kind != 0xC && kind != 0xD) return false;
        count = marker & 0x0F;
        first = at + 1;
        if (count == 0x0F) {
            if (first >= tableOffset) return false;
            const unsigned char intMarker = data[first];
            if ((intMarker >> 4) != 0x1) return false;
            const int bytes = 1 << (intMarker & 0x0F);
            if (bytes > 8 || first + 1 + bytes > tableOffset) return false;
            count = readBigEndian(data + first + 1, bytes);
            first += 1 + bytes;
        }
        if (kind == 0xD) {
            if (count > UINT64_MAX / 2) return false;
            count *= 2;  // keys, then values
        }
        return true;
    };

    struct Frame {
        uint64_t object, next, count, first;
    };
    std::vector<uint8_t> onPath(objectCount, 0);
    std::vector<Frame> stack;
    // The parser copies a shared object once per reference, so the tree it would build is
    // bounded by counting every reference walked.
    uint64_t budget = kMaxDocumentNodes;
    uint64_t count = 0, first = 0;
    if (!children(top, count, first)) return true;
    if (count > (tableOffset - first) / refSize) return false;
    stack.push_back({top, 0, count, first});
    onPath[top] = 1;
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next == f.count) {
            onPath[f.object] = 0;
            stack.pop_back();
            continue;
        }
        const uint64_t child = readBigEndian(data + f.first + f.next * refSize, refSize);
        ++f.next;
        if (child >= objectCount || budget-- == 0) return false;
        if (!children(child, count, first)) continue;
        if (onPath[child]) return false;
        if (count > (tableOffset - first) / refSize) return false;
        if (static_cast<int>(stack.size()) >= maxDepth) return false;
        stack.push_back({child, 0, count, first});
        onPath[child] = 1;
    }
    return true;
}

}  // namespace

bool plistShapeAcceptable(std::string_view data, int maxDepth) {
    if (data.size() > kMaxDocumentBytes) return false;
    if (data.substr(0, 6) == "bplist") return binaryDepthAcceptable(data, maxDepth);
    return xmlDepthAcceptable(data, maxDepth);
}
