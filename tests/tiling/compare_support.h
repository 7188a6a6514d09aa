#pragma once

#include <gtest/gtest.h>

#include "reference_support.h"

// Whether groupTables and moduleTables hold exactly what the reference build gives: the same
// entries in the same order, to the last bit, and module records referring to the same records.
testing::AssertionResult sameGroupAsReference(const reference::Group& group);
testing::AssertionResult sameModulesAsReference(const reference::Group& group,
                                                const reference::Modules& modules);
