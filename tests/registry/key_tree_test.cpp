// Deep and damaged key trees: the depth limit on creation and import, walks that
// survive a tree deeper than any stack and a store whose parents form a cycle.
#include "frame/registry/key_tree.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sqlite3.h>

#include <functional>

#include "frame/registry/reg_file.h"
#include "tests/registry/temp_dir.h"

namespace ze::registry {
namespace {

String DeepPath(std::size_t levels) {
  String path;
  for (std::size_t i = 0; i < levels; ++i) path += i == 0 ? u"k" : u"\\k";
  return path;
}

// Runs `body` on a thread with a small stack, so that a walk that recursed once per
// level would overflow it at a few hundred levels instead of many thousands.
void OnASmallStack(const std::function<void()>& body) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, 256 * 1024), 0);
  pthread_t thread;
  auto run = [](void* arg) -> void* {
    (*static_cast<const std::function<void()>*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

void Sql(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

class KeyTreeTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  const std::string path = dir.File("registro.db");
  std::shared_ptr<Store> store = Store::Open(path);
  const KeyId hkcu = Store::RootKey(Root::CurrentUser);
};

TEST_F(KeyTreeTest, KeysDeeperThanTheLimitAreRefused) {
  KeyId deepest;
  ASSERT_EQ(store->CreateKey(hkcu, DeepPath(kMaxKeyDepth), &deepest), ERROR_SUCCESS);
  EXPECT_EQ(store->CreateKey(deepest, u"uno"), ERROR_INVALID_PARAMETER) << "from a deep base";
  EXPECT_NE(LastErrorDetail().find("512"), std::string::npos) << LastErrorDetail();
  EXPECT_EQ(store->CreateKey(hkcu, DeepPath(kMaxKeyDepth + 1)), ERROR_INVALID_PARAMETER);
  KeyId middle;
  ASSERT_EQ(store->OpenKey(hkcu, DeepPath(kMaxKeyDepth / 2), &middle), ERROR_SUCCESS);
  EXPECT_EQ(store->CreateKey(middle, DeepPath(kMaxKeyDepth / 2 + 1)), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(store->CreateKey(middle, DeepPath(kMaxKeyDepth / 2)), ERROR_SUCCESS) << "existing";
  EXPECT_EQ(store->CreateKey(deepest, u""), ERROR_SUCCESS) << "no new level";

  // Import refuses such a file before writing anything, naming the line.
  const RegFileParse parsed =
      ParseRegText(String(kRegFileHeader) + u"\r\n\r\n[HKCU\\Prima]\r\n\r\n[HKCU\\" +
                   DeepPath(kMaxKeyDepth + 1) + u"]\r\n");
  EXPECT_EQ(parsed.errorLine, 5);
  EXPECT_NE(parsed.error.find("513 levels"), std::string::npos) << parsed.error;
  EXPECT_TRUE(
      ParseRegText(String(kRegFileHeader) + u"\r\n[HKCU\\" + DeepPath(kMaxKeyDepth) + u"]\r\n")
          .ok());
}

TEST_F(KeyTreeTest, ATreeDeeperThanAnyStackIsWalked) {
  // Such a tree cannot be made through the store any more, but a store written
  // before the limit, or by hand, may hold one.
  constexpr int kLevels = 3000;
  ASSERT_EQ(store->CreateKey(hkcu, u"k"), ERROR_SUCCESS);
  Sql(path,
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2999) "
      "INSERT INTO keys(id, parent, name, fold) "
      "SELECT 1000 + i, CASE i WHEN 1 THEN (SELECT id FROM keys WHERE name = 'k') "
      "ELSE 999 + i END, 'k', 'K' FROM n");
  std::size_t keys = 0, longest = 0;
  String text;
  LSTATUS walked = ERROR_INVALID_HANDLE, exported = ERROR_INVALID_HANDLE;
  OnASmallStack([&] {
    walked = WalkKeyTree(*store, hkcu, u"", [&](KeyId, const String& p) {
      ++keys;
      longest = std::max(longest, p.size());
      return ERROR_SUCCESS;
    });
    exported = ExportRegText(*store, Root::CurrentUser, u"k", &text);
  });
  EXPECT_EQ(walked, ERROR_SUCCESS);
  EXPECT_EQ(keys, kLevels + 1u) << "the root and every level";
  EXPECT_EQ(longest, 2u * kLevels - 1);
  ASSERT_EQ(exported, ERROR_SUCCESS);
  EXPECT_NE(text.find(u"[HKEY_CURRENT_USER\\" + DeepPath(kLevels) + u"]"), String::npos);
}

TEST_F(KeyTreeTest, ACycleOfParentsIsReportedNotFollowed) {
  KeyId b;
  ASSERT_EQ(store->CreateKey(hkcu, u"A\\B", &b), ERROR_SUCCESS);
  ASSERT_EQ(store->SetDword(b, u"n", 1), ERROR_SUCCESS);
  // HKCU made a child of its own grandchild: walking down from HKCU comes back to it.
  Sql(path, ("UPDATE keys SET parent = " + std::to_string(b.value) + " WHERE id = 2").c_str());

  int visits = 0;
  EXPECT_EQ(WalkKeyTree(*store, hkcu, u"",
                        [&](KeyId, const String&) {
                          ++visits;
                          return ERROR_SUCCESS;
                        }),
            ERROR_BADDB);
  EXPECT_EQ(visits, 3) << "each key once";
  EXPECT_NE(LastErrorDetail().find("damaged"), std::string::npos);
  String text;
  EXPECT_EQ(ExportRegText(*store, Root::CurrentUser, u"", &text), ERROR_BADDB);

  // Deleting a key whose subtree holds the cycle ends, refuses, and deletes nothing.
  EXPECT_EQ(store->DeleteTree(hkcu, u"A"), ERROR_BADDB);
  EXPECT_EQ(store->DeleteTree(hkcu, u""), ERROR_BADDB);
  KeyId still;
  EXPECT_EQ(store->OpenKey(hkcu, u"A\\B", &still), ERROR_SUCCESS);
  EXPECT_EQ(store->QueryValue(still, u"n", nullptr), ERROR_SUCCESS);

  // A root that is its own parent: a walk from it stops, emptying it refuses, and
  // the clean subtree below it deletes as usual.
  Sql(path, "UPDATE keys SET parent = 2 WHERE id = 2");
  EXPECT_EQ(ExportRegText(*store, Root::CurrentUser, u"", &text), ERROR_BADDB);
  EXPECT_EQ(store->DeleteTree(hkcu, u""), ERROR_BADDB);
  EXPECT_EQ(store->DeleteTree(hkcu, u"A"), ERROR_SUCCESS);
  EXPECT_EQ(store->OpenKey(hkcu, u"A", &still), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store->OpenKey(hkcu, u"", &still), ERROR_SUCCESS) << "the root stays";
}

}  // namespace
}  // namespace ze::registry
