#include "TCalc.h"
#include <gtest/gtest.h>
TEST(Smoke, Builds) { T_calc c; EXPECT_EQ(c.SupplyTemp, 65); }
