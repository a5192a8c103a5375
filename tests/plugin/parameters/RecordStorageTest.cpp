#include <gtest/gtest.h>

#include "foundation/xml/KXMLItem.h"
#include "plugin/parameters/KRecordStorage.h"

namespace {

const char* const kModes[] = {"Soft", "Hard", "Fold"};

TEST(RecordStorage, EachTypeStoresUnderParameterPlusIdentifier) {
    KXMLItem xml("settings");
    KParameterRecord gain = KParameterRecord::Float("Gain", "gain", 0, 10, 2.5);
    gain.floating.value = 1.0 / 3;
    KParameterRecord steps = KParameterRecord::Integer("Steps", "steps", 0, 10, 7);
    KParameterRecord on = KParameterRecord::OnOff("On", "on", true);
    KParameterRecord mode = KParameterRecord::List("Mode", "mode", kModes, 3, 2);
    KParameterRecord header = KParameterRecord::GroupHeader("Group");
    for (const KParameterRecord* r : {&gain, &steps, &on, &mode, &header}) KRecordStorage::Store(*r, xml);

    EXPECT_EQ(xml.Attribute("parametergain", "").ToUTF8(), "0.333333333333");  // 12 significant digits
    EXPECT_EQ(xml.Attribute("parametersteps", "").ToUTF8(), "7");
    EXPECT_EQ(xml.Attribute("parameteron", "").ToUTF8(), "1");
    EXPECT_EQ(xml.Attribute("parametermodeEnum", "").ToUTF8(), "Fold");
    EXPECT_EQ(xml.Attributes().Count(), 5);  // the group header stores nothing
}

TEST(RecordStorage, LoadingKeepsRecordsWhoseAttributeIsMissing) {
    KXMLItem xml("settings");
    xml.SetAttribute("PARAMETERGAIN", "4.25");  // names match case-insensitively
    xml.SetAttribute("parametermodeEnum", "hard");
    xml.SetAttribute("parametermode", "0");  // the entry text wins over the index
    KParameterRecord gain = KParameterRecord::Float("Gain", "gain", 0, 10, 2.5);
    KParameterRecord steps = KParameterRecord::Integer("Steps", "steps", 0, 10, 7);
    KParameterRecord mode = KParameterRecord::List("Mode", "mode", kModes, 3, 2);
    KRecordStorage::Load(gain, xml);
    KRecordStorage::Load(steps, xml);
    KRecordStorage::Load(mode, xml);
    EXPECT_DOUBLE_EQ(gain.floating.value, 4.25);
    EXPECT_EQ(steps.integer.value, 7);
    EXPECT_EQ(mode.list.selected, 1);
}

TEST(RecordStorage, ListIndexOutOfRangeIsClamped) {
    KXMLItem xml("settings");
    xml.SetAttribute("parametermode", "17");
    KParameterRecord mode = KParameterRecord::List("Mode", "mode", kModes, 3, 0);
    KRecordStorage::Load(mode, xml);
    EXPECT_EQ(mode.list.selected, 2);
}

}  // namespace
