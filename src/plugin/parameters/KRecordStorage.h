#pragma once
#include "plugin/parameters/KParameterRecord.h"

class KStorageContext;

// The stored form of parameter records: one attribute per record named
// "parameter" followed by its identifier, always written; a missing
// attribute leaves the record as it is. List records also carry their entry
// text under that name with "Enum" appended, which wins on loading.
// Loaded values go through the record's setters, so they end in range.
namespace KRecordStorage {

void Store(KParameterRecord& record, KStorageContext& context);

}  // namespace KRecordStorage
