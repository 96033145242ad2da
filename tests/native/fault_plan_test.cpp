#include <gtest/gtest.h>

#include <stdexcept>

#include "core/error.h"
#include "platform/sim/fault_plan.h"

namespace tarnwick::sim {
namespace {

TEST(FaultPlan, NamesTheSimulationNeverChecksAreRefused) {
  FaultPlan faults;
  for (const char* misspelt : {"RegOpenKeyEx", "regopenkeyexw", "OpenService", ""}) {
    EXPECT_THROW(faults.Fail(misspelt), std::invalid_argument) << misspelt;
    EXPECT_THROW(faults.Throw(misspelt), std::invalid_argument) << misspelt;
  }
  EXPECT_THROW((void)faults.CallCount("WriteFileW"), std::invalid_argument);
  EXPECT_THROW((void)faults.ShouldFail("NotACall"), std::logic_error);
}

TEST(FaultPlan, FaultsFireForTheirSubjectAndTheirCount) {
  FaultPlan faults;
  faults.Fail("OpenServiceW", u"Spooler", 1);
  faults.Throw("WriteFile");
  EXPECT_FALSE(faults.ShouldFail("OpenServiceW", u"Other"));
  EXPECT_TRUE(faults.ShouldFail("OpenServiceW", u"spooler")) << "subjects ignore ASCII case";
  EXPECT_FALSE(faults.ShouldFail("OpenServiceW", u"Spooler")) << "used up";
  EXPECT_THROW((void)faults.ShouldFail("WriteFile"), TarnwickError);
  EXPECT_EQ(faults.CallCount("OpenServiceW"), 3);
}

}  // namespace
}  // namespace tarnwick::sim
