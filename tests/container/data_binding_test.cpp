// Recordset moves and the binding's two directions, without any control.
#include "frame/container/data_binding.h"
#include "frame/container/memory_recordset.h"

#include <gtest/gtest.h>

#include "frame/automation/error.h"

namespace ze::container {
namespace {

TEST(Recordset, MovesAndTheEnds) {
  Recordset rs({u"Nome", u"Data"});
  EXPECT_TRUE(rs.AtEnd());
  EXPECT_THROW(rs.Field(u"Data"), AutomationError);
  rs.AddRecord({u"a", ze::Date(1)});
  rs.AddRecord({u"b"});  // a missing value is Null
  EXPECT_EQ(rs.Position(), std::optional<std::size_t>(0));
  rs.MoveNext();
  EXPECT_TRUE(rs.Field(u"data").IsNull());  // field names ignore case
  rs.MoveNext();
  EXPECT_TRUE(rs.AtEnd());
  rs.MovePrevious();
  EXPECT_EQ(rs.Field(u"Nome"), Variant(u"b"));
  rs.MoveFirst();
  rs.MovePrevious();  // before the first: no current record
  EXPECT_FALSE(rs.Position().has_value());
  rs.MoveLast();
  EXPECT_EQ(rs.Field(u"Nome"), Variant(u"b"));
  try {
    rs.Field(u"Nope");
    ADD_FAILURE();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 3265);
  }
  rs.SetReadOnly(true);
  try {
    rs.SetField(u"Nome", u"c");
    ADD_FAILURE();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 3027);
  }
}

TEST(DataBinding, RecordToPropertyAndBack) {
  Recordset rs({u"Data"});
  rs.AddRecord({u"01/01/2000"});
  rs.AddRecord({u"02/02/2000"});
  Variant property;
  int sets = 0;
  DataBinding binding(
      rs, u"Data", u"DataText", [&] { return property; },
      [&](const Variant& v) {
        ++sets;
        property = v;
        binding.PropertyChanged(u"DataText");  // the control's own notice, while set
      });
  rs.MoveFirst();
  EXPECT_EQ(property, Variant(u"01/01/2000"));
  EXPECT_FALSE(rs.Edited(0));
  property = u"31/12/1999";
  EXPECT_FALSE(binding.PropertyChanged(u"Text"));  // another property: not stored
  EXPECT_EQ(rs.Field(u"Data"), Variant(u"01/01/2000"));
  EXPECT_TRUE(binding.PropertyChanged(u"datatext"));
  EXPECT_EQ(rs.Field(u"Data"), Variant(u"31/12/1999"));
  EXPECT_TRUE(rs.Edited(0));
  EXPECT_TRUE(binding.CanPropertyChange(u"DataText"));
  rs.SetReadOnly(true);
  EXPECT_FALSE(binding.CanPropertyChange(u"DataText"));
  EXPECT_TRUE(binding.CanPropertyChange(u"Text"));
  EXPECT_EQ(sets, 1);
}

TEST(DataBinding, ABindingMayGoBeforeItsSource) {
  Recordset rs({u"Data"});
  rs.AddRecord({u"x"});
  int sets = 0;
  {
    DataBinding binding(
        rs, u"Data", u"P", [] { return Variant(); }, [&](const Variant&) { ++sets; });
    rs.MoveFirst();
  }
  rs.MoveFirst();  // the gone binding hears nothing
  EXPECT_EQ(sets, 1);
}

}  // namespace
}  // namespace ze::container
