#pragma once
#include "plugin/parameters/KParameterRecord.h"

class KXMLItem;

// The stored form of parameter records: one attribute per record named
// "parameter" followed by its identifier. List records also carry their
// entry text under that name with "Enum" appended, which wins on loading.
namespace KRecordStorage {

void Store(const KParameterRecord& record, KXMLItem& xml);
// A missing attribute leaves the record as it is.
void Load(KParameterRecord& record, const KXMLItem& xml);

}  // namespace KRecordStorage
