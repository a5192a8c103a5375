#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/xml/KStorageContext.h"
#include "plugin/parameters/KRecordStorage.h"

namespace {

const char* const kModes[] = {"Soft", "Hard", "Fold"};

void Store(KParameterRecord& record, KXMLItem& xml, bool storing) {
    KStorageContext context(xml, storing);
    KRecordStorage::Store(record, context);
}

TEST(RecordStorage, EachTypeStoresUnderParameterPlusIdentifier) {
    KXMLItem xml("settings");
    KParameterRecord gain = KParameterRecord::Float("Gain", "gain", 0, 10, 2.5);
    gain.floating.value = 1.0 / 3;
    KParameterRecord steps = KParameterRecord::Integer("Steps", "steps", 0, 10, 7);
    KParameterRecord on = KParameterRecord::OnOff("On", "on", true);
    KParameterRecord mode = KParameterRecord::List("Mode", "mode", kModes, 3, 2);
    KParameterRecord header = KParameterRecord::GroupHeader("Group");
    for (KParameterRecord* r : {&gain, &steps, &on, &mode, &header}) Store(*r, xml, true);

    EXPECT_EQ(xml.Attribute("parametergain", "").ToUTF8(), "0.333333333333");  // 12 significant digits
    EXPECT_EQ(xml.Attribute("parametersteps", "").ToUTF8(), "7");              // at its default, still written
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
    steps.integer.value = 3;
    for (KParameterRecord* r : {&gain, &steps, &mode}) Store(*r, xml, false);
    EXPECT_DOUBLE_EQ(gain.floating.value, 4.25);
    EXPECT_EQ(steps.integer.value, 3);
    EXPECT_EQ(mode.list.selected, 1);
}

TEST(RecordStorage, LoadedValuesEndInsideTheirRange) {
    KXMLItem xml("settings");
    xml.SetAttribute("parametermode", "17");
    xml.SetAttribute("parametermodeEnum", "Unknown");  // no entry: the index stays
    xml.SetAttribute("parametergain", "-3");
    xml.SetAttribute("parametersteps", "99999999999");
    KParameterRecord mode = KParameterRecord::List("Mode", "mode", kModes, 3, 0);
    KParameterRecord gain = KParameterRecord::Float("Gain", "gain", 0, 10, 2.5);
    KParameterRecord steps = KParameterRecord::Integer("Steps", "steps", 0, 10, 7);
    for (KParameterRecord* r : {&gain, &steps, &mode}) Store(*r, xml, false);
    EXPECT_EQ(mode.list.selected, 2);
    EXPECT_EQ(gain.floating.value, 0);
    EXPECT_EQ(steps.integer.value, 10);

    gain.SetFloatValue(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(gain.floating.value, 0);
}

}  // namespace
