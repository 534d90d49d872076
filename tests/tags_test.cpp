#include "text/tags.h"

#include <gtest/gtest.h>

namespace qlxw {
namespace {

TEST(SplitTags, Placeholder) { EXPECT_EQ(SplitTags("").size(), 1u); }

}  // namespace
}  // namespace qlxw
