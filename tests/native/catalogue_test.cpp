#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/error.h"
#include "platform/sim/sim_windows.h"

namespace tarnwick {
namespace {

// Recording sources stand in for the real ones to pin down the driver's rules.
std::vector<std::string> g_calls;

TAutorunInfo Entry(const char16_t* from, const char16_t* target) {
  TAutorunInfo entry;
  entry.From = from;
  entry.Target = target;
  return entry;
}

void FolderSource(TAutorunList& list, const AppContext&) {
  g_calls.push_back("folders");
  list.push_back(Entry(u"FILE", u"C:\\a.lnk"));
}
void RunSource(TAutorunList& list, const AppContext&) {
  g_calls.push_back("run");
  list.push_back(Entry(u"HKCU", u"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\x"));
}
void FailingSource(TAutorunList& list, const AppContext&) {
  g_calls.push_back("failing");
  list.push_back(Entry(u"SCHE", u"\\half"));
  throw TarnwickError(u"cannot list folder");
}
void ServiceSource(TAutorunList& list, const AppContext&) {
  g_calls.push_back("services");
  list.push_back(Entry(u"SERV", u"Spooler"));
}

class CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override { g_calls.clear(); }
  sim::SimWindows windows;
};

TEST_F(CatalogueTest, RefreshClearsThenRunsSourcesInOrder) {
  TAutorunList list{Entry(u"SERV", u"stale")};
  const CatalogueSource sources[] = {FolderSource, RunSource, ServiceSource};
  RefreshAutorun(list, windows.app(), sources);

  EXPECT_EQ(g_calls, (std::vector<std::string>{"folders", "run", "services"}));
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].From, u"FILE");
  EXPECT_EQ(list[1].From, u"HKCU");
  EXPECT_EQ(list[2].Target, u"Spooler");
}

TEST_F(CatalogueTest, AnErrorEndsTheRefreshKeepsEarlierEntriesAndReachesTheCaller) {
  TAutorunList list{Entry(u"SERV", u"stale")};
  const CatalogueSource sources[] = {FolderSource, RunSource, FailingSource, ServiceSource};
  EXPECT_THROW(RefreshAutorun(list, windows.app(), sources), TarnwickError);

  EXPECT_EQ(g_calls, (std::vector<std::string>{"folders", "run", "failing"}));
  ASSERT_EQ(list.size(), 3u);  // what the failing source appended before it threw stays too
  EXPECT_EQ(list[0].Target, u"C:\\a.lnk");
  EXPECT_EQ(list[2].Target, u"\\half");
}

TEST_F(CatalogueTest, TheFixedOrderIsFoldersRunKeysTasksServicesThenTheNewPlaces) {
  const CatalogueSource expected[] = {ReadStartupFolders, ReadRunKeys,       ReadScheduledTasks,
                                      ReadServices,       ReadStoreAppTasks, ReadMoreRegistryKeys};
  ASSERT_EQ(kCatalogueSources.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(kCatalogueSources[i], expected[i]);
}

TEST_F(CatalogueTest, EmptySystemGivesEmptyListEveryTime) {
  TAutorunList list{Entry(u"FILE", u"left over")};
  RefreshAutorun(list, windows.app());
  EXPECT_TRUE(list.empty());
  RefreshAutorun(list, windows.app());
  EXPECT_TRUE(list.empty());
}

TEST_F(CatalogueTest, UnchangedSystemRefreshesToTheSameEntries) {
  windows.services.Add({u"B", u"Bee", u"b.exe", scm::kAutoStart});
  windows.services.Add({u"A", u"Ay", u"a.exe", scm::kDisabled});
  TAutorunList first, second;
  RefreshAutorun(first, windows.app());
  second = first;
  RefreshAutorun(second, windows.app());
  ASSERT_EQ(first.size(), 2u);
  ASSERT_EQ(second.size(), 2u);
  for (size_t i = 0; i < first.size(); ++i) {
    EXPECT_EQ(first[i].Target, second[i].Target);
    EXPECT_EQ(first[i].Enabled, second[i].Enabled);
  }
  EXPECT_EQ(first[0].Target, u"B");  // discovery order, never sorted
}

TEST_F(CatalogueTest, ServiceSwitchedOffStaysListedAsDisabled) {
  windows.services.Add({u"Agent", u"Agent", u"agent.exe", scm::kAutoStart});
  TAutorunList list;
  RefreshAutorun(list, windows.app());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_TRUE(list[0].Enabled);

  windows.services.Find(u"Agent")->startType = scm::kDisabled;
  RefreshAutorun(list, windows.app());
  ASSERT_EQ(list.size(), 1u);
  EXPECT_FALSE(list[0].Enabled);
}

}  // namespace
}  // namespace tarnwick
