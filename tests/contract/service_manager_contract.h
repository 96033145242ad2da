#pragma once
// The service manager port's contract, one suite for the simulated manager (natively) and the
// Win32 adapter (under Wine). The environment provides a ServiceManager holding one Win32
// service of its own, name() with display name displayName() and binary path binaryPath(),
// set to start on demand, and removes it afterwards; delayedFlagSupported() says whether the
// platform keeps the delayed-start flag (Wine 8 refuses SERVICE_CONFIG_DELAYED_AUTO_START_INFO).
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Name, ServiceManagerContract, Environment);

#include <gtest/gtest.h>

#include <algorithm>

#include "ports/service_manager.h"

namespace tarnwick::contract {

template <typename Environment>
class ServiceManagerContract : public ::testing::Test {
 protected:
  ServiceManager& services() { return environment_.services(); }
  std::unique_ptr<ServiceHandle> OpenOurs(uint32_t access) {
    auto manager = services().Connect(scm::kConnect);
    return manager ? manager->Open(environment_.name(), access) : nullptr;
  }
  Environment environment_;
};

TYPED_TEST_SUITE_P(ServiceManagerContract);

TYPED_TEST_P(ServiceManagerContract, TheEnumerationListsTheServiceWithItsNames) {
  auto manager = this->services().Connect(scm::kConnect | scm::kEnumerateService);
  ASSERT_NE(manager, nullptr);
  std::vector<ServiceStatusRecord> records;
  ASSERT_TRUE(manager->EnumerateWin32Services(records));
  auto ours = std::find_if(records.begin(), records.end(),
                           [&](const ServiceStatusRecord& r) { return r.serviceName == this->environment_.name(); });
  ASSERT_NE(ours, records.end());
  EXPECT_EQ(ours->displayName, this->environment_.displayName());
}

TYPED_TEST_P(ServiceManagerContract, ConfigurationIsReadAsConfiguredAndNamesIgnoreCase) {
  auto manager = this->services().Connect(scm::kConnect);
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->Open(u"TarnwickNoSuchService", scm::kQueryConfig), nullptr);
  auto service = manager->Open(UpperAscii(this->environment_.name()), scm::kQueryConfig);
  ASSERT_NE(service, nullptr);
  ServiceConfig config;
  ASSERT_TRUE(service->QueryConfig(config));
  EXPECT_EQ(config.startType, scm::kDemandStart);
  EXPECT_EQ(config.binaryPathName, this->environment_.binaryPath()) << "unresolved, arguments and all";
}

TYPED_TEST_P(ServiceManagerContract, ChangesNeedTheRightAccessAndTouchOnlyTheStartType) {
  auto readOnly = this->OpenOurs(scm::kQueryConfig);
  ASSERT_NE(readOnly, nullptr);
  EXPECT_FALSE(readOnly->ChangeStartType(scm::kDisabled)) << "opened without kChangeConfig";
  auto service = this->OpenOurs(scm::kQueryConfig | scm::kChangeConfig);
  ASSERT_NE(service, nullptr);
  ASSERT_TRUE(service->ChangeStartType(scm::kDisabled));
  ServiceConfig config;
  ASSERT_TRUE(service->QueryConfig(config));
  EXPECT_EQ(config.startType, scm::kDisabled);
  EXPECT_EQ(config.binaryPathName, this->environment_.binaryPath());
  ASSERT_TRUE(service->ChangeStartType(scm::kAutoStart));
  ASSERT_TRUE(service->QueryConfig(config));
  EXPECT_EQ(config.startType, scm::kAutoStart);
}

TYPED_TEST_P(ServiceManagerContract, TheDelayedFlagIsReadAndWrittenBesideTheStartType) {
  auto service = this->OpenOurs(scm::kQueryConfig | scm::kChangeConfig);
  ASSERT_NE(service, nullptr);
  ASSERT_TRUE(service->ChangeStartType(scm::kAutoStart));
  bool delayed = true;
  if (!this->environment_.delayedFlagSupported()) {
    // Refused, not invented: the toggles then keep the start type and drop only the delay.
    EXPECT_FALSE(service->QueryDelayedAutoStart(delayed)) << "the platform keeps the flag now: test it";
    EXPECT_FALSE(service->ChangeDelayedAutoStart(true));
    return;
  }
  ASSERT_TRUE(service->QueryDelayedAutoStart(delayed));
  EXPECT_FALSE(delayed);
  ASSERT_TRUE(service->ChangeDelayedAutoStart(true));
  ASSERT_TRUE(service->QueryDelayedAutoStart(delayed));
  EXPECT_TRUE(delayed);
  ServiceConfig config;
  ASSERT_TRUE(service->QueryConfig(config));
  EXPECT_EQ(config.startType, scm::kAutoStart) << "the flag leaves the start type";
}

REGISTER_TYPED_TEST_SUITE_P(ServiceManagerContract, TheEnumerationListsTheServiceWithItsNames,
                            ConfigurationIsReadAsConfiguredAndNamesIgnoreCase,
                            ChangesNeedTheRightAccessAndTouchOnlyTheStartType,
                            TheDelayedFlagIsReadAndWrittenBesideTheStartType);

}  // namespace tarnwick::contract
