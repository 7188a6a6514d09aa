#pragma once

#include <cstddef>
#include <string_view>

// Checks a property-list file's bytes before they reach the parser, which frees its tree
// recursively (deep nesting overflows the stack) and reads deeply nested binary lists in
// quadratic time. A Kaleidra document is at most a dictionary of arrays of arrays.
inline constexpr std::size_t kMaxDocumentBytes = 32u << 20;
inline constexpr int kMaxDocumentDepth = 16;

// True when the data is small enough and no array or dictionary nests deeper than maxDepth.
// XML and binary lists are both understood; anything else passes (the parser refuses it).
// Binary lists whose references form a cycle or point outside the object table fail.
bool plistShapeAcceptable(std::string_view data, int maxDepth = kMaxDocumentDepth);
