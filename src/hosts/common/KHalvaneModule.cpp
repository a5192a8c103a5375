#include "hosts/common/KHalvaneModule.h"

void KHalvaneModule::Initialize() {
    SetName("Quenlor Halvane");
    KModule::Initialize();
}
