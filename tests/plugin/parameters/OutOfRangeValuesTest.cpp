#include <gtest/gtest.h>

#include "foundation/xml/KStorageContext.h"

#include <cmath>
#include <limits>

#include "foundation/xml/KXMLItem.h"
#include "plugin/parameters/KParameterMapping.h"
#include "plugin/parameters/KRecordStorage.h"

// Whatever a host, a stored state or a caller hands over, a record's value
// stays inside its range, and a NaN changes nothing.

namespace {

using namespace KParameterMapping;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

KParameterRecord SquaredUnit() {
    KParameterRecord record = KParameterRecord::Float("f", "f", 0, 1, 0.5);
    record.floating.scale = KScaleMode::Squared;
    return record;
}

TEST(OutOfRangeValues, HostPositionsOutside01AreHeldAtTheEnds) {
    KParameterRecord squared = SquaredUnit();
    SetFromPosition(squared, -0.5);  // squared, -0.5 would become +0.25
    EXPECT_EQ(squared.floating.value, 0.0);
    SetFromPosition(squared, 1.5);  // squared: 2.25
    EXPECT_EQ(squared.floating.value, 1.0);

    KParameterRecord integer = KParameterRecord::Integer("i", "i", 0, 10, 3);
    SetFromPosition(integer, 2.0);  // 0 + 10 * 2 = 20
    EXPECT_EQ(integer.integer.value, 10);
    SetFromPosition(integer, -1e300);
    EXPECT_EQ(integer.integer.value, 0);

    // Redirected records write the alternate value, also held in range.
    KParameterRecord redirected = KParameterRecord::Float("f", "f", 0, 1, 0.5);
    redirected.SetFlag(KParameterFlag::Redirect, true);
    SetFromPosition(redirected, 3.0);
    EXPECT_EQ(redirected.floating.alternate, 1.0);
    EXPECT_EQ(redirected.floating.value, 0.5);
}

TEST(OutOfRangeValues, NaNFromTheHostLeavesEveryRecordTypeUnchanged) {
    KParameterRecord squared = SquaredUnit();
    KParameterRecord integer = KParameterRecord::Integer("i", "i", 0, 10, 3);
    static const char* const kEntries[] = {"a", "b", "c"};
    KParameterRecord list = KParameterRecord::List("l", "l", kEntries, 3, 2);
    KParameterRecord onOff = KParameterRecord::OnOff("o", "o", true);
    for (KParameterRecord* record : {&squared, &integer, &list, &onOff}) SetFromPosition(*record, kNaN);
    EXPECT_EQ(squared.floating.value, 0.5);
    EXPECT_EQ(integer.integer.value, 3);
    EXPECT_EQ(list.list.selected, 2);
    EXPECT_EQ(onOff.onOff.value, 1);
}

TEST(OutOfRangeValues, StoredValuesOutsideTheRangeLoadHeldInside) {
    KParameterRecord phase = KParameterRecord::Float("Phase", "phase0", 0, 1, 0.1);
    KParameterRecord steps = KParameterRecord::Integer("Steps", "steps", 0, 10, 3);
    KXMLItem xml("settings");
    xml.SetAttribute("parameterphase0", "-0.3");
    xml.SetAttribute("parametersteps", "99");
    KStorageContext loading(xml, false);
    KRecordStorage::Store(phase, loading);
    KRecordStorage::Store(steps, loading);
    EXPECT_EQ(phase.floating.value, 0.0);
    EXPECT_EQ(steps.integer.value, 10);

    xml.SetAttribute("parameterphase0", "nan");
    phase.SetFloatValue(0.25);
    KRecordStorage::Store(phase, loading);
    EXPECT_EQ(phase.floating.value, 0.25);
}

TEST(OutOfRangeValues, SettersHoldValuesOfEveryOriginInTheRange) {
    KParameterRecord record = KParameterRecord::Float("f", "f", -1, 1, 0);
    record.SetFloatValue(std::numeric_limits<double>::infinity());
    EXPECT_EQ(record.floating.value, 1.0);
    record.SetFloatRunning(-7);
    EXPECT_EQ(record.floating.running, -1.0);
    record.SetFloatValue(kNaN);
    EXPECT_EQ(record.floating.value, 1.0);

    KParameterRecord integer = KParameterRecord::Integer("i", "i", -5, 5, 0);
    integer.SetIntegerValue(std::int64_t(1) << 40);  // beyond 32 bits: no wrap-around
    EXPECT_EQ(integer.integer.value, 5);

    KParameterRecord empty = KParameterRecord::List("l", "l", nullptr, 0, 0);
    empty.SetListIndex(4);
    EXPECT_EQ(empty.list.selected, 0);
}

}  // namespace
