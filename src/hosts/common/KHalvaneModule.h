#pragma once
#include "hosts/common/KModule.h"

// This product's module: it identifies itself as "Quenlor Halvane".
class KHalvaneModule final : public KModule {
public:
    using KModule::KModule;
    void Initialize() override;
};
