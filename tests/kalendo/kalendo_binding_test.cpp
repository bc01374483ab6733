// A stored field text on its way to a bound record: restored from the bag, typed into,
// checked when the field is left, and written to the record through the container's
// data binding, as a host with a data control drives it.
#include <memory>

#include "frame/automation/convert.h"
#include "frame/automation/date_serial.h"
#include "frame/container/data_binding.h"
#include "frame/container/memory_recordset.h"
#include "frame/container/property_bag.h"
#include "tests/kalendo/kalendo_fixture.h"

namespace zekalendo::testing {
namespace {

using ze::Variant;
using ze::container::DataBinding;
using ze::container::PropertyBag;
using ze::container::Recordset;

class KalendoBindingTest : public KalendoTest {
 protected:
  // A control restored from a bag holding text, bound to field "Data" of a one-record
  // source that holds 1 January 2000. The empty date goes to the record as Null, as
  // hosts store it.
  Kalendo& Restored(std::u16string_view text) {
    Kalendo& k = NewControl();
    PropertyBag bag;
    bag.WriteProperty(u"Text", ze::String(text));
    k.Load(bag);
    records_ = std::make_unique<Recordset>(std::vector<ze::String>{u"Data"});
    records_->AddRecord({Variant(ze::DateSerial(2000, 1, 1))});
    records_->MoveFirst();
    site_.Bind(std::make_unique<DataBinding>(
        *records_, u"Data", u"DataText",
        [&k] {
          const ze::Date d = k.DataText();
          return d.serial == 0 ? Variant::Null() : Variant(d);
        },
        [&k](const Variant& v) { k.SetDataText(v.IsNull() ? ze::Date(0) : ze::CDate(v)); }));
    site_.Take();
    return k;
  }
  // Types into the field at caret and leaves it for the other control.
  void TypeAt(std::int32_t caret, std::u16string_view keys) {
    FocusField();
    Select(caret, 0);
    Type(keys);
    other_->SetFocus();
  }
  Variant Stored() const { return records_->Value(0, u"Data"); }
  bool Reported() const { return site_.Count("event DataNonValida") > 0; }

  std::unique_ptr<Recordset> records_;
};

// A stored text longer than ten characters: the typed digit leaves exactly the date, so
// the check, the value and the record agree on it.
TEST_F(KalendoBindingTest, ALongStoredTextTypedIntoReachesTheRecordAsItsDate) {
  Kalendo& k = Restored(u"01/01/2005 10:00");
  TypeAt(0, u"3");
  EXPECT_EQ(k.Text1.Text(), u"31/01/2005");
  EXPECT_FALSE(Reported());
  EXPECT_EQ(k.valore().serial, ze::DateSerial(2005, 1, 31).serial);
  EXPECT_EQ(Stored(), Variant(ze::DateSerial(2005, 1, 31)));
  EXPECT_TRUE(records_->Edited(0));
}

// Whatever the field ends as, the check on leaving and the record say the same: a date
// the check lets through is the date stored; a text it reports is stored as Null.
TEST_F(KalendoBindingTest, TheCheckOnLeavingAndTheRecordAgree) {
  struct Case {
    const char* name;
    const char16_t* stored;
    std::int32_t caret;
    const char16_t* keys;
    double expected;  // 0: reported invalid and stored as Null
  } cases[] = {
      {"ten characters", u"01/01/2005", 0, u"3", ze::DateSerial(2005, 1, 31).serial},
      {"long text, year typed", u"01/01/2005 10:00", 6, u"2006", ze::DateSerial(2006, 1, 1).serial},
      {"short text padded", u"1/1/2005", 0, u"1", 0},
      {"month 13", u"01/01/2005", 3, u"13", 0},
      {"year out of range", u"01/01/2005 x", 6, u"3001", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    site_.Bind(nullptr);
    TearDown();
    SetUp();
    Kalendo& k = Restored(c.stored);
    TypeAt(c.caret, c.keys);
    EXPECT_LE(k.Text1.Text().size(), 10u);
    EXPECT_EQ(Reported(), c.expected == 0);
    EXPECT_EQ(k.valore().serial, c.expected);
    EXPECT_EQ(Stored(), c.expected == 0 ? Variant::Null() : Variant(ze::Date(c.expected)));
  }
}

}  // namespace
}  // namespace zekalendo::testing
