#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/host/RegistryRemover.h"
#include "win32/support/RegistryScratch.h"

namespace reminder {
namespace {

using testing::RegistryScratch;

// A settings area three levels deep, with values at every level.
void BuildTree(const RegistryScratch& scratch) {
  ASSERT_TRUE(scratch.Set("Reminder", "Top", REG_SZ, "1"));
  ASSERT_TRUE(scratch.Set("Reminder\\Options", "RefreshInterval", REG_SZ, "60"));
  ASSERT_TRUE(scratch.Set("Reminder\\WindowPosition", "Left", REG_SZ, "10"));
  ASSERT_TRUE(scratch.Set("Reminder\\Options\\Deep", "A", REG_SZ, "a"));
  ASSERT_TRUE(scratch.Set("Reminder\\Options\\Deep\\Deeper", "B", REG_SZ, "b"));
  ASSERT_TRUE(scratch.Set("Reminder\\Options\\deep2", "C", REG_SZ, "c"));
}

TEST(RegistryRemover, CollectsTheDirectSubkeysAsFullPaths) {
  RegistryScratch scratch("RegistryRemoverCollect");
  BuildTree(scratch);
  std::vector<std::string> keys{"kept"};
  CollectSubKeys(HKEY_CURRENT_USER, "\\" + scratch.PathOf("Reminder"), keys);
  std::sort(keys.begin() + 1, keys.end());
  const std::string base = "\\" + scratch.PathOf("Reminder");
  EXPECT_EQ(keys,
            (std::vector<std::string>{"kept", base + "\\Options", base + "\\WindowPosition"}));

  std::vector<std::string> none;
  CollectSubKeys(HKEY_CURRENT_USER, scratch.PathOf("Missing"), none);
  EXPECT_TRUE(none.empty());
}

TEST(RegistryRemover, RemovesATreeThreeLevelsDeepWithOrWithoutLeadingSeparator) {
  for (const std::string prefix : {"\\", ""}) {
    RegistryScratch scratch("RegistryRemoverTree");
    BuildTree(scratch);
    ASSERT_TRUE(scratch.Set("Sibling", "Keep", REG_SZ, "x"));
    DeleteRegistryTree(HKEY_CURRENT_USER, prefix + scratch.PathOf("Reminder"));
    EXPECT_FALSE(scratch.KeyExists("Reminder\\Options\\Deep\\Deeper")) << prefix;
    EXPECT_FALSE(scratch.KeyExists("Reminder\\Options")) << prefix;
    EXPECT_FALSE(scratch.KeyExists("Reminder")) << prefix;
    EXPECT_TRUE(scratch.Get("Sibling", "Keep").exists) << prefix;
  }
}

TEST(RegistryRemover, SubkeysGoButTheKeyStays) {
  RegistryScratch scratch("RegistryRemoverSubKeys");
  BuildTree(scratch);
  DeleteSubKeys(HKEY_CURRENT_USER, scratch.PathOf("Reminder"));
  EXPECT_TRUE(scratch.Get("Reminder", "Top").exists);
  EXPECT_FALSE(scratch.KeyExists("Reminder\\Options"));
  EXPECT_FALSE(scratch.KeyExists("Reminder\\WindowPosition"));
}

TEST(RegistryRemover, AMissingKeyIsNoFault) {
  RegistryScratch scratch("RegistryRemoverMissing");
  ASSERT_TRUE(scratch.Set("Kept", "Value", REG_SZ, "x"));
  DeleteRegistryTree(HKEY_CURRENT_USER, scratch.PathOf("Nothing\\Here"));
  EXPECT_TRUE(scratch.Get("Kept", "Value").exists);
}

}  // namespace
}  // namespace reminder
