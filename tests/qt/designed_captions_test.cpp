// Every designed caption shows whole: each label of each of the library's and the
// sample's forms, measured in the font the Qt view gives its widget, fits the widget
// it is drawn in (on one line, or in the lines a wrapping label has room for).
//
// A form is one line of the table below; a form added to the library (the calendar)
// is added there.
#include <QtGui/QFontMetrics>
#include <QtWidgets/QLabel>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "about/frm_info.h"
#include "calendar/frm_input_data.h"
#include "frame/automation/date_serial.h"
#include "frame/ui/label.h"
#include "sample/provix2/form1.h"
#include "sample/provix2/program.h"
#include "tests/qt/qt_fixture.h"

namespace ze::qt::testing {
namespace {

// provix2's form as the program loads it, with the component library beside it.
std::shared_ptr<ze::ui::Form> SampleForm() {
  const auto folder =
      std::filesystem::temp_directory_path() / ("captions-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(ZE_KALENDO_LIBRARY, folder / "libzeKalendo.so",
                             std::filesystem::copy_options::overwrite_existing);
  EXPECT_EQ(provix2::EnsureKalendoRegistered(folder.string()), "");
  return provix2::Form1::FromDescriptionFile(ZE_FORM1_DESCRIPTION, folder.string());
}

struct DesignedForm {
  const char* name;
  std::function<std::shared_ptr<ze::ui::Form>()> create;
};
// The calendar opened for a field holding 15/08/2005, the days of a whole month on show.
std::shared_ptr<ze::ui::Form> Calendar() {
  struct Opener : zekalendo::DataChiamante {
    ze::Date valore() const override { return ze::DateSerial(2005, 8, 15); }
    void SetValore(ze::Date) override {}
  };
  static Opener opener;
  static const auto alive = std::make_shared<int>(0);
  auto calendar = zekalendo::FrmInputData::Create();
  calendar->SetChiamante(opener, alive);
  return calendar;
}

const DesignedForm kForms[] = {
    {"FrmInfo", [] { return zekalendo::FrmInfo::Create(); }},
    {"FrmInputData", Calendar},
    {"Form1", SampleForm},
};

// The labels under control, depth first.
void CollectLabels(const ze::ui::Control& control, std::vector<const ze::ui::Label*>& out) {
  if (const auto* label = dynamic_cast<const ze::ui::Label*>(&control)) out.push_back(label);
  for (const ze::ui::Control* child : control.Children()) CollectLabels(*child, out);
}

class DesignedCaptionsTest : public QtBackendTest {};

TEST_F(DesignedCaptionsTest, EveryLabelShowsItsWholeCaption) {
  for (const DesignedForm& designed : kForms) {
    SCOPED_TRACE(designed.name);
    const auto form = designed.create();
    ASSERT_NE(form, nullptr);
    form->Show();
    backend_->Sync();
    std::vector<const ze::ui::Label*> labels;
    CollectLabels(*form, labels);
    EXPECT_FALSE(labels.empty());
    for (const ze::ui::Label* label : labels) {
      auto* view = Widget<QLabel>(*label);
      // A hidden label (a control array's template) shows no caption to cut.
      if (!view || view->text().isEmpty() || !label->VisibleFlag()) continue;
      SCOPED_TRACE(ze::ToUtf8(label->Name()) + ": " + view->text().toStdString());
      const QRect room = view->contentsRect();
      const QFontMetrics metrics(view->font());
      const int flags = view->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
      const QRect needed = metrics.boundingRect(QRect(0, 0, room.width(), 1 << 20), flags,
                                                view->text());
      EXPECT_LE(needed.width(), room.width()) << "cut on the right";
      EXPECT_LE(needed.height(), room.height()) << "cut at the bottom";
    }
    form->Unload();
  }
}

}  // namespace
}  // namespace ze::qt::testing
