// The provix2 test host.
#include "tests/sample/provix2_fixture.h"

#include <stdlib.h>

#include "frame/automation/locale.h"
#include "frame/com/activation.h"
#include "frame/system/dynamic_library.h"
#include "frame/com/server_exports.h"
#include "frame/ui/desktop.h"
#include "frame/ui/message_box.h"
#include "frame/ui/text_box.h"

namespace provix2::testing {

void Provix2Test::SetUp() {
  savedCwd_ = std::filesystem::current_path();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  folder_ = std::filesystem::temp_directory_path() /
            ("provix2-" + std::to_string(getpid()) + "-" + info->name());
  std::filesystem::remove_all(folder_);
  std::filesystem::create_directories(folder_);
  database_ = folder_ / "provix2.db";
  setenv("ZE_REGISTRO", (folder_ / "registro.db").c_str(), 1);
  ze::Locale::SetCurrent("it_IT");
  ze::ui::SetApplicationTitle(u"provix2");

  // The library is registered as a user's first run of provix2 registers it.
  auto library = ze::system::DynamicLibrary::Open(ZE_KALENDO_LIBRARY);
  ASSERT_TRUE(library.is_loaded()) << library.message();
  auto reg = library.Function<ze::com::DllRegisterServerFn>("DllRegisterServer");
  ASSERT_EQ(reg(), ze::com::S_OK);

  backend_.Install();
  ze::ui::SetMessageBoxSink([this](const ze::ui::MessageBoxRequest& box) {
    messages_.push_back(ze::ToUtf8(box.prompt) + "|" + ze::ToUtf8(box.title));
    return answer_;
  });
}

void Provix2Test::TearDown() {
  ze::ui::Desktop::UnloadAll();
  form_.reset();
  ze::com::CoFreeUnusedLibraries();
  ze::ui::SetMessageBoxSink(nullptr);
  backend_.Uninstall();
  std::filesystem::current_path(savedCwd_);
  std::filesystem::remove_all(folder_);
}

Form1& Provix2Test::Open() {
  form_ = Form1::FromDescriptionFile(ZE_FORM1_DESCRIPTION, folder_.string());
  form_->Show();
  return *form_;
}

void Provix2Test::Sql(const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(database_.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

std::string Provix2Test::Stored(int rowid, const std::string& column) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(database_.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* stmt = nullptr;
  const std::string sql = "SELECT quote(" + column + ") FROM Data WHERE rowid = " +
                          std::to_string(rowid);
  std::string out = "(none)";
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
      sqlite3_step(stmt) == SQLITE_ROW) {
    out = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return out;
}

namespace {
std::string FieldOf(ze::host::HostedControl& control) {
  auto* field = dynamic_cast<ze::ui::TextBox*>(control.Widget().FindChild(u"Text1"));
  return field ? ze::ToUtf8(field->Text()) : "(no field)";
}
}  // namespace

std::string Provix2Test::Field1() const { return FieldOf(form_->Kalendo1()); }
std::string Provix2Test::Field2() const { return FieldOf(form_->Kalendo2()); }

}  // namespace provix2::testing
