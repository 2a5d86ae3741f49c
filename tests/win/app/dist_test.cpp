#include <gtest/gtest.h>
TEST(Dist, Placeholder) {}
