// Form1: provix2's one form.
//
// Two date fields bound to the two date fields of the current record, a button that
// reports both dates, and handlers that react to an invalid date and to Enter. The
// form is built from its description file: the date fields are created by ProgID
// through the registry, as any host creates them, and restored from their saved
// properties.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frame/host/hosted_control.h"
#include "frame/ui/command_button.h"
#include "frame/ui/control_array.h"
#include "frame/ui/form.h"
#include "frame/ui/label.h"
#include "sample/data/data_control.h"
#include "sample/forms/form_description.h"

namespace provix2 {

class Form1 : public ze::ui::Form {
 public:
  // Builds the form from the description; the program's folder becomes the current
  // folder when the form loads, so the database's relative name resolves there.
  Form1(const ControlDescription& description, std::string programFolder);
  ~Form1() override;
  ze::String TypeName() const override { return u"Form1"; }

  static std::shared_ptr<Form1> FromDescriptionFile(const std::string& path,
                                                    const std::string& programFolder);

  ze::host::HostedControl& Kalendo1() const { return *kalendo1_; }
  ze::host::HostedControl& Kalendo2() const { return *kalendo2_; }
  ze::ui::CommandButton& Command1() const { return *command1_; }
  DataControl& Data1() const { return *data1_; }
  ze::ui::Label& Label1(int index) const { return (*label1_)[index]; }

 private:
  void Build(const ControlDescription& description);
  void BuildControl(const ControlDescription& d);
  void Bind(ze::host::HostedControl& control, const ze::container::PropertyBag& settings);

  void Form_Load();
  void Form_Unload(std::int16_t& cancel);
  void Command1_Click();
  void Kalendo1_DataNonValida();
  void Kalendo2_DataNonValida();
  void Kalendo1_ReturnPress();
  void Kalendo2_ReturnPress();

  std::string programFolder_;
  std::vector<std::unique_ptr<ze::host::HostedControl>> hosted_;
  std::unique_ptr<ze::ui::ControlArray<ze::ui::Label>> label1_;
  ze::host::HostedControl* kalendo1_ = nullptr;
  ze::host::HostedControl* kalendo2_ = nullptr;
  ze::ui::CommandButton* command1_ = nullptr;
  DataControl* data1_ = nullptr;
};

}  // namespace provix2
