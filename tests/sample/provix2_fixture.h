// provix2's form under test: the real form description, the real component library
// registered in a scratch registry store, a real SQLite database in a scratch folder,
// the headless backend, and message boxes answered and recorded by the test.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frame/ui/headless_backend.h"
#include "sample/provix2/form1.h"

namespace provix2::testing {

class Provix2Test : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the form (the program's folder is the scratch folder).
  Form1& Open();
  // Runs SQL on the scratch database with a connection of its own.
  void Sql(const std::string& sql);
  // One column of one row (1-based rowid), as text; "NULL" for a NULL.
  std::string Stored(int rowid, const std::string& column);
  std::string Field1() const;  // Kalendo1's field text
  std::string Field2() const;

  std::filesystem::path folder_;
  std::filesystem::path database_;
  ze::ui::HeadlessBackend backend_;
  std::shared_ptr<Form1> form_;
  std::vector<std::string> messages_;  // "prompt|title" of each message box
  int answer_ = 1;                     // the button the user presses
  std::filesystem::path savedCwd_;
};

}  // namespace provix2::testing
